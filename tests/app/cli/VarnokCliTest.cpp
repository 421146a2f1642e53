#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "app/MemorySettingsStore.h"
#include "device/SimulatedKeyboard.h"
#include "device/SimulatedKeyboardMemory.h"
#include "keys/FunctionModeNames.h"
#include "support/InlineFlowExecutor.h"
#include "support/MemoryDialogControls.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"
#include "support/linux/ChildProcess.h"
#include "support/linux/ProgramRun.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowBehaviour.h"

namespace varnok {
namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The key table the window's own Save puts into a keyboard after a user pressed Ctrl+C into
// row 1, picked Close Window in a Once row 2 and typed "Hello, World" into a String row 3.
SimulatedKeyboardMemory WindowsTable() {
    TempDirectory store;
    MemoryDialogControls controls;
    MemorySettingsStore settings;
    VirtualClock clock;
    SimulatedKeyboard keyboard(clock);
    InlineFlowExecutor executor;
    MainWindowBehaviour window(controls, settings, keyboard, KeySlotsModel(SlotMap(store.Path())),
                               executor, "varnok");
    window.OnInitDialog();
    const auto choose = [&](int list, int index) {
        controls.SelectListIndex(list, index);
        window.OnSelectionChanged(list);
    };
    controls.SetFocus(ControlId::ValueBox1);
    window.OnFocusGained(ControlId::ValueBox1);
    window.OnValueBoxPressed(ControlId::ValueBox1);
    for (const auto& [kind, virtualKey, scanByte] : {std::tuple{KeyEventKind::KeyDown, 0x11, 0x1D},
                                                     {KeyEventKind::KeyDown, 0x43, 0x2E},
                                                     {KeyEventKind::KeyUp, 0x43, 0x2E},
                                                     {KeyEventKind::KeyUp, 0x11, 0x1D}}) {
        window.OnKeyEvent(
            {kind, static_cast<std::uint8_t>(virtualKey), static_cast<std::uint8_t>(scanByte)});
    }
    choose(ControlId::FunctionList2, kOnceMode);
    choose(ControlId::ValueBox2, 4);
    choose(ControlId::FunctionList3, kStringMode);
    controls.SetText(ControlId::ValueBox3, "Hello, World");
    window.OnButtonClicked(ControlId::Save);
    EXPECT_EQ(keyboard.CompletedSaves(), 1);
    return keyboard.Table();
}

// varnok-cli itself, run on a simulated keyboard whose key table is a file, with a home of
// its own: the store is the window's, in the user's XDG folders.
struct CliHome {
    // Standard output goes to outputFile when one is named.
    ProgramResult Cli(std::vector<std::string> arguments, const std::string& input = "",
                      const std::filesystem::path& outputFile = {},
                      const std::vector<int>& closed = {}) {
        arguments.insert(arguments.begin(), {"--virtual-keyboard", keys.string()});
        return RunProgram(VARNOK_CLI_PROGRAM, arguments,
                          {{"HOME", home.Path().string()},
                           {"XDG_CONFIG_HOME", (home.Path() / "config").string()},
                           {"XDG_DATA_HOME", (home.Path() / "data").string()}},
                          home.Path(), input, outputFile, closed);
    }
    // Runs and expects success.
    std::string Ok(const std::vector<std::string>& arguments) {
        const ProgramResult result = Cli(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    }
    std::filesystem::path MapFile() const { return home.Path() / "data/brelmoth/varnok/msmap.dat"; }
    std::filesystem::path SettingsFile() const {
        return home.Path() / "config/brelmoth/varnok.conf";
    }

    // The three kinds of key the window defines: a chord, a command item acting once, a string.
    void SetThreeKeys() {
        EXPECT_EQ(Ok({"set", "1", "Ctrl+C"}),
                  "1  Normal  \"Ctrl|C|,\"              01 01 00 06 00 00 00 00\n");
        EXPECT_EQ(Ok({"set", "2", "--once", "Close Window"}),
                  "2  Once    \"Close Window\"          01 04 00 3D 00 00 00 00\n");
        Ok({"set", "3", "--string", "Hello, World"});
    }

    TempDirectory home;
    std::filesystem::path keys = home.Path() / "keys.txt";
};

class VarnokCliTest : public ::testing::Test, public CliHome {};

TEST_F(VarnokCliTest, SaveVerifyWritesTheRecordsAndSaysSo) {
    SetThreeKeys();
    const ProgramResult saved = Cli({"save", "--verify"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out,
              "verified: the keyboard holds the 6 keys and the hidden slot 0 as saved\n");
    EXPECT_EQ(saved.err, "varnok-cli: Save Key Successful!\n");

    std::string error;
    const auto table = SimulatedKeyboardMemory::Load(keys, error);
    ASSERT_TRUE(table.has_value()) << error;
    EXPECT_EQ(*table, WindowsTable());
    // Both as the keyboard's records are laid out: Ctrl+C; Alt+F4 with the Once flag.
    const auto record = [&](int slot) {
        const auto bytes = table->Record(static_cast<std::uint8_t>(slot));
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    };
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(record(1), (Bytes{0x01, 0x08, 0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0, 0xFF}));
    EXPECT_EQ(record(2), (Bytes{0x02, 0x08, 0x01, 0x44, 0x00, 0x3D, 0, 0, 0, 0, 0xFF}));
}

TEST_F(VarnokCliTest, ReadStoreAfterClearBringsTheDefinitionsBack) {
    SetThreeKeys();
    Ok({"save"});
    const nlohmann::json before = nlohmann::json::parse(Ok({"show", "--json"}));
    Ok({"clear"});
    EXPECT_EQ(
        Ok({"show"}),
        "1  Normal  -\n2  Once    -\n3  String  \"\"\n4  Normal  -\n5  Normal  -\n6  Normal  -\n");

    const ProgramResult read = Cli({"read", "--store"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.err, "varnok-cli: Get Key Successful!\n");
    const nlohmann::json after = nlohmann::json::parse(Ok({"show", "--json"}));
    // A chord and a ready-made action read back under the names they were set with.
    EXPECT_EQ(after["keys"], before["keys"]);
}

TEST_F(VarnokCliTest, AProfileRoundTripPutsTheSameTableIntoTheKeyboard) {
    SetThreeKeys();
    Ok({"set", "5", "Default"});
    Ok({"set", "6", "--once", "Ctrl|Alt|Del|,"});
    // A chord name of 21 characters: only what the owner types is held to 18.
    EXPECT_EQ(Ok({"set", "4", "Ctrl+Shift+Alt+PgUp"}),
              "4  Normal  \"Ctrl|Shift|Alt|PgUp|,\"  01 07 00 4B 00 00 00 00\n");
    Ok({"save"});
    const std::string first = Contents(keys);
    const std::string profile = (home.Path() / "keys.json").string();
    Ok({"export", profile});

    Ok({"clear"});
    Ok({"save"});
    ASSERT_NE(Contents(keys), first);
    Ok({"import", profile});
    Ok({"save"});
    EXPECT_EQ(Contents(keys), first);

    // A profile carries the layout its strings were typed for, so that its bytes read back
    // with it; the import types its text for the layout in use.
    const std::string german = (home.Path() / "de.json").string();
    Ok({"--layout", "de", "set", "3", "--string", "yz"});
    Ok({"--layout", "de", "export", german});
    EXPECT_NE(Contents(german).find("\"layout\": \"de\""), std::string::npos);
    EXPECT_NE(Contents(german).find("00 1D 00 1C"), std::string::npos);
    EXPECT_EQ(Contents(profile).find("\"layout\""), std::string::npos);
    Ok({"import", german});
    EXPECT_NE(Ok({"show"}).find("3  String  \"yz\""), std::string::npos);
    EXPECT_NE(Ok({"show"}).find("00 1C 00 1D"), std::string::npos);
    Ok({"import", profile});

    // On a fresh store and a fresh keyboard too.
    CliHome other;
    other.Ok({"import", profile});
    other.Ok({"save"});
    EXPECT_EQ(Contents(other.keys), first);
    EXPECT_EQ(other.Ok({"show"}), Ok({"show"}));
}

TEST_F(VarnokCliTest, MalformedProfilesAreRefusedAndTheStoreIsUntouched) {
    SetThreeKeys();
    const std::string map = Contents(MapFile());
    const std::string settings = Contents(SettingsFile());
    const std::string good = Ok({"export", "-"});

    const std::string key =
        R"({"key": 1, "function": "Normal", "text": "A|,", "definition": "01 00 00 04 00 00 00 00"})";
    const auto withKeys = [](const std::string& keys, const std::string& version = "1",
                             const std::string& layout = "") {
        return R"({"format": "varnok-profile", "version": )" + version +
               R"(, "language": "English", "keyCount": 6, )" + layout + R"("keys": [)" + keys +
               "]}";
    };
    const std::string yz = R"({"key": 1, "function": "String", "text": "yz", "definition": ")";
    std::string thirty = "01";
    for (int i = 1; i < 30; ++i) thirty += " 00";
    const std::pair<std::string, std::string> cases[] = {
        {good.substr(0, good.size() / 2), "p.json: line "},
        {withKeys(key, "2"), "p.json: version: unknown version 2"},
        {withKeys(
             R"({"key": 9, "function": "Normal", "text": "A|,", "definition": "01 00 00 04 00 00 00 00"})"),
         "p.json: keys[0].key: 9 is no key"},
        {withKeys(R"({"key": 1, "function": "Normal", "text": ")" + std::string(40, 'x') +
                  R"(", "definition": "01 00 00 04 00 00 00 00"})"),
         "p.json: keys[0].text: the text takes 40 bytes"},
        {withKeys(R"({"key": 1, "function": "Normal", "text": "A|,", "definition": ")" + thirty +
                  R"("})"),
         "p.json: keys[0].definition: 30 bytes"},
        {withKeys(R"({"key": 1, "function": "String", "text": "na\u00efve", "definition": ""})"),
         "p.json: keys[0].text: The keyboard has no key for"},
        {withKeys(key + ", " + key), "p.json: keys[1].key: key 1 appears twice"},
        {withKeys(
             R"({"key": 18446744073709551615, "function": "Normal", "text": "", "definition": ""})"),
         "p.json: keys[0].key: 18446744073709551615 is no key"},
        // A NUL would end the text in msmap.dat; an Esc would drive the terminal of show.
        {withKeys(
             R"({"key": 1, "function": "Normal", "text": "A|,\u0000", "definition": "01 00 00 04 00 00 00 00"})"),
         "p.json: keys[0].text: the text holds the control character U+0000"},
        {withKeys(
             R"({"key": 1, "function": "Once", "text": "\u001b[2J", "definition": "01 00 00 04 00 00 00 00"})"),
         "p.json: keys[0].text: the text holds the control character U+001B"},
        // A profile's strings are checked against the layout it names, and only a layout the
        // system knows is one.
        {withKeys(yz + R"(00 1C 00 1D"})", "1", R"("layout": "de", )"),
         "p.json: keys[0].definition: is not the payload of the text \"yz\""},
        {withKeys(yz + R"(00 1D 00 1C"})"),
         "p.json: keys[0].definition: is not the payload of the text \"yz\""},
        {withKeys(yz + R"(00 1D 00 1C"})", "1", R"("layout": "xx", )"),
         "p.json: layout: no keyboard layout is called \"xx\""},
        {withKeys(key, "1", R"("layout": 7, )"), "p.json: layout: expected a string"},
        {withKeys(R"({"key": 1, ")" + std::string(5000, 'k') + R"(": 1})"),
         "p.json: keys[0]: unknown member \"" + std::string(40, 'k') +
             "\u2026\" (5000 characters)"},
    };
    const std::string file = (home.Path() / "p.json").string();
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        const ProgramResult result = Cli({"import", file});
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("varnok-cli: " + file.substr(0, file.size() - 6) + message),
                  std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find("nothing was changed"), std::string::npos);
        EXPECT_EQ(Contents(MapFile()), map);
        EXPECT_EQ(Contents(SettingsFile()), settings);
    }
}

