#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/IniSettingsStore.h"
#include "support/TempDirectory.h"
#include "support/linux/KillAtChange.h"
#include "support/linux/ProgramRun.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

#if defined(__x86_64__)

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a start shows of the owner's keys: msmap.dat and every value that goes with it.
struct Keys {
    std::string map;
    std::vector<std::int32_t> settings;
    friend bool operator==(const Keys&, const Keys&) = default;
};

// varnok-cli on a home of its own, whose files each row starts from afresh.
class CutOffChangeTest : public ::testing::Test {
protected:
    std::vector<std::pair<std::string, std::string>> Environment() const {
        return {{"HOME", home.Path().string()},
                {"XDG_CONFIG_HOME", (home.Path() / "config").string()},
                {"XDG_DATA_HOME", (home.Path() / "data").string()},
                {"XDG_STATE_HOME", (home.Path() / "state").string()}};
    }
    std::vector<std::string> Arguments(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(),
                         {"--virtual-keyboard", (home.Path() / "keys.txt").string()});
        return arguments;
    }
    ProgramResult Cli(const std::vector<std::string>& arguments) {
        return RunProgram(VARNOK_CLI_PROGRAM, Arguments(arguments), Environment(), home.Path());
    }
    // Execs varnok-cli in this (child) process, its output nowhere.
    [[noreturn]] void Exec(const std::vector<std::string>& arguments) {
        std::vector<std::string> texts = Arguments(arguments);
        texts.insert(texts.begin(), VARNOK_CLI_PROGRAM);
        std::vector<char*> argv;
        for (std::string& text : texts) argv.push_back(text.data());
        argv.push_back(nullptr);
        std::vector<std::string> variables;
        for (const auto& [name, value] : Environment()) variables.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (std::string& variable : variables) envp.push_back(variable.data());
        envp.push_back(nullptr);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 1);
        ::dup2(null, 2);
        if (::chdir(home.Path().c_str()) != 0) ::_exit(126);
        ::execve(VARNOK_CLI_PROGRAM, argv.data(), envp.data());
        ::_exit(127);
    }
    Keys Now() const {
        IniSettingsStore settings(home.Path() / "config/brelmoth/varnok.conf");
        Keys keys{Contents(home.Path() / "data/brelmoth/varnok/msmap.dat"), {}};
        for (const char* name : {"KeyFun1Sel", "KeyFun2Sel", "KeyFun3Sel", "KeyFun4Sel",
                                 "KeyFun5Sel", "KeyFun6Sel", "keynum", "keyLan"}) {
            keys.settings.push_back(settings.ReadSetting("Settings", name, -1));
        }
        return keys;
    }
    void Keep() {
        fs::remove_all(kept.Path());
        fs::create_directories(kept.Path());
        fs::copy(home.Path(), kept.Path(), fs::copy_options::recursive);
    }
    void Restore() {
        fs::remove_all(home.Path());
        fs::copy(kept.Path(), home.Path(), fs::copy_options::recursive);
    }

    TempDirectory home;
    TempDirectory kept;
};

// Each command that changes the keys, killed before each call of it that changes a file: a start
// after it (show) finds msmap.dat and the settings as they were before the command or as it
// left them, never a mix, and no journal is left over.
TEST_F(CutOffChangeTest, ACommandKilledAnywhereLeavesTheOldKeysOrTheNew) {
    ASSERT_EQ(Cli({"set", "1", "Ctrl+C"}).status, 0);
    ASSERT_EQ(Cli({"set", "2", "--once", "Close Window"}).status, 0);
    ASSERT_EQ(Cli({"save"}).status, 0);
    std::ofstream(home.Path() / "profile.json")
        << R"({"format": "varnok-profile", "version": 1, "language": "Chinese", "keyCount": 4,
"keys": [{"key": 1, "function": "Once", "text": "Ctrl|V|,", "definition": "01 01 00 19 00 00 00 00"},
{"key": 3, "function": "String", "text": "hi", "definition": "00 0B 00 0C"},
{"key": 4, "function": "Normal", "text": "Close Window", "definition": "01 04 00 3D 00 00 00 00"}]})";
    // The keyboard holds another table for read --store: V acting once in key 1, "hi" in key 3.
    std::ofstream(home.Path() / "keys.txt") << "00 00 FF\n01 08 01 40 00 19 00 00 00 00 FF\n"
                                               "02 00 FF\n03 04 08 00 0B 00 0C FF\n";
    Keep();
    const Keys before = Now();

    const std::vector<std::vector<std::string>> commands = {
        {"set", "1", "--once", "Ctrl+V"},
        {"set", "5", "--once", "Ctrl+V"},
        {"import", (home.Path() / "profile.json").string()},
        {"read", "--store"},
        {"clear"},
        {"save"},
    };
    for (const std::vector<std::string>& command : commands) {
        std::string line;
        for (const std::string& word : command) line += " " + word;
        SCOPED_TRACE(line);
        Restore();
        ASSERT_EQ(Cli(command).status, 0);
        const Keys after = Now();
        int oldSeen = 0;
        int newSeen = 0;
        for (int point = 1; point < 400; ++point) {
            SCOPED_TRACE("killed at call " + std::to_string(point));
            Restore();
            const bool killed = KillAtChange([&] { Exec(command); }, point);
            const ProgramResult shown = Cli({"show"});
            ASSERT_EQ(shown.status, 0) << shown.err;
            const Keys now = Now();
            ASSERT_TRUE(now == before || now == after) << shown.out << shown.err;
            (now == before ? oldSeen : newSeen) += 1;
            EXPECT_EQ(shown.err.find("not applied"), std::string::npos) << shown.err;
            for (const auto& entry : fs::recursive_directory_iterator(home.Path() / "state")) {
                EXPECT_TRUE(entry.is_directory() ||
                            entry.path().filename().string().starts_with("keyboard-"))
                    << entry.path();
            }
            if (!killed) break;
        }
        if (!(before == after)) {
            EXPECT_GT(oldSeen, 0);
            EXPECT_GT(newSeen, 0);
        }
        std::cout << "[          ]" << line << ": " << oldSeen << " old, " << newSeen << " new\n";
    }
}

#endif

}  // namespace
}  // namespace varnok
