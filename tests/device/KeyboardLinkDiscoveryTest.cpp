#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/AcceptedDeviceTable.h"
#include "device/KeyboardLink.h"
#include "support/HidFakePlatform.h"

namespace varnok {
namespace {

HidFakeDevice Keyboard(const std::string& path,
                       const std::function<void(HidFakeDevice&)>& change = {}) {
    HidFakeDevice device;
    device.path = path;
    if (change) {
        change(device);
    }
    return device;
}

HidFakeDevice Mouse(const std::string& path) {
    return Keyboard(path, [](HidFakeDevice& d) {
        d.vendorId = 0x046D;
        d.productId = 0xC077;
    });
}

struct DiscoveryCase {
    std::string name;
    std::vector<HidFakeDevice> devices;
    std::optional<HidHandle> taken;
    std::size_t collection = 0;  // the taken interface's qualifying collection
};

TEST(KeyboardLinkDiscovery, TakesTheFirstQualifyingInterfaceAndClosesTheRest) {
    std::vector<HidFakeDevice> twelve;
    for (int i = 0; i < 11; ++i) {
        twelve.push_back(Mouse("/dev/hidraw" + std::to_string(i)));
    }
    twelve.push_back(Keyboard("/dev/hidraw11"));

    const std::vector<DiscoveryCase> cases = {
        {"vendor 0x0426, product 0", {Keyboard("a", [](auto& d) { d.productId = 0; })}, 0},
        {"vendor 0x0426, product FFFF", {Keyboard("a", [](auto& d) { d.productId = 0xFFFF; })}, 0},
        {"pair of two different entries",
         {Keyboard("a",
                   [](auto& d) {
                       d.vendorId = 0x046F;
                       d.productId = 0x3201;
                   })},
         std::nullopt},
        {"neighbouring vendor",
         {Keyboard("a", [](auto& d) { d.vendorId = 0x0427; })},
         std::nullopt},
        {"7-byte reports",
         {Keyboard("a",
                   [](auto& d) {
                       d.collections = {{0xFF00, 0x0001, 7}};
                   })},
         std::nullopt},
        {"9-byte reports",
         {Keyboard("a",
                   [](auto& d) {
                       d.collections = {{0xFF00, 0x0001, 9}};
                   })},
         std::nullopt},
        {"264-byte reports",
         {Keyboard("a",
                   [](auto& d) {
                       d.collections = {{0xFF00, 0x0001, 0x108}};
                   })},
         std::nullopt},
        {"wrong length, then a keyboard",
         {Keyboard("a",
                   [](auto& d) {
                       d.collections = {{0xFF00, 0x0001, 64}};
                   }),
          Keyboard("b")},
         1},
        {"two keyboards", {Keyboard("a"), Keyboard("b")}, 0},
        {"8-byte collection after longer ones",
         {Keyboard(
             "a",
             [](auto& d) {
                 d.collections = {{0xFF01, 1, 65}, {0x000C, 1, 0}, {0xFF00, 1, 8}, {0xFF02, 1, 8}};
             })},
         0,
         2},
        {"several collections, none of 8 bytes",
         {Keyboard("a",
                   [](auto& d) {
                       d.collections = {{0xFF01, 1, 65}, {0x000C, 1, 0}};
                   })},
         std::nullopt},
        {"no collections", {Keyboard("a", [](auto& d) { d.collections.clear(); })}, std::nullopt},
        {"unreadable path skipped", {Keyboard(""), Keyboard("b")}, 1},
        {"unopenable skipped", {Keyboard("a", [](auto& d) { d.opens = false; }), Keyboard("b")}, 1},
        {"unreadable attributes skipped",
         {Keyboard("a", [](auto& d) { d.attributesReadable = false; }), Keyboard("b")},
         1},
        {"unreadable capabilities skipped",
         {Keyboard("a", [](auto& d) { d.capabilitiesReadable = false; }), Keyboard("b")},
         1},
        {"keyboard as the twelfth interface", twelve, 11},
        {"only a mouse", {Mouse("a")}, std::nullopt},
        {"no interfaces", {}, std::nullopt},
    };
    for (const DiscoveryCase& c : cases) {
        SCOPED_TRACE(c.name);
        HidFakePlatform platform(c.devices);
        KeyboardLink link(platform);
        EXPECT_EQ(link.Open(), c.taken.has_value());
        EXPECT_EQ(link.IsOpen(), c.taken.has_value());
        if (c.taken) {
            EXPECT_EQ(platform.openHandles, std::set<HidHandle>{*c.taken});
            EXPECT_EQ(platform.opened.back(), *c.taken) << "nothing is examined after it";
            const std::uint8_t byte = 0xAA;
            EXPECT_TRUE(link.WriteBlock({&byte, 1}));
            EXPECT_EQ(platform.reportTargets, std::vector<HidHandle>{*c.taken});
            ASSERT_TRUE(link.Collection().has_value());
            EXPECT_EQ(link.Collection()->index, c.collection);
            EXPECT_EQ(
                link.Collection()->collection,
                platform.devices[static_cast<std::size_t>(*c.taken)].collections[c.collection]);
            EXPECT_EQ(link.Collection()->collection.featureReportLength, 8);
        } else {
            EXPECT_TRUE(platform.openHandles.empty());
            EXPECT_EQ(link.Collection(), std::nullopt);
        }
        link.Close();
        EXPECT_TRUE(platform.openHandles.empty());
    }
}

TEST(KeyboardLinkDiscovery, AcceptsEveryListedPair) {
    for (const AcceptedDevice& accepted : AcceptedDeviceTable) {
        SCOPED_TRACE(accepted.vendorId);
        HidFakePlatform platform({Keyboard("a", [&](HidFakeDevice& d) {
            d.vendorId = accepted.vendorId;
            d.productId = accepted.productId;
        })});
        KeyboardLink link(platform);
        EXPECT_TRUE(link.Open());
    }
}

TEST(KeyboardLinkDiscovery, OpenClosedAndFailedStates) {
    HidFakePlatform platform({Keyboard("a")});
    {
        KeyboardLink link(platform);
        ASSERT_TRUE(link.Open());
        EXPECT_TRUE(link.Open());  // already open: no new search
        EXPECT_EQ(platform.enumerations, 1);
        link.Close();
        link.Close();
        EXPECT_FALSE(link.IsOpen());
        ASSERT_TRUE(link.Open());
        EXPECT_EQ(platform.enumerations, 2);
    }
    EXPECT_TRUE(platform.openHandles.empty()) << "the link closes the keyboard when destroyed";

    platform.enumerationFails = true;
    KeyboardLink link(platform);
    EXPECT_FALSE(link.Open());
    EXPECT_EQ(platform.enumerations, 3);
    EXPECT_TRUE(platform.openHandles.empty());
}

}  // namespace
}  // namespace varnok
