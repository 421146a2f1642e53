#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "app/cli/KeyboardListing.h"
#include "keys/KeyboardLayout.h"
#include "store/SettingChange.h"

namespace varnok {

class HidPlatform;
class KeyboardInput;
class KeySlotsModel;
class SettingsStore;

// Exit statuses of varnok-cli.
constexpr int kExitSuccess = 0;
// The keyboard is missing, refuses a report, or does not hold what was saved.
constexpr int kExitKeyboard = 1;
// A usage error, or a file that cannot be read, written or understood.
constexpr int kExitUsage = 2;

// Where a run of varnok-cli works: the window's own store (msmap.dat and the settings), the
// keyboard, and the two output streams (results on out, messages and progress on err).
struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    // err is a terminal: progress is shown there.
    bool errIsTerminal;
    SettingsStore& settings;
    std::filesystem::path mapFile;
    // The keyboard's HID platform (the real one, or the simulated one), made at first use;
    // nullptr and a message when it cannot be (an unreadable key table file).
    std::function<HidPlatform*(std::string& error)> keyboard;
    // What list says of the interfaces, on this platform.
    KeyboardListing listing;
    // When no keyboard is found: what to tell a user whose keyboard is there but refuses
    // them; empty otherwise.
    std::function<std::string()> accessAdvice;
    // The keyboard's own input for the key tester, opened at first use; nullptr and the
    // reason when there is none to read (no keyboard, the simulated one).
    std::function<std::unique_ptr<KeyboardInput>(std::string& error)> keyboardInput;
    // The layout --layout names, made at first use; empty without --layout, when string keys
    // are typed with the US table (msmap.dat keeps each key's text, and every command encodes
    // it anew, so save needs the layout set used). Nullptr and the reason for a name the system
    // does not know.
    std::function<std::unique_ptr<KeyboardLayout>(std::string& error)> layout;
    // The name of that layout, which an exported profile carries; empty for US QWERTY.
    std::string layoutName;
    // Makes a layout an imported profile names, to check its strings.
    KeyboardLayoutByName layoutByName;
    // Set from outside (Ctrl+C) to end a save or read at the next record.
    const std::atomic<bool>* stop = nullptr;
};

// The subcommands of varnok-cli. Each returns the exit status. Every change goes to the same
// store the window uses, with the same meaning, so that the window shows it at its next start.
class CliCommands {
public:
    explicit CliCommands(CliEnvironment environment);

    int List(bool json);
    int Show(bool json);
    // Shows what the keyboard holds and nothing of the store; takeIntoStore also keeps it in
    // msmap.dat and the rows' function modes, as the window's read-back and Save do.
    int Read(bool takeIntoStore, bool json);
    // key: the KEY argument, 1 to 6 in decimal. mode: 0 Normal, 1 Once, 2 String; none makes
    // the key Normal, or keeps it Once.
    int Set(std::string_view key, std::optional<std::int32_t> mode, const std::string& definition);
    // Empties the key; it keeps its function.
    int Unset(std::string_view key);
    int Save(bool verify);
    int Clear();
    // FILE "-" is standard output / input.
    int Export(const std::string& file);
    // One line (or JSON object) per press of the keyboard's keys, and the key that defines it,
    // until Ctrl+C or count presses.
    int Watch(bool json, std::optional<int> count);
    int Import(const std::string& file);

private:
    // The store as the window would load it: msmap.dat and every row's function mode. False,
    // with the reason, when msmap.dat is there but cannot be loaded.
    bool LoadModel(KeySlotsModel& model);
    // Writes the model's map and the settings given as one change; false, said so, when
    // nothing could be changed.
    bool SaveModel(KeySlotsModel& model, std::span<const SettingChange> settings = {});
    HidPlatform* Keyboard();
    // The model types its String rows with the --layout layout; false, said so, when that
    // layout is not known.
    bool UseLayout(KeySlotsModel& model);
    // The row key a KEY argument names; none, said so with the command's help to try, when it
    // names none.
    std::optional<int> RowKey(std::string_view given, std::string_view command);
    void PrintKeys(const KeySlotsModel& model, bool json);
    // The line of one key, as show prints it.
    void PrintKey(const KeySlotsModel& model, int key);
    int Fail(int status, const std::string& message);
    // status once the result reached standard output; a usage error, said so, when it did not.
    int Delivered(int status);

    CliEnvironment env_;
    std::unique_ptr<KeyboardLayout> layout_;
};

}  // namespace varnok
