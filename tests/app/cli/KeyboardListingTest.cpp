#include <gtest/gtest.h>

#include "app/cli/KeyboardListing.h"
#include "support/HidFakePlatform.h"

namespace varnok {
namespace {

std::vector<HidFakeDevice> Devices(std::size_t count) {
    std::vector<HidFakeDevice> devices(count);
    for (std::size_t i = 0; i < count; ++i) {
        devices[i].path = "/dev/hidraw" + std::to_string(i);
        devices[i].vendorId = 0x046D;  // not the keyboard
    }
    return devices;
}

// list walks every interface: the keyboard's configuration interfaces are listed, its other
// interfaces and other devices are not, the ones that refuse to open are listed with what the
// platform knows of them, and a keyboard past the link's ten interfaces is listed as unusable.
TEST(KeyboardListing, ListsTheKeyboardsAndTheOnesThatCannotBeUsed) {
    std::vector<HidFakeDevice> devices = Devices(12);
    devices[1].vendorId = 0x0426;  // the keyboard
    devices[2].vendorId = 0x0426;  // its typing interface: other reports
    devices[2].collections = {{0x0001, 0x0006, 0}};
    devices[3].opens = false;  // the keyboard, refusing this user
    devices[3].listsIds = true;
    devices[3].vendorId = 0x0426;
    devices[3].productId = 0x5601;
    devices[4].opens = false;  // another device, refusing too
    devices[4].listsIds = true;
    devices[11].vendorId = 0x03F9;  // a keyboard the link does not reach
    devices[11].productId = 0x3201;
    HidFakePlatform hid(devices);
    hid.error = {"Permission denied", "errno 13"};

    int asked = 0;
    const std::vector<ListedInterface> listed = ListKeyboardInterfaces(hid, [&] {
        ++asked;
        return std::string("rule");
    });

    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].node, "/dev/hidraw1");
    EXPECT_TRUE(listed[0].usable);
    EXPECT_EQ(listed[1].node, "/dev/hidraw3");
    EXPECT_FALSE(listed[1].usable);
    EXPECT_EQ(listed[1].productId, 0x5601);
    EXPECT_EQ(listed[1].problem, "it cannot be opened: Permission denied (errno 13)");
    EXPECT_EQ(listed[1].advice, "rule");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(listed[2].node, "/dev/hidraw11");
    EXPECT_FALSE(listed[2].usable);
    EXPECT_NE(listed[2].problem.find("interface 12"), std::string::npos) << listed[2].problem;
    EXPECT_TRUE(hid.openHandles.empty());
}

}  // namespace
}  // namespace varnok
