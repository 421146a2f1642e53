#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "keys/ProfileJson.h"

namespace varnok {
namespace {

std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(VARNOK_CLI_FIXTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The documented example: every kind of key, keys out of order, a Chinese function name.
const Profile kExample = {
    1,
    4,
    {
        {0, 0, "Mouse Left   Click", {0x04, 0x81, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}},
        {1, 0, "Ctrl|C|,", {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}},
        {2, 2, "ls -l!", {0x00, 0x0F, 0x00, 0x16, 0x00, 0x2C, 0x00, 0x56, 0x00, 0x0F, 0xAB, 0x1E}},
        {3, 1, "Close Window", {0x01, 0x04, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00}},
        {4, 1, "", {}},
        {5, 0, "Default", {0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {6, 2, "", {}},
    },
    "",
};

TEST(ProfileJson, ReadsTheDocumentedFormatAndWritesWhatItReadsBack) {
    std::string error;
    const auto read = ReadProfileJson(ReadFixture("profile-v1.json"), error);
    ASSERT_TRUE(read.has_value()) << error;
    EXPECT_EQ(*read, kExample);

    const std::string written = WriteProfileJson(kExample);
    EXPECT_NE(written.find("\"function\": \"Once\""), std::string::npos) << written;
    const auto again = ReadProfileJson(written, error);
    ASSERT_TRUE(again.has_value()) << error;
    EXPECT_EQ(*again, kExample);
}

// One key entry put into an otherwise sound profile.
std::string WithKeys(const std::string& keys, const std::string& version = "1") {
    return R"({"format": "varnok-profile", "version": )" + version +
           R"(, "language": "English", "keyCount": 6, "keys": [)" + keys + "]}";
}

TEST(ProfileJson, MalformedProfilesAreRefusedWithThePlaceAndReason) {
    const std::string fixture = ReadFixture("profile-v1.json");
    const std::string typed =
        R"({"key": 1, "function": "String", "text": "ab", "definition": "00 04 00 05"})";
    std::string thirtyBytes = "01";
    for (int i = 1; i < 30; ++i) thirtyBytes += " 00";
    const std::pair<std::string, std::string> cases[] = {
        {fixture.substr(0, 200), "line 7, column 99: not valid JSON"},
        {"", "line 1, column 1: not valid JSON"},
        {R"({"version": 1e999})", "not valid JSON: a number out of range"},
        {WithKeys("", "2"), "version: unknown version 2; this Varnok reads version 1"},
        {R"({"version": 1})", "format: this is no Varnok profile"},
        {WithKeys(
             R"({"key": 9, "function": "Normal", "text": "A|,", "definition": "01 00 00 04 00 00 00 00"})"),
         "keys[0].key: 9 is no key"},
        {WithKeys(R"({"key": 1, "function": "Normal", "text": ")" + std::string(40, 'x') +
                  R"(", "definition": "01 00 00 04 00 00 00 00"})"),
         "keys[0].text: the text takes 40 bytes; msmap.dat keeps at most 25"},
        {WithKeys(R"({"key": 1, "function": "Normal", "text": "A|,", "definition": ")" +
                  thirtyBytes + R"("})"),
         "keys[0].definition: 30 bytes; a key report has 8"},
        {WithKeys(R"({"key": 1, "function": "String", "text": "café", "definition": ""})"),
         "keys[0].text: The keyboard has no key for \"é\"."},
        {WithKeys(
             R"({"key": 1, "function": "String", "text": "abcdefghijklmno", "definition": ""})"),
         "keys[0].text: A string key holds at most 14 characters."},
        {WithKeys(R"({"key": 1, "function": "String", "text": "日本", "definition": ""})"),
         "keys[0].text: The keyboard has no key for \"日\"."},
        {WithKeys(typed + ", " + typed), "keys[1].key: key 1 appears twice"},
        // A member given twice is no choice between the two.
        {WithKeys(typed).substr(0, WithKeys(typed).size() - 1) + R"(, "keys": []})",
         "keys: the member appears twice"},
        {WithKeys(typed +
                  R"(, {"key": 2, "text": "", "key": 3, "function": "Normal", "definition": ""})"),
         "keys[1].key: the member appears twice"},
        {WithKeys(R"({"key": 1, "function": "String", "text": "ab", "definition": "00 04"})"),
         "keys[0].definition: is not the payload of the text \"ab\""},
        {WithKeys(R"({"key": 1, "function": "Twice", "text": "", "definition": ""})"),
         "keys[0].function: \"Twice\" is no function"},
        {WithKeys(R"({"key": 0, "function": "Once", "text": "", "definition": ""})"),
         "keys[0].function: the hidden key 0 is always Normal"},
        {WithKeys(R"({"key": 1, "function": "Normal", "text": "A|,", "definition": "1 2"})"),
         "keys[0].definition: expected bytes in hex"},
        {WithKeys(R"({"key": 1, "function": "Normal", "text": "A|,", "definition": ""})"),
         "keys[0]: a key with a text needs its definition"},
        {WithKeys(R"({"key": "1", "function": "Normal", "text": "", "definition": ""})"),
         "keys[0].key: expected a whole number"},
        {WithKeys(R"({"key": 1, "function": "Normal", "text": ""})"),
         "keys[0]: \"definition\" is missing"},
        {WithKeys(R"({"key": 1, "fucntion": "Normal", "text": "", "definition": ""})"),
         "keys[0]: unknown member \"fucntion\""},
        {R"({"format": "varnok-profile", "version": 1, "language": "English", "keyCount": 7, "keys": []})",
         "keyCount: expected 1 to 6"},
        // Numbers past what a signed one holds, as they are written.
        {R"({"format": "varnok-profile", "version": 1, "language": "English", "keyCount": 18446744073709551615, "keys": []})",
         "keyCount: expected 1 to 6 keys shown, not 18446744073709551615"},
        {WithKeys("", "4294967297"), "version: unknown version 4294967297"},
        {WithKeys(R"({"key": -1, "function": "Normal", "text": "", "definition": ""})"),
         "keys[0].key: -1 is no key"},
        // A C1 control in a label; in a String key, what the keyboard has no key for.
        {WithKeys(
             R"({"key": 1, "function": "Normal", "text": "A\u0085", "definition": "01 00 00 04 00 00 00 00"})"),
         "keys[0].text: the text holds the control character U+0085"},
        {WithKeys(R"({"key": 1, "function": "String", "text": "a\u0000", "definition": ""})"),
         "keys[0].text: The keyboard has no key for \"U+0000\"."},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        std::string error;
        EXPECT_FALSE(ReadProfileJson(text, error).has_value());
        EXPECT_EQ(error.substr(0, expected.size()), expected);
    }
}

// Tab, Esc and Delete are keys a String key types: a profile with them, as export writes it,
// imports.
TEST(ProfileJson, AStringKeyTypesTabEscAndDelete) {
    std::string error;
    const auto read = ReadProfileJson(
        WithKeys(
            R"({"key": 1, "function": "String", "text": "a\t\u001b\u007f", "definition": "00 04 00 2B 00 29 00 63"})"),
        error);
    ASSERT_TRUE(read.has_value()) << error;
    EXPECT_EQ(read->keys.at(0).text, "a\t\x1b\x7f");
}

}  // namespace
}  // namespace varnok
