#include <gtest/gtest.h>

#include "device/HexBytes.h"
#include "device/KeyboardLink.h"
#include "device/SimulatedKeyboard.h"
#include "flows/ClearAllKeys.h"
#include "flows/ReadBackAllKeys.h"
#include "flows/SaveAllKeys.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeySlotsModel.h"
#include "support/FileBytes.h"
#include "support/RecordingFlowHost.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"

namespace varnok {
namespace {

// Save, Clear and read-back driven through the model alone: what the command line and the
// window's worker thread do.
class FlowsWithoutWindow : public ::testing::Test {
protected:
    // Row 1 Ctrl+C, row 2 Close Window acting once, row 3 "Default" (a right click), row 4
    // the string "a!1", row 5 an empty String row; row 6 and slot 0 empty.
    void DefineRows() {
        model.DefineChord(1, {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}, "Ctrl|C|,");
        model.DefineCommandItem(2, 4);
        model.SetFunctionMode(2, kOnceMode);
        model.DefineCommandItem(3, 0);
        model.SetFunctionMode(4, kStringMode);
        model.TakeText(4, "a!1");
        model.SetFunctionMode(5, kStringMode);
    }

    std::string Record(int slot) const {
        const auto stored = keyboard.Table().Record(static_cast<std::uint8_t>(slot));
        return FormatHexBytes(Bytes(stored.begin(), stored.end()));
    }

