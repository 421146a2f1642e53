#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <tuple>

#include "device/AcceptedDeviceTable.h"

namespace varnok {
namespace {

// The rule the package installs, named by the build (a cached compiler may give __FILE__ as a
// path relative to another folder).
const std::filesystem::path kRules = VARNOK_UDEV_RULES;

using Pair = std::tuple<std::uint16_t, std::uint16_t, bool>;  // vendor, product, any product

// Each rule must name hidraw nodes and input event nodes (no other node), grant them to the seat's
// user, and spell the ids as the kernel names the node's HID device (a lower-case digit or a "0x"
// prefix would never match); together the rules must cover exactly the devices the keyboard link
// accepts.
TEST(UdevRule, GrantsEveryAcceptedKeyboardAndNothingElse) {
    std::ifstream file(kRules);
    ASSERT_TRUE(file) << kRules;
    // BUS:VENDOR:PRODUCT.INSTANCE, with "????" for any product of the vendor.
    const std::regex hidDevice(
        R"re(KERNELS=="\?\?\?\?:([0-9A-F]{4}):([0-9A-F]{4}|\?\?\?\?)\.\*")re");

    std::set<Pair> granted;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(line);
        std::smatch ids;
        ASSERT_TRUE(std::regex_search(line, ids, hidDevice));
        EXPECT_NE(line.find(R"(SUBSYSTEM=="hidraw|input", KERNEL=="hidraw*|event*")"),
                  std::string::npos);
        EXPECT_NE(line.find(R"(SUBSYSTEMS=="hid")"), std::string::npos);
        EXPECT_NE(line.find(R"(TAG+="uaccess")"), std::string::npos);
        const bool anyProduct = ids[2].str() == "????";
        granted.emplace(std::stoi(ids[1].str(), nullptr, 16),
                        anyProduct ? 0 : std::stoi(ids[2].str(), nullptr, 16), anyProduct);
    }

    std::set<Pair> accepted;
    for (const AcceptedDevice& device : AcceptedDeviceTable) {
        accepted.emplace(device.vendorId, device.anyProduct ? 0 : device.productId,
                         device.anyProduct);
    }
    EXPECT_EQ(granted, accepted);
}

}  // namespace
}  // namespace varnok
