#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "keys/StringPayload.h"
#include "keys/TypableString.h"
#include "keys/linux/XkbKeyboardLayout.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Layouts compiled from the system's own layout data: what a string key presses for a text,
// what it refuses and why, and that the keys read back as the text on the same layout.
TEST(XkbKeyboardLayout, EncodesRefusesAndDecodesOnRealLayouts) {
    struct Case {
        const char* layout;
        std::string text;
        Bytes payload;  // for the typed part of the text
        std::string refusal;
    };
    const Case cases[] = {
        {"us", "yz@\"*", {0x00, 0x1C, 0x00, 0x1D, 0xAB, 0x1F, 0xAB, 0x34, 0x00, 0x55}, ""},
        {"de", "yz", {0x00, 0x1D, 0x00, 0x1C}, ""},
        {"de", "Zä<>ß", {0xAB, 0x1C, 0x00, 0x34, 0x00, 0x64, 0xAB, 0x64, 0x00, 0x2D}, ""},
        {"de",
         "a@b",
         {0x00, 0x04, 0x00, 0x05},
         "\"@\" needs AltGr on German (de), which a string key cannot press."},
        {"de",
         "^",
         {},
         "\"^\" needs a dead key or a compose sequence on German (de), which a "
         "string key cannot press."},
        {"fr", "a1q", {0x00, 0x14, 0xAB, 0x1E, 0x00, 0x04}, ""},
        {"fr", "é&", {0x00, 0x1F, 0x00, 0x1E}, ""},
        // # and ~ sit on the ISO key beside Enter, which the system reads as usage 0x31 too.
        {"gb", "@\"#~£", {0xAB, 0x34, 0xAB, 0x1F, 0x00, 0x31, 0xAB, 0x31, 0xAB, 0x20}, ""},
        {"gb", "€", {}, "\"€\" needs AltGr on English (UK) (gb), which a string key cannot press."},
        {"us(dvorak)", "aoe", {0x00, 0x04, 0x00, 0x16, 0x00, 0x07}, ""},
        {"us(dvorak)", "Q'", {0xAB, 0x1B, 0x00, 0x14}, ""},
        {"ru",
         "привет",
         {0x00, 0x0A, 0x00, 0x0B, 0x00, 0x05, 0x00, 0x07, 0x00, 0x17, 0x00, 0x11},
         ""},
        {"ru", "q", {}, "\"q\" is on no key of Russian (ru)."},
        {"us(intl)",
         "a'",
         {0x00, 0x04},
         "\"'\" needs a dead key or a compose sequence on English (US, intl., with dead keys) "
         "(us(intl)), which a string key cannot press."},
        {"us(intl)",
         "\"",
         {},
         "\"\"\" needs a dead key or a compose sequence on English (US, "
         "intl., with dead keys) (us(intl)), which a string key cannot "
         "press."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " " + c.text);
        std::string error;
        const auto layout = CompileXkbLayout(c.layout, error);
        ASSERT_NE(layout, nullptr) << error;
        const TypableString check = CheckTypableString(c.text, *layout);
        EXPECT_EQ(StringRefusalText(check, 0), c.refusal);
        const Bytes payload = EncodeStringPayload(c.text, *layout);
        EXPECT_EQ(payload, c.payload);
        EXPECT_EQ(DecodeStringPayload(payload, *layout), check.typed);
        EXPECT_TRUE(PayloadIsAllCharacters(payload, *layout));
    }
}

TEST(XkbKeyboardLayout, RefusesNamesTheLayoutDataDoesNotKnow) {
    for (const char* name : {"", "xx", "de(", "de()", "us(nope)", "de,us", "../de"}) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_EQ(CompileXkbLayout(name, error), nullptr);
        EXPECT_NE(error.find(std::string("\"") + name + "\""), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace varnok