TEST_F(VarnokCliTest, WhatSetCannotEncodeIsRefusedAndTheStoreIsUntouched) {
    SetThreeKeys();
    const std::string map = Contents(MapFile());
    const std::string settings = Contents(SettingsFile());
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"set", "1", "Ctrl+Foo"},
         "key 1: \"Ctrl+Foo\" is no command item (\"Default\", \"Mouse Left Click\", \"Mouse "
         "Right Click\", \"Mouse Double Click\", \"Close Window\", \"My Computer\", \"Log off\", "
         "\"Esc\"), "
         "and as a chord: \"Foo\" is no key name"},
        {{"set", "4", "A+B+C+D+E+F"}, "at most five keys"},
        {{"set", "2", "--string", "\xE6\x97\xA5"}, "key 2: The keyboard has no key for"},
        {{"set", "2", "--string", "fifteen letters"}, "at most 14 characters"},
        {{"set", "7", "A"}, "KEY must be 1 to 6, not 7"},
        {{"set", "1", "--once", "--string", "a"}, "excludes"},
        {{"set", "1"}, "DEFINITION is required"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        const ProgramResult result = Cli(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(Contents(MapFile()), map);
        EXPECT_EQ(Contents(SettingsFile()), settings);
    }
}

// Without --layout a string key is typed for the layout the window keeps, and with none kept
// for US QWERTY; --layout names another for one command. A kept layout the system does not
// know stops the command, naming where it is kept, and changes nothing.
TEST_F(VarnokCliTest, StringKeysAreTypedForTheKeptLayoutUnlessOneIsNamed) {
    const struct {
        const char* kept;  // nullptr: no layout kept
        std::vector<std::string> layoutOption;
        const char* bytes;  // nullptr: refused
    } cases[] = {
        {nullptr, {}, "00 1C 00 1D"},
        {"", {}, "00 1C 00 1D"},
        {"de", {}, "00 1D 00 1C"},
        {"us(dvorak)", {}, "00 17 00 38"},
        {"de", {"--layout", "us"}, "00 1C 00 1D"},
        {nullptr, {"--layout", "de"}, "00 1D 00 1C"},
        {"xx", {}, nullptr},
        {"xx", {"--layout", "de"}, "00 1D 00 1C"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kept ? c.kept : "(none)") + " " +
                     (c.layoutOption.empty() ? "" : c.layoutOption[1]));
        std::filesystem::remove(MapFile());
        std::filesystem::create_directories(SettingsFile().parent_path());
        std::ofstream(SettingsFile(), std::ios::trunc)
            << "[Settings]\n"
            << (c.kept ? std::string("keyLayout=") + c.kept + "\n" : "");
        std::vector<std::string> arguments = c.layoutOption;
        arguments.insert(arguments.end(), {"set", "1", "--string", "yz"});
        const ProgramResult result = Cli(arguments);
        if (c.bytes == nullptr) {
            EXPECT_EQ(result.status, 2);
            EXPECT_EQ(result.out, "");
            EXPECT_NE(result.err.find("no keyboard layout is called \"xx\""), std::string::npos)
                << result.err;
            EXPECT_NE(result.err.find("(the layout kept in " + SettingsFile().string()),
                      std::string::npos)
                << result.err;
            EXPECT_FALSE(std::filesystem::exists(MapFile()));
        } else {
            EXPECT_EQ(result.status, 0) << result.err;
            EXPECT_NE(result.out.find("\"yz\""), std::string::npos) << result.out;
            EXPECT_NE(result.out.find(c.bytes), std::string::npos) << result.out;
            // show decodes the same way, and the choice kept is never changed by a command.
            std::vector<std::string> show = c.layoutOption;
            show.push_back("show");
            EXPECT_NE(Ok(show).find(c.bytes), std::string::npos);
        }
        const std::string kept = Contents(SettingsFile());
        EXPECT_EQ(kept.find("keyLayout=") == std::string::npos, c.kept == nullptr) << kept;
        if (c.kept) {
            EXPECT_NE(kept.find(std::string("keyLayout=") + c.kept + "\n"), kept.npos) << kept;
        }
    }
}

