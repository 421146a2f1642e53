#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/HexBytes.h"
#include "device/KeyboardLink.h"
#include "device/SimulatedKeyboard.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"

namespace varnok {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

std::vector<std::uint8_t> Bytes(const std::string& hex) {
    auto bytes = ParseHexBytes(hex);
    EXPECT_TRUE(bytes) << hex;
    return bytes.value_or(std::vector<std::uint8_t>{});
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    return FormatHexBytes(bytes);
}

// Reads reports of one page through the link and returns their data bytes d0..d6.
std::vector<std::string> ReadPage(KeyboardLink& link, std::uint8_t page, int reports) {
    std::vector<std::string> data;
    for (int i = 0; i < reports; ++i) {
        FeatureReport buffer{};
        EXPECT_TRUE(link.ReadPage(page, &buffer));
        data.push_back(Hex(std::span(buffer).subspan(1)));
    }
    return data;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(SimulatedKeyboard, AnswersPageReadsWithWhatItStored) {
    struct Case {
        std::string name;
        std::string record;  // empty: nothing written
        std::vector<std::string> reports;
    };
    const std::vector<Case> cases = {
        {"never written", "", {"FF FF FF FF FF FF FF", "FF FF FF FF FF FF FF"}},
        {"empty record", "02 00 FF", {"FF FF FF FF FF FF FF"}},
        {"keyboard report",
         "02 08 01 45 00 3D 04 00 00 00 FF",
         {"45 00 3D 04 00 00 00", "FF FF FF FF FF FF FF"}},
        {"mouse report", "02 08 04 81 00 00 00 00 00 FF FF", {"81 00 00 00 00 00 FF"}},
        {"empty string", "02 00 08 FF", {"00 08 00 00 00 00 00", "FF FF FF FF FF FF FF"}},
        {"string of 8 bytes, length equal to the marker",
         "02 08 08 00 04 AB 1E 00 05 00 06 FF",
         {"08 08 00 04 AB 1E 00", "05 00 06 00 00 00 00", "FF FF FF FF FF FF FF"}},
        {"string of 12 bytes",
         "02 0C 08 00 04 00 05 00 06 00 07 00 08 00 09 FF",
         {"0C 08 00 04 00 05 00", "06 00 07 00 08 00 09", "FF FF FF FF FF FF FF"}},
        {"string of 28 bytes",
         "02 1C 08 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 "
         "1A 1B 1C FF",
         {"1C 08 01 02 03 04 05", "06 07 08 09 0A 0B 0C", "0D 0E 0F 10 11 12 13",
          "14 15 16 17 18 19 1A", "1B 1C 00 00 00 00 00", "FF FF FF FF FF FF FF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clock;
        SimulatedKeyboard keyboard(clock);
        KeyboardLink link(keyboard);
        ASSERT_TRUE(link.Open());
        if (!c.record.empty()) {
            EXPECT_TRUE(link.WriteBlock(Bytes(c.record)));
            EXPECT_EQ(Hex(keyboard.Table().Record(2)), c.record);
        }
        EXPECT_THAT(ReadPage(link, 2, static_cast<int>(c.reports.size())),
                    ElementsAreArray(c.reports));
        EXPECT_EQ(keyboard.DroppedRecords(), 0);
    }
}

TEST(SimulatedKeyboard, DropsMalformedRecordsWholeAndKeepsWhatTheSlotHeld) {
    const std::string good = "02 08 01 01 00 06 00 00 00 00 FF";
    struct Case {
        std::string name;
        std::vector<std::string> blocks;
        std::string slot2;
        int dropped;
    };
    const std::vector<Case> cases = {
        {"slot 7", {good, "07 00 FF"}, good, 1},
        {"unknown length byte", {good, "02 05 01 01 00 FF"}, good, 1},
        {"no FF at the end", {good, "02 08 01 01 00 07 00 00 00 00 00"}, good, 1},
        {"empty record without FF", {good, "02 00 00"}, good, 1},
        {"string longer than 28 bytes, its tail looking like records",
         {good,
          "02 1E 08 02 00 FF 00 02 00 FF 00 02 00 FF 00 02 00 FF 00 02 00 FF 00 02 00 FF 00 02 "
          "00 FF 00 00 FF"},
         good,
         1},
        {"good record after a dropped one", {"02 04 FF", good}, good, 1},
        {"end record with a bad second byte", {good, "AA 00"}, good, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clock;
        SimulatedKeyboard keyboard(clock);
        KeyboardLink link(keyboard);
        ASSERT_TRUE(link.Open());
        for (const std::string& block : c.blocks) {
            EXPECT_TRUE(link.WriteBlock(Bytes(block)));
        }
        EXPECT_EQ(Hex(keyboard.Table().Record(2)), c.slot2);
        for (std::uint8_t slot : {0, 1, 3, 4, 5, 6}) {
            EXPECT_TRUE(keyboard.Table().Record(slot).empty()) << int{slot};
        }
        EXPECT_EQ(keyboard.DroppedRecords(), c.dropped);
    }
}

TEST(SimulatedKeyboard, ARecordCutOffByAClosedLinkDoesNotSwallowTheNextSession) {
    VirtualClock clock;
    SimulatedKeyboard keyboard(clock);
    KeyboardLink link(keyboard);
    ASSERT_TRUE(link.Open());
    keyboard.RefuseSet(2);
    EXPECT_FALSE(link.WriteBlock(Bytes("03 08 01 01 00 06 00 00 00 00 FF")));
    ASSERT_TRUE(link.Open());
    EXPECT_TRUE(link.WriteBlock(Bytes("01 00 FF")));
    EXPECT_TRUE(link.WriteBlock(Bytes("AA FF")));
    EXPECT_EQ(Hex(keyboard.Table().Record(1)), "01 00 FF");
    EXPECT_TRUE(keyboard.Table().Record(3).empty());
    EXPECT_EQ(keyboard.CompletedSaves(), 1);
}

TEST(SimulatedKeyboard, KeyTableFileRoundTrips) {
    TempDirectory directory;
    const auto path = directory.Path() / "keyboard.txt";
    VirtualClock clock;
    std::string error;
    const std::vector<std::string> records = {"05 08 01 44 00 3D 00 00 00 00 FF", "00 00 FF",
                                              "03 04 08 00 04 AB 1E FF"};
    {
        auto keyboard = SimulatedKeyboard::FromFile(path, clock, error);
        ASSERT_TRUE(keyboard) << error;
        KeyboardLink link(*keyboard);
        ASSERT_TRUE(link.Open());
        for (const std::string& record : records) {
            EXPECT_TRUE(link.WriteBlock(Bytes(record)));
        }
        // Written after every record, not only at the end of a save.
        EXPECT_THAT(ReadFile(path), HasSubstr("05 08 01 44 00 3D 00 00 00 00 FF\n"));
    }
    EXPECT_EQ(ReadFile(path),
              "# Key table of the simulated keyboard: one record per slot, in hex.\n"
              "00 00 FF\n"
              "03 04 08 00 04 AB 1E FF\n"
              "05 08 01 44 00 3D 00 00 00 00 FF\n");
    auto reloaded = SimulatedKeyboard::FromFile(path, clock, error);
    ASSERT_TRUE(reloaded) << error;
    KeyboardLink link(*reloaded);
    EXPECT_THAT(ReadPage(link, 3, 1), ElementsAreArray({"04 08 00 04 AB 1E 00"}));
    EXPECT_THAT(ReadPage(link, 5, 1), ElementsAreArray({"44 00 3D 00 00 00 00"}));
}

TEST(SimulatedKeyboard, MalformedKeyTableFilesGiveAClearError) {
    struct Case {
        std::string text;
        std::string error;  // empty: the file loads
    };
    std::string longString = "01 1D 08";  // one payload byte more than the keyboard holds
    for (int i = 0; i < 29; ++i) {
        longString += " 00";
    }
    const std::vector<Case> cases = {
        {"", ""},
        {longString + " FF\n", "line 1: not a key record"},
        {"# comment\n\n  \r\n01 00 ff\r\n  02 08 01 01 00 06 00 00 00 00 FF  \n", ""},
        {"01 00 FF\n02 08 01\n", "line 2: not a key record"},
        {"0G 00 FF\n", "line 1: expected two-digit hex bytes"},
        {"1 00 FF\n", "line 1: expected two-digit hex bytes"},
        {"010 0FF\n", "line 1: expected two-digit hex bytes"},
        {"01,00,FF\n", "line 1: expected two-digit hex bytes"},
        {"07 00 FF\n", "line 1: not a key record"},
        {"AA FF\n", "line 1: not a key record"},
        {"01 00 FF 00\n", "line 1: not a key record"},
        {"01 00 FF\n#\n01 00 08 FF\n", "line 3: a second record for slot 1"},
        // Lines that end in a lone CR are lines all the same, counted as such.
        {"# c\r01 00 FF\r01 00 08 FF\r", "line 3: a second record for slot 1"},
        {"01 00 FF\r\r\n02 08 01\r", "line 3: not a key record"},
        {std::string("01 00 FF\0\n", 10), "line 1: expected two-digit hex bytes"},
    };
    TempDirectory directory;
    const auto path = directory.Path() / "keyboard.txt";
    VirtualClock clock;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(path, c.text);
        std::string error;
        auto keyboard = SimulatedKeyboard::FromFile(path, clock, error);
        EXPECT_EQ(keyboard != nullptr, c.error.empty());
        if (!c.error.empty()) {
            EXPECT_THAT(error, HasSubstr(path.string() + ": " + c.error));
        }
    }
}

TEST(SimulatedKeyboard, UnreadableFilesAndUnwritableTables) {
    TempDirectory directory;
    VirtualClock clock;
    std::string error;
    EXPECT_FALSE(SimulatedKeyboard::FromFile(directory.Path(), clock, error));
    EXPECT_THAT(error, HasSubstr("not a readable key table file"));

    const auto large = directory.Path() / "large.txt";
    WriteFile(large, std::string(100000, '#'));
    EXPECT_FALSE(SimulatedKeyboard::FromFile(large, clock, error));
    EXPECT_THAT(error, HasSubstr("too large"));

    // A table that cannot be written refuses the record instead of losing it silently.
    auto keyboard =
        SimulatedKeyboard::FromFile(directory.Path() / "missing" / "kb.txt", clock, error);
    ASSERT_TRUE(keyboard);
    KeyboardLink link(*keyboard);
    ASSERT_TRUE(link.Open());
    EXPECT_FALSE(link.WriteBlock(Bytes("01 00 FF")));
    EXPECT_TRUE(keyboard->Table().Record(1).empty());
    EXPECT_THAT(keyboard->LastError().text, HasSubstr("cannot be written"));
}

}  // namespace
}  // namespace varnok
