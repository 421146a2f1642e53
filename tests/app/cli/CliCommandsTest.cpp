#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/MemorySettingsStore.h"
#include "app/cli/CliCommands.h"
#include "device/SimulatedKeyboard.h"
#include "keys/FunctionModeNames.h"
#include "support/FileBytes.h"
#include "support/VirtualClock.h"
#include "support/WindowHarness.h"
#include "ui/ControlIds.h"

namespace varnok {
namespace {

// Returns what the simulated keyboard returns, except that one page report comes back with a
// byte changed: a keyboard that does not hold what it was given.
class AlteringKeyboard : public HidPlatform {
public:
    AlteringKeyboard(SimulatedKeyboard& inner, std::size_t alteredGet, std::size_t byte)
        : inner_(inner), alteredGet_(alteredGet), byte_(byte) {}

    std::optional<std::vector<HidInterface>> EnumerateInterfaces() override {
        return inner_.EnumerateInterfaces();
    }
    HidHandle Open(const std::string& path) override { return inner_.Open(path); }
    bool GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                       std::uint16_t& productId) override {
        return inner_.GetAttributes(handle, vendorId, productId);
    }
    bool GetCollections(HidHandle handle, std::vector<HidCollection>& collections) override {
        return inner_.GetCollections(handle, collections);
    }
    bool SetFeature(HidHandle handle, const FeatureReport& report) override {
        return inner_.SetFeature(handle, report);
    }
    bool GetFeature(HidHandle handle, FeatureReport& report) override {
        const bool got = inner_.GetFeature(handle, report);
        if (inner_.GetCount() == alteredGet_) report[byte_] ^= 0x03;
        return got;
    }
    void Close(HidHandle handle) override { inner_.Close(handle); }
    void Pause(int milliseconds) override { inner_.Pause(milliseconds); }
    HidError LastError() const override { return inner_.LastError(); }

private:
    SimulatedKeyboard& inner_;
    std::size_t alteredGet_;
    std::size_t byte_;
};

// The command line's subcommands on an in-memory keyboard whose faults the tests choose,
// beside the window's behaviour on a keyboard of its own.
class CliCommandsTest : public WindowHarness {
protected:
    int Run(const std::function<int(CliCommands&)>& command, HidPlatform* hid = nullptr,
            bool terminal = false) {
        out.str("");
        err.str("");
        CliCommands commands(CliEnvironment{
            .out = out,
            .err = err,
            .errIsTerminal = terminal,
            .settings = cliSettings,
            .mapFile = directory.Path() / "cli-msmap.dat",
            .keyboard = [&, hid](std::string&) { return hid != nullptr ? hid : &cliKeyboard; },
            .listing = {},
            .accessAdvice = {},
            .keyboardInput = {},
            .layout = {},
            .layoutName = {},
            .layoutByName = {},
            .stop = nullptr});
        return command(commands);
    }
    void SetThreeKeys() {
        for (const auto& [key, mode, definition] :
             {std::tuple{"1", std::optional<std::int32_t>(), "Ctrl+C"},
              std::tuple{"2", std::optional<std::int32_t>(kOnceMode), "Close Window"},
              std::tuple{"3", std::optional<std::int32_t>(kStringMode), "Hello, World"}}) {
            ASSERT_EQ(Run([&](CliCommands& c) { return c.Set(key, mode, definition); }), 0)
                << err.str();
        }
    }