TEST_F(VarnokCliTest, ListsTheKeyboardAndAnswersUsageAsExpected) {
    EXPECT_EQ(Ok({"list"}), "simulated-keyboard  0426:5601  keyboard  collection 0 (ff00:0001)\n");
    const nlohmann::json listed = nlohmann::json::parse(Ok({"list", "--json"}));
    EXPECT_EQ(listed[0]["node"], "simulated-keyboard");
    EXPECT_EQ(listed[0]["usable"], true);
    EXPECT_EQ(listed[0]["collection"],
              nlohmann::json::parse(R"({"index": 0, "usagePage": "ff00", "usage": "0001"})"));

    // --json is a global option like the others: before the command as well as after it.
    EXPECT_EQ(Ok({"--json", "list"}), Ok({"list", "--json"}));
    EXPECT_EQ(Ok({"--json", "show"}), Ok({"show", "--json"}));

    EXPECT_EQ(Ok({"--version"}), "Varnok 1.5\n");
    EXPECT_NE(Ok({"set", "--help"}).find("\"Mouse Left Click\", \"Mouse Right Click\""),
              std::string::npos);

    std::ofstream(keys) << "not a key table\n";
    const ProgramResult broken = Cli({"save"});
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("line 1"), std::string::npos) << broken.err;
}

