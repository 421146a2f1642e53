#include <gtest/gtest.h>

#include "device/KeyboardLink.h"
#include "device/win/SetupApiHidPlatform.h"

namespace varnok {
namespace {

// What can be tested without the keyboard: the system's HID list can be had, nothing in it is
// taken for the keyboard, and what is not open refuses every report.
TEST(SetupApiHidPlatform, FindsNoKeyboardWhereThereIsNone) {
    SetupApiHidPlatform platform;
    const auto interfaces = platform.EnumerateInterfaces();
    ASSERT_TRUE(interfaces.has_value());

    KeyboardLink link(platform);
    EXPECT_FALSE(link.Open());

    EXPECT_EQ(platform.Open(""), kNoHidHandle);
    EXPECT_EQ(platform.Open("\\\\?\\hid#no-such-device#0"), kNoHidHandle);
    FeatureReport report{0x06};
    std::uint16_t vendor = 0, product = 0;
    std::vector<HidCollection> collections;
    EXPECT_FALSE(platform.SetFeature(0, report));
    EXPECT_FALSE(platform.GetFeature(0, report));
    EXPECT_FALSE(platform.GetAttributes(0, vendor, product));
    EXPECT_FALSE(platform.GetCollections(0, collections));
    platform.Close(0);
}

}  // namespace
}  // namespace varnok
