#include "app/cli/KeyboardListing.h"

#include "device/AcceptedDeviceTable.h"
#include "device/HidPlatform.h"
#include "device/KeyboardLink.h"

namespace varnok {

namespace {

// The keyboard link's discovery looks no further.
constexpr std::size_t kInterfacesSearched = 10;

}  // namespace

std::vector<ListedInterface> ListKeyboardInterfaces(HidPlatform& hid,
                                                    const std::function<std::string()>& advice) {
    std::vector<ListedInterface> listed;
    const auto interfaces = hid.EnumerateInterfaces();
    if (!interfaces) return listed;
    std::optional<std::string> adviceGiven;
    for (std::size_t index = 0; index < interfaces->size(); ++index) {
        const HidInterface& hidInterface = (*interfaces)[index];
        if (hidInterface.path.empty()) continue;
        const HidHandle handle = hid.Open(hidInterface.path);
        if (handle == kNoHidHandle) {
            const auto& ids = hidInterface.ids;
            if (ids && IsAcceptedDevice(ids->first, ids->second)) {
                if (!adviceGiven) adviceGiven = advice ? advice() : std::string();
                ListedInterface entry;
                entry.node = hidInterface.path;
                entry.vendorId = ids->first;
                entry.productId = ids->second;
                entry.problem = "it cannot be opened: " + DescribeHidError(hid.LastError());
                entry.advice = *adviceGiven;
                listed.push_back(entry);
            }
            continue;
        }
        // The device's other interfaces (its typing keys, its mouse) share the ids but not the
        // 8-byte feature reports; they are not the keyboard this program configures.
        ListedInterface entry;
        entry.node = hidInterface.path;
        std::vector<HidCollection> collections;
        if (hid.GetAttributes(handle, entry.vendorId, entry.productId) &&
            IsAcceptedDevice(entry.vendorId, entry.productId) &&
            hid.GetCollections(handle, collections)) {
            entry.collection = KeyboardLink::FindQualifyingCollection(collections);
        }
        if (entry.collection) {
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