// A refused command line is named in a line or two: the word that is no command, the key that
// is none (however large), the argument that was not expected, each quoted shortened and with
// its control characters escaped; nothing is stored.
TEST_F(VarnokCliTest, RefusedCommandLinesSayWhatWasWrongInAShortLine) {
    SetThreeKeys();
    const std::string map = Contents(MapFile());
    const std::string settings = Contents(SettingsFile());
    const std::string huge(131000, 'a');
    const std::string shortened = "\"" + std::string(40, 'a') + "\u2026\" (131000 characters)";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"frobnicate"},
         "varnok-cli: unknown command \"frobnicate\"; the commands are list, show, read, set, "
         "unset, save, clear, export, import, watch\n"},
        {{huge}, "varnok-cli: unknown command " + shortened + "; the commands are list,"},
        {{}, "varnok-cli: no command given; the commands are list, show,"},
        {{"set", huge, "A"}, "varnok-cli: KEY must be 1 to 6, not " + shortened + "\n"},
        {{"set", "18446744073709551615", "A"},
         "varnok-cli: KEY must be 1 to 6, not 18446744073709551615\n"},
        {{"unset", "010"}, "varnok-cli: KEY must be 1 to 6, not 010\n"},
        {{"unset", "0x2"}, "varnok-cli: KEY must be 1 to 6, not \"0x2\"\n"},
        {{"show", huge}, "varnok-cli: The following argument was not expected: " + shortened},
        {{"set", "1", "Ctrl+" + huge},
         "\"Esc\"), and as a chord: " + shortened + " is no key name\n"},
        {{"set", "1", "\x1b[2J"},
         "varnok-cli: key 1: \"\\x1b[2J\" is no command item (\"Default\","},
        {{"--json", "set", "1", "A"},
         "varnok-cli: --json is for list, show, read and watch; set prints no JSON\n"},
        // A script's empty variable is no FILE: it must not mean the user's own map.
        {{"--map", "", "set", "1", "A"}, "varnok-cli: option --map needs a FILE\n"},
        {{"--hid-trace", "", "list"}, "varnok-cli: option --hid-trace needs a FILE\n"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        const ProgramResult result = Cli(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err.substr(0, 300);
        // The refusal of a definition names the ready-made actions too.
        EXPECT_LT(result.err.size(), 400u);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(Contents(MapFile()), map);
        EXPECT_EQ(Contents(SettingsFile()), settings);
    }
}

