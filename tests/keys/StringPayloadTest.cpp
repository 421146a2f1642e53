#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "keys/CharacterTable.h"
#include "keys/StringPayload.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(StringPayload, EncodesTypableCharactersOnly) {
    const std::pair<std::string, Bytes> cases[] = {
        {"aB", {0x00, 0x04, 0xAB, 0x05}},  // capitals are the letter keys with Shift
        {"a!", {0x00, 0x04, 0xAB, 0x1E}},
        {"", {}},
        {"HW", {0xAB, 0x0B, 0xAB, 0x1A}},
        {"中文a", {0x00, 0x04}},  // Chinese is skipped whole, the rest still typed
        {"é1", {0x00, 0x1E}},
        {"-_", {0x00, 0x56, 0xAB, 0x2D}},  // keypad minus; underscore is Shift + main-row minus
        {"{:?}", {0xAB, 0x2F, 0xAB, 0x33, 0xAB, 0x38, 0xAB, 0x30}},
        {"*+ \t", {0x00, 0x55, 0x00, 0x57, 0x00, 0x2C, 0x00, 0x2B}},
        {"abcdefghijklmno",  // 15 characters: the 15th does not fit
         {0x00, 0x04, 0x00, 0x05, 0x00, 0x06, 0x00, 0x07, 0x00, 0x08, 0x00, 0x09, 0x00, 0x0A,
          0x00, 0x0B, 0x00, 0x0C, 0x00, 0x0D, 0x00, 0x0E, 0x00, 0x0F, 0x00, 0x10, 0x00, 0x11}},
    };
    for (const auto& [text, payload] : cases) {
        EXPECT_EQ(EncodeStringPayload(text), payload) << text;
    }
}

TEST(StringPayload, DecodesWhatItCanAndIgnoresTheRest) {
    const std::pair<Bytes, std::string> cases[] = {
        {{0x00, 0x04, 0xAB, 0x1E}, "a!"},
        {{0xAB, 0x0B, 0x00, 0x08, 0xAB, 0x1D}, "HeZ"},  // Shift + letter reads back as the capital
        {{0x00, 0x04, 0xAB}, "a"},                      // odd trailing byte
        {{0xAB, 0x2C, 0x00, 0x05}, "b"},              // Shift + Space types no character of its own
        {{0x00, 0x00, 0x00, 0xE0, 0x00, 0x06}, "c"},  // usage 0 and a modifier name no character
        {{0x00, 0x2D, 0xAB, 0x2D}, "-_"},             // what the keyboard types for the minus key
        {{0x00, 0x59, 0x00, 0x62}, "10"},             // keypad digits
        {{0x17, 0x04}, "a"},                          // any marker but AB is plain
        {{}, ""},
    };
    for (const auto& [payload, text] : cases) {
        EXPECT_EQ(DecodeStringPayload(payload), text) << text;
    }
}

// A read-back row must be able to say when the keyboard types more than its text shows.
TEST(StringPayload, TellsWhetherEveryPairIsACharacter) {
    const std::pair<Bytes, bool> cases[] = {
        {{0xAB, 0x0B, 0x00, 0x08}, true},
        {{}, true},
        {{0x00, 0x04, 0x00, 0x3A}, false},  // F1 types no character
        {{0x00, 0xE1, 0x00, 0x04}, false},  // nor does Shift alone
        {{0xAB, 0x2C}, false},              // Shift + Space has no character of its own
        {{0x00, 0x04, 0xAB}, false},        // a byte left over
    };
    for (const auto& [payload, whole] : cases) {
        EXPECT_EQ(PayloadIsAllCharacters(payload), whole) << testing::PrintToString(payload);
    }
}

// Every character a string key can hold must come back from the keyboard as itself.
TEST(StringPayload, EveryTypableCharacterComesBackAsItself) {
    std::set<char32_t> characters;
    for (const CharacterRow& row : CharacterTable) {
        characters.insert(row.plain);
        if (row.shifted != kNoCharacter) characters.insert(row.shifted);
    }

    std::string text;
    for (char32_t character : characters) {
        ASSERT_LT(character, 0x80u) << "payload texts are walked byte by byte";
        text += static_cast<char>(character);
    }
    for (std::size_t start = 0; start < text.size(); start += 14) {
        const std::string chunk = text.substr(start, 14);
        const Bytes payload = EncodeStringPayload(chunk);
        EXPECT_EQ(payload.size(), 2 * chunk.size());
        EXPECT_EQ(DecodeStringPayload(payload), chunk);
    }
}

}  // namespace
}  // namespace varnok
