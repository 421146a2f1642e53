#include "app/cli/KeyboardListing.h"

#include "device/AcceptedDeviceTable.h"
#include "device/HidPlatform.h"

namespace varnok {

namespace {

constexpr std::uint16_t kKeyboardFeatureReportLength = 8;
// The keyboard link's discovery looks no further.
constexpr std::size_t kInterfacesSearched = 10;

}  // namespace

std::vector<ListedInterface> ListKeyboardInterfaces(HidPlatform& hid,
                                                    const UnopenedDiagnosis& diagnose) {
    std::vector<ListedInterface> listed;
    const auto interfaces = hid.EnumerateInterfaces();
    if (!interfaces) return listed;
    for (std::size_t index = 0; index < interfaces->size(); ++index) {
        const HidInterface& hidInterface = (*interfaces)[index];
        if (hidInterface.path.empty()) continue;
        const HidHandle handle = hid.Open(hidInterface.path);
        if (handle == kNoHidHandle) {
            const auto unopened = diagnose ? diagnose(hidInterface.path) : std::nullopt;
            if (unopened && IsAcceptedDevice(unopened->vendorId, unopened->productId)) {
                listed.push_back({hidInterface.path, unopened->vendorId, unopened->productId, false,
                                  unopened->problem, unopened->advice});
            }
            continue;
        }
        // The device's other interfaces (its typing keys, its mouse) share the ids but not the
        // 8-byte feature reports; they are not the keyboard this program configures.
        ListedInterface entry;
        entry.node = hidInterface.path;
        std::uint16_t length = 0;
        if (hid.GetAttributes(handle, entry.vendorId, entry.productId) &&
            IsAcceptedDevice(entry.vendorId, entry.productId) &&
            hid.GetFeatureReportLength(handle, length) && length == kKeyboardFeatureReportLength) {
            entry.usable = index < kInterfacesSearched;
            if (!entry.usable) {
                entry.problem = "it is HID interface " + std::to_string(index + 1) +
                                " of the system, and Varnok looks at the first " +
                                std::to_string(kInterfacesSearched) + " only";
                entry.advice = "unplug other HID devices, or plug the keyboard in before them";
            }
            listed.push_back(entry);
        }
        hid.Close(handle);
    }
    return listed;
}

}  // namespace varnok
