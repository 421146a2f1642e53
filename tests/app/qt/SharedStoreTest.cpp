#include <gtest/gtest.h>

#include <QDir>

#include "app/IniSettingsStore.h"
#include "device/SimulatedKeyboard.h"
#include "keys/FunctionModeNames.h"
#include "support/InlineFlowExecutor.h"
#include "support/MemoryDialogControls.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"
#include "support/linux/ProgramRun.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowBehaviour.h"

namespace varnok {
namespace {

// varnok-cli and the window on one store: the settings file and msmap.dat in the user's
// folders.
class SharedStoreTest : public ::testing::Test {
protected:
    ~SharedStoreTest() override { QFile::remove(QString::fromStdString(SettingsFile().string())); }

    static std::filesystem::path SettingsFile() {
        return qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/brelmoth/varnok.conf";
    }

    std::string Cli(const std::vector<std::string>& arguments) {
        const ProgramResult result =
            RunProgram(VARNOK_CLI_PROGRAM, arguments,
                       {{"HOME", home.Path().string()},
                        {"XDG_CONFIG_HOME", qEnvironmentVariable("XDG_CONFIG_HOME").toStdString()},
                        {"XDG_DATA_HOME", (home.Path() / "data").string()}},
                       home.Path());
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    }

    // A start of the window, as the program makes it.
    struct Window {
        explicit Window(const std::filesystem::path& map)
            : behaviour(controls, settings, keyboard, KeySlotsModel(SlotMap::InFile(map)), executor,
                        "varnok") {
            behaviour.OnInitDialog();
        }
        void Choose(int list, int index) {
            controls.SelectListIndex(list, index);
            behaviour.OnSelectionChanged(list);
        }
        MemoryDialogControls controls;
        IniSettingsStore settings{SettingsFile()};
        VirtualClock clock;
        SimulatedKeyboard keyboard{clock};
        InlineFlowExecutor executor;
        MainWindowBehaviour behaviour;
    };

    TempDirectory home;
    std::filesystem::path map = home.Path() / "data/brelmoth/varnok/msmap.dat";
};

TEST_F(SharedStoreTest, WhatOneProgramSetsTheOtherShowsAtItsNextStart) {
    Cli({"set", "4", "--once", "Close Window"});
    {
        Window window(map);
        EXPECT_EQ(window.controls.GetText(ControlId::ValueBox4), "Close Window");
        EXPECT_EQ(window.controls.SelectedListIndex(ControlId::FunctionList4), kOnceMode);
        // set shows the rows up to the key it set.
        EXPECT_EQ(window.controls.SelectedListIndex(ControlId::KeyCount), 3);
        EXPECT_TRUE(window.controls.IsVisible(ControlId::ValueBox4));

        // The window: a String row 5 typed and saved (no keyboard: the store is written all
        // the same), in Chinese.
        window.Choose(ControlId::KeyCount, 4);
        window.Choose(ControlId::FunctionList5, kStringMode);
        window.controls.SetText(ControlId::ValueBox5, "abc");
        window.Choose(ControlId::Language, 1);
        window.keyboard.Unplug();
        window.behaviour.OnButtonClicked(ControlId::Save);
    }
    EXPECT_EQ(Cli({"show"}),
              "1  Normal  -\n"
              "2  Normal  -\n"
              "3  Normal  -\n"
              "4  Once    \"Close Window\"          01 04 00 3D 00 00 00 00\n"
              "5  String  \"abc\"                   00 04 00 05 00 06\n"
              "6  Normal  -\n");
    const std::string profile = Cli({"export", "-"});
    EXPECT_NE(profile.find("\"language\": \"Chinese\""), std::string::npos) << profile;
    EXPECT_NE(profile.find("\"keyCount\": 5"), std::string::npos) << profile;
}

}  // namespace
}  // namespace varnok
