#include <gtest/gtest.h>

#include "keys/linux/SystemKeyboardSetting.h"

namespace varnok {
namespace {

// The layout of the system's keyboard setting, as an XKB name the layout list and the
// layout compiler take.
TEST(SystemKeyboardSettingTest, NamesTheFirstLayoutWithItsVariant) {
    struct Case {
        std::string text;
        std::string layout;
    };
    const Case cases[] = {
        {"XKBMODEL=\"pc105\"\nXKBLAYOUT=\"de\"\nXKBVARIANT=\"\"\n", "de"},
        {"XKBLAYOUT=us\nXKBVARIANT=dvorak\n", "us(dvorak)"},
        {"XKBLAYOUT=\"fr,us\"\nXKBVARIANT=\",\"\n", "fr"},
        {"  XKBLAYOUT='gb' # the office\n", "gb"},
        {"# XKBLAYOUT=\"de\"\nXKBMODEL=pc105\n", ""},
        {"XKBLAYOUT=\"de", "de"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(KeyboardSettingLayout(c.text), c.layout);
    }
    EXPECT_EQ(SystemKeyboardSetting("/nonexistent/keyboard"), "");
}

}  // namespace
}  // namespace varnok