// A result that cannot be written to standard output (a full disk, a closed pipe) is no
// success: status 2 and the reason, for every command that prints one.
TEST_F(VarnokCliTest, AResultThatCannotBeWrittenIsStatusTwoWithTheReason) {
    SetThreeKeys();
    const std::vector<std::string> commands[] = {
        {"list"},           {"list", "--json"}, {"show"},
        {"show", "--json"}, {"set", "4", "B"},  {"unset", "4"},
        {"read"},           {"read", "--json"}, {"save", "--verify"},
        {"export", "-"},    {"--version"},      {"--help"},
    };
    for (const auto& arguments : commands) {
        SCOPED_TRACE(arguments[0] + " " + arguments.back());
        const ProgramResult result = Cli(arguments, "", "/dev/full");
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("varnok-cli: the result could not be written to standard output "
                                  "(No space left on device)"),
                  std::string::npos)
            << result.err;
    }
}

// A standard descriptor the caller closed stays closed to Varnok: what would go there never
// lands in a file Varnok opens (the HID trace), and a command that cannot deliver its result
// or read its input says so.
TEST_F(VarnokCliTest, AClosedStandardDescriptorIsNeverTakenByAFile) {
    SetThreeKeys();
    Ok({"save"});
    const std::string trace = (home.Path() / "trace.log").string();
    const struct {
        std::vector<std::string> arguments;
        int closed;
        int status;
        const char* said;  // on standard error
    } cases[] = {
        {{"--hid-trace", trace, "read"},
         1,
         2,
         "the result could not be written to standard output (Bad file descriptor)"},
        {{"--hid-trace", trace, "save"}, 2, 0, ""},
        {{"--hid-trace", trace, "import", "-"},
         0,
         2,
         "standard input could not be read (Bad file descriptor); nothing was changed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[2] + " with " + std::to_string(c.closed) + " closed");
        std::filesystem::remove(trace);
        const std::string map = Contents(MapFile());
        const ProgramResult result = Cli(c.arguments, "", {}, {c.closed});
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
        EXPECT_EQ(Contents(MapFile()), map);
        // Only the trace's own lines: a comment naming the keyboard, then reports.
        std::istringstream lines(Contents(trace));
        for (std::string line; std::getline(lines, line);) {
            EXPECT_TRUE(line.starts_with("# ") || line.find(" get ") != std::string::npos ||
                        line.find(" set ") != std::string::npos)
                << line;
        }
    }
}

// Two runs setting two keys at once keep both keys' functions; a settings file that cannot be
// written stops set with the reason before the key changes.
TEST_F(VarnokCliTest, SetKeepsItsModeInTheSettingsOrSaysWhyNot) {
    for (int round = 0; round < 10; ++round) {
        std::filesystem::remove(SettingsFile());
        ProgramResult results[2];
        std::thread other([&] { results[1] = Cli({"set", "4", "--once", "Close Window"}); });
        results[0] = Cli({"set", "3", "--once", "Close Window"});
        other.join();
        EXPECT_EQ(results[0].status, 0) << results[0].err;
        EXPECT_EQ(results[1].status, 0) << results[1].err;
        const std::string shown = Ok({"show"});
        EXPECT_NE(shown.find("3  Once    \"Close Window\""), std::string::npos) << shown;
        EXPECT_NE(shown.find("4  Once    \"Close Window\""), std::string::npos) << shown;
    }

    std::filesystem::remove(SettingsFile());
    std::filesystem::create_directories(SettingsFile());
    const std::string map = Contents(MapFile());
    const ProgramResult refused = Cli({"set", "5", "--once", "Close Window"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "varnok-cli: Settings not saved to file! " + SettingsFile().string() +
                               ": it is not a regular file; nothing was changed\n");
    EXPECT_EQ(Contents(MapFile()), map);
}

// A map file that is there but cannot be loaded stops every command that uses the store, with
// the reason, before the keyboard, the map or the settings are touched.
TEST_F(VarnokCliTest, AMapThatCannotBeLoadedStopsEveryCommandThatUsesIt) {
    SetThreeKeys();
    Ok({"save"});
    const std::string profile = (home.Path() / "keys.json").string();
    Ok({"export", profile});
    const std::string table = Contents(keys);
    const std::string settings = Contents(SettingsFile());
    const struct {
        std::string contents;
        std::string reason;
    } maps[] = {
        {std::string(4 * 1024 * 1024, '\0'), "it is too large to be loaded and was left as it is"},
    };
    const std::vector<std::string> commands[] = {
        {"show"},
        {"show", "--json"},
        {"export", "-"},
        {"export", profile + ".new"},
        {"save"},
        {"read", "--store"},
        {"set", "1", "A"},
        {"clear"},
        {"import", profile},
    };
    for (const auto& map : maps) {
        std::ofstream(MapFile(), std::ios::binary | std::ios::trunc) << map.contents;
        for (const auto& arguments : commands) {
            SCOPED_TRACE(map.reason + ": " + arguments[0] + " " + arguments.back());
            const ProgramResult result = Cli(arguments);
            EXPECT_EQ(result.status, 2);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, "varnok-cli: Key definitions not loaded from file! " +
                                      MapFile().string() + ": " + map.reason + "\n");
            EXPECT_EQ(Contents(keys), table);
            EXPECT_TRUE(Contents(MapFile()) == map.contents);
            EXPECT_EQ(Contents(SettingsFile()), settings);
            EXPECT_FALSE(std::filesystem::exists(profile + ".new"));
        }
    }
}

// export never writes over the map file, under any name or link for it; import refuses a
// file that is not there or is over 1 MiB with the reason, before reading it whole.
TEST_F(VarnokCliTest, ProfileFilesThatAreRefusedSayWhyAndChangeNothing) {
    SetThreeKeys();
    const std::string map = Contents(MapFile());
    std::filesystem::create_symlink(MapFile(), home.Path() / "link.dat");
    const std::string big = (home.Path() / "big.json").string();
    std::ofstream(big) << std::string(1024 * 1024 + 1, ' ');
    const std::string link = (home.Path() / "link.dat").string();
    const std::string missing = (home.Path() / "missing.json").string();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"export", MapFile().string()},
         MapFile().string() + ": is the file Varnok keeps the keys' texts in"},
        {{"export", link}, link + ": is the file Varnok keeps the keys' texts in"},
        {{"import", missing}, missing + ": the file does not exist; nothing was changed"},
        {{"import", big},
         big + ": it is too large to be loaded and was left as it is (a profile holds at most "
               "1 MiB); nothing was changed"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        const ProgramResult result = Cli(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("varnok-cli: " + message), std::string::npos) << result.err;
        EXPECT_EQ(Contents(MapFile()), map);
    }
    const ProgramResult piped = Cli({"import", "-"}, std::string(1024 * 1024 + 1, ' '));
    EXPECT_EQ(piped.status, 2);
    EXPECT_NE(piped.err.find("standard input: it is too large"), std::string::npos) << piped.err;
}