    std::ostringstream out;
    std::ostringstream err;
    MemorySettingsStore cliSettings;
    VirtualClock cliClock;
    SimulatedKeyboard cliKeyboard{cliClock};
};

TEST_F(CliCommandsTest, SaveSendsTheRecordsAndPausesTheWindowsSaveSends) {
    // The window: Ctrl+C captured in row 1, Close Window picked in a Once row 2, a string
    // typed into a String row 3, then Save.
    settings.WriteSetting("Settings", "keynum", 5);
    Start();
    Focus(ControlId::ValueBox1);
    Chord({{0x11, 0x1D}, {0x43, 0x2E}});
    Choose(ControlId::FunctionList2, kOnceMode);
    Choose(ControlId::ValueBox2, 4);
    Choose(ControlId::FunctionList3, kStringMode);
    Type(ControlId::ValueBox3, "Hello, World");
    Click(ControlId::Save);
    ASSERT_EQ(keyboard.CompletedSaves(), 1);

    SetThreeKeys();
    ASSERT_EQ(Run([](CliCommands& c) { return c.Save(true); }), 0) << err.str();
    EXPECT_EQ(out.str(),
              "verified: the keyboard holds the 6 keys and the hidden slot 0 as saved\n");
    EXPECT_EQ(cliKeyboard.Table(), keyboard.Table());
    // The same reports with the same pauses, then the verifying reads.
    const auto& windowSave = keyboard.Transcript();
    const auto& cliRun = cliKeyboard.Transcript();
    ASSERT_GT(cliRun.size(), windowSave.size());
    EXPECT_EQ(std::vector(cliRun.begin(), cliRun.begin() + windowSave.size()), windowSave);
}

// The window's import of a profile gives the same msmap.dat and settings as varnok-cli's
// import of it, shows what they hold, and its next Save puts the same table into the keyboard.
TEST_F(CliCommandsTest, TheWindowImportsAProfileAsTheCommandLineDoes) {
    const std::filesystem::path profile =
        std::filesystem::path(VARNOK_CLI_FIXTURES) / "profile-v1.json";
    Start();
    Focus(ControlId::ValueBox6);
    Chord({{0x11, 0x1D}, {0x43, 0x2E}});  // what the window held before goes
    controls.fileAnswers = {profile};
    Click(ControlId::ImportEntry);
    ASSERT_EQ(Messages(), std::vector<std::string>{"提示!: 已从文件导入按键!"});
    ASSERT_EQ(Run([&](CliCommands& c) { return c.Import(profile.string()); }), 0) << err.str();

    EXPECT_EQ(ReadBytes(directory.Path() / "msmap.dat"),
              ReadBytes(directory.Path() / "cli-msmap.dat"));
    for (const char* name : {"keyLan", "keynum", "KeyFun1Sel", "KeyFun2Sel", "KeyFun3Sel",
                             "KeyFun4Sel", "KeyFun5Sel", "KeyFun6Sel"}) {
        EXPECT_EQ(settings.ReadSetting("Settings", name, -9),
                  cliSettings.ReadSetting("Settings", name, -9))
            << name;
    }
    const std::pair<std::string, int> rows[] = {
        {"Ctrl|C|,", 0}, {"ls -l!", 2}, {"Close Window", 1}, {"", 1}, {"Default", 0}, {"", 2}};
    for (int row = 1; row <= 6; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(controls.GetText(ControlId::ValueBox1 + row - 1), rows[row - 1].first);
        EXPECT_EQ(controls.SelectedListIndex(ControlId::FunctionList1 + row - 1),
                  rows[row - 1].second);
        EXPECT_EQ(controls.IsVisible(ControlId::ValueBox1 + row - 1), row <= 4);
    }
    EXPECT_EQ(controls.SelectedListIndex(ControlId::Language), 1);

    Click(ControlId::Save);
    ASSERT_EQ(Run([](CliCommands& c) { return c.Save(false); }), 0) << err.str();
    EXPECT_EQ(cliKeyboard.Table(), keyboard.Table());
}

TEST_F(CliCommandsTest, AKeyboardThatRefusesAReportFailsTheSaveWithTheWindowsMessage) {
    // Set reports of the save: slot 0 (1), slot 1 (2), slot 2 (2), the string (4), slots 4..6
    // (1 each), the end record (1).
    const std::pair<std::size_t, std::string> cases[] = {
        {1,
         "varnok-cli: Save Key Error! The keyboard refused the first record: keys 1 to 6 still "
         "hold their previous ones.\n"},
        {4,
         "varnok-cli: Save Key Error! The keyboard refused key 2: key 1 holds its new "
         "definition, what key 2 holds is uncertain, keys 3 to 6 still hold their previous "
         "ones: the keyboard holds this mix until the next Save.\n"},
        {9,
         "varnok-cli: Save Key Error! The keyboard refused key 3: keys 1 and 2 hold the new "
         "definitions, what key 3 holds is uncertain, keys 4 to 6 still hold their previous "
         "ones: the keyboard holds this mix until the next Save.\n"},
        {13,
         "varnok-cli: Save Key Error! The keyboard took keys 1 to 6 but refused the end of the "
         "table, so the save is not complete: until the next Save the keyboard may hold the new "
         "keys, its previous ones, or a mix of both.\n"},
    };
    SetThreeKeys();
    for (const auto& [refused, message] : cases) {
        SCOPED_TRACE(refused);
        SimulatedKeyboard refusing(cliClock);
        refusing.RefuseSet(refused);
        EXPECT_EQ(Run([](CliCommands& c) { return c.Save(true); }, &refusing), kExitKeyboard);
        // The keyboard's reason ends the line.
        EXPECT_EQ(err.str(), message.substr(0, message.size() - 1) +
                                 " Reason: the simulated keyboard refused the report, as told "
                                 "to\n");
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(refusing.CompletedSaves(), 0);
        EXPECT_EQ(refusing.GetCount(), 0u);
    }
}

TEST_F(CliCommandsTest, VerifyNamesTheKeysTheKeyboardDoesNotHold) {
    SetThreeKeys();
    // The third page read is slot 2's: its d2 (the F4 usage) comes back as F5.
    AlteringKeyboard altering(cliKeyboard, 3, 3);
    EXPECT_EQ(Run([](CliCommands& c) { return c.Save(true); }, &altering), kExitKeyboard);
    EXPECT_EQ(err.str(),
              "varnok-cli: Save Key Successful!\n"
              "varnok-cli: key 2 differs: saved \"Close Window\" (04 00 3D 00 00 00 00) once, "
              "the keyboard holds \"Alt|F5|,\" (04 00 3E 00 00 00 00) once\n"
              "varnok-cli: not verified: 1 of the 6 keys differs\n");
    EXPECT_EQ(out.str(), "");

    SimulatedKeyboard unreadable(cliClock);
    unreadable.RefuseGet(3);
    EXPECT_EQ(Run([](CliCommands& c) { return c.Save(true); }, &unreadable), kExitKeyboard);
    EXPECT_EQ(err.str(),
              "varnok-cli: Save Key Successful!\nvarnok-cli: Get Key Error! Reason: the "
              "simulated keyboard refused the report, as told to\n"
              "varnok-cli: not verified: the keyboard could not be read back\n");
}

TEST_F(CliCommandsTest, WithoutAKeyboardSaveAndReadFailButTheStoreIsWritten) {
    SetThreeKeys();
    cliKeyboard.Unplug();
    EXPECT_EQ(Run([](CliCommands& c) { return c.Save(false); }), kExitKeyboard);
    EXPECT_EQ(err.str(), "varnok-cli: Usb HIDKB Not Connected!\n");
    EXPECT_TRUE(std::filesystem::exists(directory.Path() / "cli-msmap.dat"));
    EXPECT_EQ(Run([](CliCommands& c) { return c.Read(true, false); }), kExitKeyboard);
    EXPECT_EQ(out.str(), "");
}

TEST_F(CliCommandsTest, ProgressShowsOnATerminalOnly) {
    SetThreeKeys();
    ASSERT_EQ(Run([](CliCommands& c) { return c.Save(true); }, nullptr, true), 0);
    const std::string progress = err.str();
    std::string expected;
    for (int key = 1; key <= 6; ++key) {
        expected += "\r\033[KWriting key " + std::to_string(key) + " of 6...";
    }
    expected += "\r\033[Kvarnok-cli: Save Key Successful!\n";
    for (int key = 1; key <= 6; ++key) {
        expected += "\r\033[KReading key " + std::to_string(key) + " of 6...";
    }
    expected += "\r\033[K";
    EXPECT_EQ(progress, expected);

    ASSERT_EQ(Run([](CliCommands& c) { return c.Save(true); }), 0);
    EXPECT_EQ(err.str(), "varnok-cli: Save Key Successful!\n");
}

// read shows the keyboard alone, each key's function from its record; read --store then save
// gives the keyboard back what it held, a Once mouse click and an empty string included.
TEST_F(CliCommandsTest, ReadShowsTheKeyboardAloneAndReadStoreThenSaveKeepsItsTable) {
    const auto read = [this](bool store, bool json) {
        return Run([=](CliCommands& c) { return c.Read(store, json); });
    };
    const auto set = [this](const char* key, std::int32_t mode, const char* definition) {
        ASSERT_EQ(Run([=](CliCommands& c) { return c.Set(key, mode, definition); }), 0)
            << err.str();
    };
    // The keyboard is empty; the store has a Once row 2 and a String row 3.
    set("2", kOnceMode, "Close Window");
    set("3", kStringMode, "abc");
    ASSERT_EQ(read(false, false), 0) << err.str();
    EXPECT_EQ(
        out.str(),
        "1  Normal  -\n2  Normal  -\n3  Normal  -\n4  Normal  -\n5  Normal  -\n6  Normal  -\n");
    ASSERT_EQ(read(false, true), 0) << err.str();
    const nlohmann::json shown = nlohmann::json::parse(out.str());
    for (const auto& key : shown["keys"]) {
        EXPECT_EQ(key["function"], "Normal") << key;
        EXPECT_EQ(key["text"], "") << key;
    }

    set("1", kOnceMode, "Mouse Left Click");
    set("3", kStringMode, "");
    ASSERT_EQ(Run([](CliCommands& c) { return c.Save(false); }), 0) << err.str();
    const SimulatedKeyboardMemory saved = cliKeyboard.Table();
    const auto record = saved.Record(1);
    EXPECT_EQ(Bytes(record.begin(), record.end()),
              (Bytes{0x01, 0x08, 0x04, 0xC1, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF}));
    ASSERT_EQ(Run([](CliCommands& c) { return c.Clear(); }), 0);

    ASSERT_EQ(read(false, false), 0) << err.str();
    EXPECT_EQ(out.str(),
              "1  Once    \"Mouse Left   Click\"    04 81 00 00 00 00 00 FF\n"
              "2  Once    \"Close Window\"          01 04 00 3D 00 00 00 00\n"
              "3  String  \"\"\n"
              "4  Normal  -\n5  Normal  -\n6  Normal  -\n");
    ASSERT_EQ(read(true, false), 0) << err.str();
    ASSERT_EQ(Run([](CliCommands& c) { return c.Save(false); }), 0) << err.str();
    EXPECT_EQ(cliKeyboard.Table(), saved);
}

// A msmap.dat that cannot be loaded is left whole; save and clear say why on standard error and
// end with status 2 before the keyboard is touched.
TEST_F(CliCommandsTest, AMapFileLeftAloneIsNamedAndFailsTheCommand) {
    const std::filesystem::path file = directory.Path() / "cli-msmap.dat";
    const Bytes tooLarge(4 * 1024 * 1024 + 1, 0x41);
    const std::string said = "varnok-cli: Key definitions not loaded from file! " + file.string() +
                             ": it is too large to be loaded and was left as it is\n";
    const struct {
        const char* label;
        std::function<int(CliCommands&)> command;
        std::string err;
        int keyboardSaves;
    } cases[] = {
        {"save", [](CliCommands& c) { return c.Save(false); }, said, 0},
        {"clear", [](CliCommands& c) { return c.Clear(); }, said, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteBytes(file, tooLarge);
        const int before = cliKeyboard.CompletedSaves();
        EXPECT_EQ(Run(c.command), kExitUsage);
        EXPECT_EQ(err.str(), c.err);
        EXPECT_EQ(cliKeyboard.CompletedSaves() - before, c.keyboardSaves);
        EXPECT_TRUE(ReadBytes(file) == tooLarge);
    }
}

TEST_F(CliCommandsTest, OnlyStringMakesTextAndUnsetEmptiesAKeyKeepingItsFunction) {
    constexpr int kUnset = -1;  // in place of a mode: the step is unset
    const std::optional<std::int32_t> none;
    struct Step {
        int key;
        std::optional<std::int32_t> mode;
        const char* definition;
        int status;
        std::string line;  // what the key's line starts with, or the message
    };
    const Step steps[] = {
        {4, kStringMode, "hi", 0, "4  String  \"hi\""},
        {4, none, "Enter", 0, "4  Normal  \"Ret|,\"         "},
        {4, kStringMode, "", 0, "4  String  \"\"\n"},
        {4, none, "Num/", 0, "4  Normal  \"/|,\"           "},
        {4, kOnceMode, "Close Window", 0, "4  Once    \"Close Window\""},
        {4, none, "Ctrl+C", 0, "4  Once    \"Ctrl|C|,\""},
        {4, kUnset, "", 0, "4  Once    -\n"},
        {5, kStringMode, "Super+L", 0, "5  String  \"Super+L\""},
        {5, none, "Super+L", 2, "key 5: \"Super+L\" is no command item"},
        {5, kUnset, "", 0, "5  String  \"\"\n"},
        {0, kUnset, "", 2, "KEY must be 1 to 6, not 0"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "key " << step.key << " " << step.definition);
        const int status = Run([&](CliCommands& c) {
            const std::string key = std::to_string(step.key);
            return step.mode == kUnset ? c.Unset(key) : c.Set(key, step.mode, step.definition);
        });
        EXPECT_EQ(status, step.status) << err.str();
        if (step.status == 0) {
            EXPECT_TRUE(out.str().starts_with(step.line)) << out.str();
        } else {
            EXPECT_NE(err.str().find(step.line), std::string::npos) << err.str();
            EXPECT_EQ(out.str(), "");
        }
    }
    EXPECT_EQ(cliSettings.ReadSetting("Settings", "KeyFun4Sel", -1), kOnceMode);
    EXPECT_EQ(cliSettings.ReadSetting("Settings", "KeyFun5Sel", -1), kStringMode);
    ASSERT_EQ(Run([](CliCommands& c) { return c.Show(false); }), 0);
    EXPECT_NE(out.str().find("4  Once    -\n5  String  \"\"\n"), std::string::npos) << out.str();
}

TEST_F(CliCommandsTest, StoredChoicesOutOfRangeAreTakenAsDefaultsAndLeftAsStored) {
    ASSERT_EQ(Run([](CliCommands& c) { return c.Set("3", kOnceMode, "Ctrl+A"); }), 0);
    // A settings file edited by hand: no list of the window offers these values.
    cliSettings.WriteSetting("Settings", "keynum", 99);
    cliSettings.WriteSetting("Settings", "keyLan", 7);
    cliSettings.WriteSetting("Settings", "KeyFun3Sel", 9);

    ASSERT_EQ(Run([](CliCommands& c) { return c.Show(false); }), 0) << err.str();
    EXPECT_NE(out.str().find("3  Normal  \"Ctrl|A|,\""), std::string::npos) << out.str();
    // The profile says what the window would show: one key, in English, and it imports.
    ASSERT_EQ(Run([](CliCommands& c) { return c.Export("-"); }), 0) << err.str();
    const std::string profile = out.str();
    EXPECT_NE(profile.find("\"keyCount\": 1"), std::string::npos) << profile;
    EXPECT_NE(profile.find("\"language\": \"English\""), std::string::npos) << profile;
    const std::filesystem::path file = directory.Path() / "profile.json";
    std::ofstream(file) << profile;
    EXPECT_EQ(Run([&](CliCommands& c) { return c.Import(file.string()); }), 0) << err.str();

    ASSERT_EQ(Run([](CliCommands& c) { return c.Set("2", std::nullopt, "Ctrl+C"); }), 0);
    EXPECT_EQ(cliSettings.ReadSetting("Settings", "keynum", -7), 1);
    EXPECT_EQ(cliSettings.ReadSetting("Settings", "KeyFun3Sel", -7), 0);
}

// msmap.dat carried to another machine, or named with --map, comes without the settings that
// hold each key's function. Where the map's definition shows a typed string or a key report, it
// decides: the keys show as they were saved, and a Save sends the keyboard the same table.
TEST_F(CliCommandsTest, AMapWhoseSettingsSayAnotherFunctionKeepsItsStringsAndChords) {
    SetThreeKeys();
    ASSERT_EQ(Run([](CliCommands& c) { return c.Save(false); }), 0) << err.str();
    const SimulatedKeyboardMemory saved = cliKeyboard.Table();
    struct Case {
        const char* setting;
        std::int32_t mode;
        const char* shown;
    };
    for (const Case& c : {Case{"KeyFun1Sel", kStringMode, "1  Normal  \"Ctrl|C|,\""},
                          Case{"KeyFun3Sel", kNormalMode, "3  String  \"Hello, World\""},
                          Case{"KeyFun3Sel", kOnceMode, "3  String  \"Hello, World\""}}) {
        SCOPED_TRACE(std::string(c.setting) + " " + std::to_string(c.mode));
        const std::int32_t kept = cliSettings.ReadSetting("Settings", c.setting, -1);
        cliSettings.WriteSetting("Settings", c.setting, c.mode);
        ASSERT_EQ(Run([](CliCommands& cli) { return cli.Show(false); }), 0) << err.str();
        EXPECT_NE(out.str().find(c.shown), std::string::npos) << out.str();
        ASSERT_EQ(Run([](CliCommands& cli) { return cli.Save(false); }), 0) << err.str();
        EXPECT_EQ(cliKeyboard.Table(), saved);
        cliSettings.WriteSetting("Settings", c.setting, kept);
    }
}

}  // namespace
}  // namespace varnok
