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

const std::filesystem::path kRules =
    std::filesystem::path(__FILE__).parent_path() / "../../../resources/udev/70-varnok.rules";

using Pair = std::tuple<std::uint16_t, std::uint16_t, bool>;  // vendor, product, any product

// Each rule must name hidraw nodes, grant them to the seat's user, and spell the ids as udev
// compares them (a "0x" prefix or upper-case digits would never match); together the rules
// must cover exactly the devices the keyboard link accepts.
TEST(UdevRule, GrantsEveryAcceptedKeyboardAndNothingElse) {
    std::ifstream file(kRules);
    ASSERT_TRUE(file) << kRules;
    const std::regex vendorKey(R"re(ATTRS\{idVendor\}=="([^"]*)")re");
    const std::regex productKey(R"re(ATTRS\{idProduct\}=="([^"]*)")re");
    const std::regex udevId("[0-9a-f]{4}");

    std::set<Pair> granted;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(line);
        std::smatch vendor;
        std::smatch product;
        ASSERT_TRUE(std::regex_search(line, vendor, vendorKey));
        ASSERT_TRUE(std::regex_match(vendor[1].str(), udevId));
        const bool anyProduct = !std::regex_search(line, product, productKey);
        if (!anyProduct) {
            ASSERT_TRUE(std::regex_match(product[1].str(), udevId));
        }
        EXPECT_NE(line.find(R"(SUBSYSTEM=="hidraw")"), std::string::npos);
        EXPECT_NE(line.find(R"(TAG+="uaccess")"), std::string::npos);
        granted.emplace(std::stoi(vendor[1].str(), nullptr, 16),
                        anyProduct ? 0 : std::stoi(product[1].str(), nullptr, 16), anyProduct);
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