// A map the user may read but not write is shown, read beside the keyboard's table and
// exported; a command that would change it is refused at start with the reason, as is a map in
// a folder that is not there.
TEST_F(VarnokCliTest, AMapThatMayOnlyBeReadIsShownButNeverChanged) {
    namespace fs = std::filesystem;
    const fs::path folder = home.Path() / "read-only";
    fs::create_directory(folder);
    const std::string map = (folder / "msmap.dat").string();
    Ok({"--map", map, "set", "1", "Ctrl+C"});
    const std::string profile = (home.Path() / "keys.json").string();
    Ok({"--map", map, "export", profile});
    const std::string held = Contents(map);
    // Root may write anything: the commands run as an ordinary user, who owns the home.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(home.Path())) {
        ASSERT_EQ(::lchown(entry.path().c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    }
    ASSERT_EQ(::chown(home.Path().c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    fs::permissions(map, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);

    const std::string refused = "varnok-cli: " + map +
                                ": the key map cannot be written there: " + map +
                                ": the file is read-only\n";
    const std::string gone = (home.Path() / "gone" / "m.dat").string();
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string said;  // in standard output on success, all of standard error otherwise
    } cases[] = {
        {{"--map", map, "show"}, 0, "1  Normal  \"Ctrl|C|,\"              01 01 00 06"},
        {{"--map", map, "show", "--json"}, 0, "\"text\": \"Ctrl|C|,\""},
        {{"--map", map, "export", "-"}, 0, "\"text\": \"Ctrl|C|,\""},
        {{"--map", map, "read"}, 0, "1  Normal  -"},
        {{"--map", map, "list"}, 0, "simulated-keyboard"},
        {{"--map", map, "show", "--help"}, 0, "Show the stored keys"},
        {{"--map", map, "watch"}, 1, "varnok-cli: the simulated keyboard has no keys to press\n"},
        {{"--map", map, "set", "2", "A"}, 2, refused},
        {{"--map", map, "unset", "1"}, 2, refused},
        {{"--map", map, "import", profile}, 2, refused},
        {{"--map", map, "clear"}, 2, refused},
        {{"--map", map, "save"}, 2, refused},
        {{"--map", map, "read", "--store"}, 2, refused},
        {{"--map", gone, "show"},
         2,
         "varnok-cli: " + gone + ": the key map cannot be written there: " + gone +
             ": the folder does not exist\n"},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const std::string& argument : c.arguments) line += " " + argument;
        SCOPED_TRACE(line);
        const std::optional<std::string> ran = RunInChild(
            [&] {
                const ProgramResult result = Cli(c.arguments);
                return std::to_string(result.status) + "\n" + result.out + '\0' + result.err;
            },
            std::chrono::seconds(30), true);
        ASSERT_TRUE(ran.has_value());
        const std::size_t statusEnd = ran->find('\n');
        const std::size_t outEnd = ran->find('\0', statusEnd);
        const std::string out = ran->substr(statusEnd + 1, outEnd - statusEnd - 1);
        const std::string err = ran->substr(outEnd + 1);
        EXPECT_EQ(ran->substr(0, statusEnd), std::to_string(c.status)) << err;
        if (c.status == 0) {
            EXPECT_NE(out.find(c.said), std::string::npos) << out;
        } else {
            EXPECT_EQ(err, c.said);
        }
        EXPECT_EQ(Contents(map), held);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
    fs::permissions(folder, fs::perms::owner_all);
}

}  // namespace
}  // namespace varnok

namespace varnok {
namespace {

// Sets of different keys run at once each keep their key, and the key count they leave shows
// every key any of them defined.
TEST_F(VarnokCliTest, ConcurrentSetsKeepEveryKeyAndAKeyCountThatShowsThem) {
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::filesystem::remove_all(home.Path() / "config");
        std::filesystem::remove_all(home.Path() / "data");
        std::vector<pid_t> children;
        for (const char* key : {"2", "3", "6"}) {
            const pid_t child = ::fork();
            if (child == 0) {
                const ProgramResult result = Cli({"set", key, "--once", "Ctrl+V"});
                ::_exit(result.status == 0 ? 0 : 1);
            }
            children.push_back(child);
        }
        for (const pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const std::string shown = Ok({"show"});
        for (const char* key : {"2", "3", "6"}) {
            EXPECT_NE(shown.find(std::string(key) + "  Once    \"Ctrl|V|,\""), std::string::npos)
                << shown;
        }
        EXPECT_NE(Contents(SettingsFile()).find("keynum=5"), std::string::npos)
            << Contents(SettingsFile());
    }
}

}  // namespace
}  // namespace varnok