    TempDirectory directory;
    VirtualClock clock;
    SimulatedKeyboard keyboard{clock};
    KeyboardLink link{keyboard};
    KeySlotsModel model{SlotMap(directory.Path())};
    RecordingFlowHost host;
};

const char* const kSavedTable[] = {
    "00 00 FF",
    "01 08 01 01 00 06 00 00 00 00 FF",
    "02 08 01 44 00 3D 00 00 00 00 FF",
    "03 08 04 82 00 00 00 00 00 FF FF",
    "04 06 08 00 04 AB 1E 00 1E FF",
    "05 00 08 FF",
    "06 00 FF",
};

TEST_F(FlowsWithoutWindow, SaveWritesEveryRecordAndTheEndRecordInOrder) {
    DefineRows();

    EXPECT_TRUE(SaveAllKeys(model, link, host));

    for (int slot = 0; slot < 7; ++slot) EXPECT_EQ(Record(slot), kSavedTable[slot]) << slot;
    EXPECT_EQ(keyboard.CompletedSaves(), 1);
    EXPECT_EQ(clock.NowMilliseconds(), 4 * 200);  // the pauses inside the four long records
    EXPECT_EQ(host.steps,
              (std::vector<std::string>{"1/8", "2/8", "3/8", "4/8", "5/8", "6/8", "7/8", "8/8"}));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Save Key Successful!"});
    EXPECT_EQ(keyboard.OpenHandleCount(), 0u);
    // The typed string is kept for the next start, with the other definitions.
    SlotMap stored(directory.Path());
    ASSERT_TRUE(stored.Load());
    ASSERT_NE(stored.Find("key4"), nullptr);
    EXPECT_EQ(stored.Find("key4")->text, "a!1");
    EXPECT_EQ(stored.Find("key1")->text, "Ctrl|C|,");
}

TEST_F(FlowsWithoutWindow, AStopRequestEndsTheSaveBetweenTwoRecords) {
    DefineRows();
    host.onProgress = [this](const FlowProgress& progress) { host.stop = progress.step == 3; };

    EXPECT_FALSE(SaveAllKeys(model, link, host));

    // Slot 2's record was under way when the stop came: it is finished, nothing after it.
    for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(Record(slot), kSavedTable[slot]) << slot;
    for (int slot = 3; slot < 7; ++slot) EXPECT_EQ(Record(slot), "") << slot;
    EXPECT_EQ(keyboard.CompletedSaves(), 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(keyboard.OpenHandleCount(), 0u);
}

TEST_F(FlowsWithoutWindow, ClearForgetsEverySlotInTheModelAndTheFile) {
    DefineRows();
    model.TakeText(0, "hidden");
    ASSERT_TRUE(model.SaveStore());

    EXPECT_TRUE(ClearAllKeys(model, host));

    for (int slot = 1; slot < 7; ++slot) {
        EXPECT_EQ(model.Text(slot), "") << slot;
        EXPECT_FALSE(model.IsDefined(slot)) << slot;
    }
    EXPECT_EQ(model.Text(0), "hidden");
    SlotMap stored(directory.Path());
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.Size(), 0u);
    EXPECT_TRUE(keyboard.Transcript().empty());
}

TEST_F(FlowsWithoutWindow, ReadBackTakesWhatASaveWroteIntoAFreshModel) {
    DefineRows();
    ASSERT_TRUE(SaveAllKeys(model, link, host));
    TempDirectory otherStore;
    KeySlotsModel fresh{SlotMap(otherStore.Path())};
    RecordingFlowHost readHost;

    EXPECT_TRUE(ReadBackAllKeys(fresh, link, readHost));

    EXPECT_EQ(fresh.Text(1), "Ctrl|c|");
    EXPECT_EQ(fresh.Text(2), "Alt|F4|");
    EXPECT_EQ(fresh.Text(3), "Mouse Right  Click");
    EXPECT_EQ(fresh.Text(4), "a!1");
    EXPECT_EQ(fresh.Text(6), "");
    EXPECT_EQ(fresh.FunctionMode(2), kOnceMode);
    EXPECT_EQ(fresh.FunctionMode(4), kStringMode);
    EXPECT_EQ(readHost.modes,
              (std::vector<std::pair<int, std::int32_t>>{
                  {1, kNormalMode}, {2, kOnceMode}, {4, kStringMode}, {5, kStringMode}}));
    EXPECT_EQ(readHost.messages, std::vector<std::string>{"Get Key Successful!"});
    EXPECT_EQ(readHost.steps.size(), 7u);
    // Saved again, the read-back model gives the keyboard the same table.
    for (int slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(FormatHexBytes(fresh.RecordOf(slot).bytes), kSavedTable[slot]) << slot;
    }
}

// msmap.dat too large to load: every save must leave it as it is.
Bytes TooLargeMap() {
    return Bytes(4 * 1024 * 1024 + 1, 0x41);
}

TEST_F(FlowsWithoutWindow, AFileLeftAloneIsNamedWithTheReasonAndTheKeyboardIsWrittenAllTheSame) {
    const struct {
        const char* label;
        bool clear;          // Clear instead of Save
        bool folderMissing;  // the map's folder is gone, instead of a file too large to load
        std::string reason;  // after the file's path
        std::vector<std::string> after;  // the messages that follow
    } cases[] = {
        {"save over a file too large to load",
         false,
         false,
         "it is too large to be loaded and was left as it is",
         {"Save Key Successful!"}},
        {"save into a folder that is gone",
         false,
         true,
         "the folder does not exist",
         {"Save Key Successful!"}},
        {"clear over a file too large to load",
         true,
         false,
         "it is too large to be loaded and was left as it is",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory folder;
        const std::filesystem::path mapFolder =
            c.folderMissing ? folder.Path() / "gone" : folder.Path();
        const std::filesystem::path file = mapFolder / "msmap.dat";
        if (!c.folderMissing) WriteBytes(file, TooLargeMap());
        KeySlotsModel failing{SlotMap(mapFolder)};
        failing.DefineChord(1, {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}, "Ctrl|C|,");
        RecordingFlowHost failingHost;
        SimulatedKeyboard target{clock};
        KeyboardLink targetLink{target};

        const bool done = c.clear ? ClearAllKeys(failing, failingHost)
                                  : SaveAllKeys(failing, targetLink, failingHost);

        std::vector<std::string> expected = {"Key definitions not saved to file! " + file.string() +
                                             ": " + c.reason};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(failingHost.messages, expected);
        EXPECT_EQ(done, !c.clear);
        EXPECT_EQ(target.CompletedSaves(), c.clear ? 0 : 1);
        if (c.folderMissing) {
            EXPECT_FALSE(std::filesystem::exists(mapFolder));
        } else {
            EXPECT_TRUE(ReadBytes(file) == TooLargeMap());
        }
    }
}

}  // namespace
}  // namespace varnok
