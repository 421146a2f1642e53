#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/OutputFailure.h"
#include "app/ProgramPlatform.h"
#include "app/StartUp.h"
#include "app/UserDataFolder.h"
#include "app/cli/CliCommands.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyLookup.h"
#include "store/QuotedText.h"
#include "ui/ProgramVersion.h"

namespace {

using namespace varnok;

// The window's program name: both programs work on its store.
constexpr const char* kWindowProgram = "varnok";

// Set by the first Ctrl+C: a save or read ends between two records, so that no record is cut
// off (a save then says which keys it wrote).
std::atomic<bool> stopRequested{false};

int Fail(const std::string& message) {
    std::cerr << "varnok-cli: " << message << "\n";
    return kExitUsage;
}

// What the parser says of a command line it refuses. It names no command it does not know
// ("A subcommand is required") and echoes arguments whole: an unknown word is named as such,
// and an argument too long to read, or one holding control characters, is quoted shortened.
std::string UsageError(CLI::App& app, const CLI::ParseError& error,
                       const std::vector<std::string>& arguments) {
    std::string commands;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        commands += (commands.empty() ? "" : ", ") + command->get_name();
    }
    const std::vector<std::string> rest = app.remaining();
    if (app.get_subcommands().empty() && !rest.empty() && !rest.front().starts_with('-')) {
        return "unknown command " + QuotedInput(rest.front()) + "; the commands are " + commands;
    }
    if (app.get_subcommands().empty() && dynamic_cast<const CLI::RequiredError*>(&error)) {
        return "no command given; the commands are " + commands;
    }
    std::string message = error.what();
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t marks = static_cast<std::size_t>(std::count_if(
            argument.begin(), argument.end(), [](char c) { return c == '"' || c == '\\'; }));
        const bool plain = argument.size() <= kQuotedInputCharacters &&
                           QuotedText(argument).size() == argument.size() + marks + 2;
        if (plain) continue;
        for (std::size_t at = message.find(argument); at != std::string::npos;
             at = message.find(argument, at)) {
            const std::string quoted = QuotedInput(argument);
            message.replace(at, argument.size(), quoted);
            at += quoted.size();
        }
    }
    return message;
}

}  // namespace

int main(int argc, char** argv) {
    PrepareProcess();
    // UTF-8 arguments, as CLI11 takes them: file names in any script reach the files.
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    std::vector<const char*> argumentTexts;
    for (const std::string& argument : arguments) argumentTexts.push_back(argument.c_str());

    CLI::App app(
        "Scripts the keys of a programmable USB keyboard: lists keyboards, shows, sets, exports\n"
        "and imports the keys kept in Varnok's store, and saves them into the keyboard or reads\n"
        "them back from it. The window and varnok-cli share one store.",
        "varnok-cli");
    app.set_version_flag("--version", std::string(kProgramTitle));
    app.require_subcommand(1);
    app.fallthrough();
    app.footer(
        "Exit status: 0 success, 1 the keyboard is missing or refuses a report, 2 usage and\n"
        "file errors. Results go to standard output, messages to standard error.\n");

    std::string virtualKeyboard;
    std::string hidTrace;
    std::string mapOption;
    bool json = false;
    app.add_option("--virtual-keyboard", virtualKeyboard,
                   "use a simulated keyboard whose key table is kept in FILE (created when "
                   "missing) instead of the real keyboard")
        ->type_name("FILE");
    app.add_option("--hid-trace", hidTrace,
                   "log every feature report exchanged with the keyboard to FILE")
        ->type_name("FILE");
    app.add_option("--map", mapOption,
                   "keep the keys' texts and definitions in FILE "
                   "instead of the user's msmap.dat")
        ->type_name("FILE");
    app.add_flag("--json", json, "print what list, show, read and watch print as JSON");
    std::string layoutName;
    app.add_option("--layout", layoutName,
                   "set, import, show, read, save and export type and read string keys as "
                   "LAYOUT types them "
                   "(de, fr, gb, us(dvorak) ...; on Windows a layout identifier such as "
                   "00000407) instead of the layout the window keeps, or US QWERTY")
        ->type_name("LAYOUT");

    CLI::App* list = app.add_subcommand(
        "list",
        "List every HID interface that is the keyboard, and those with its ids that "
        "cannot be used, with the reason");
    list->add_flag("--json", json, "print a JSON list");
    CLI::App* show = app.add_subcommand(
        "show", "Show the stored keys: number, function, the window's text, definition bytes");
    show->add_flag("--json", json, "print the keys as a profile (JSON)");
    CLI::App* read =
        app.add_subcommand("read", "Read the keyboard's key table back and show it like show");
    bool takeIntoStore = false;
    read->add_flag("--store", takeIntoStore,
                   "also take what the keyboard holds into the store, as the window's read-back "
                   "does");
    read->add_flag("--json", json, "print the keys as a profile (JSON)");

    CLI::App* set = app.add_subcommand(
        "set", "Define one key in the store from text (the keyboard is changed by save)");
    std::string key;
    std::string definition;
    set->add_option("KEY", key, "the key, 1 to 6")->required();
    set->add_option("DEFINITION", definition,
                    "a chord as the window writes it or with +, \"Ctrl|C|,\" or \"Ctrl+C\"; a "
                    "ready-made action by name: " +
                        CommandItemNameList() +
                        "; with --string the text to type. Put -- before a DEFINITION that "
                        "starts with -")
        ->required();
    bool normal = false;
    bool once = false;
    bool string = false;
    CLI::Option* normalFlag =
        set->add_flag("--normal", normal, "the key acts as long as it is held");
    CLI::Option* onceFlag = set->add_flag("--once", once, "the key acts once per press");
    CLI::Option* stringFlag = set->add_flag("--string", string, "the key types DEFINITION");
    normalFlag->excludes(onceFlag)->excludes(stringFlag);
    onceFlag->excludes(stringFlag);
    set->footer(
        "Without --normal, --once or --string the key is Normal, or stays Once; only --string "
        "makes it type text.\n");
    CLI::App* unset = app.add_subcommand(
        "unset",
        "Empty one key in the store, as a right click into its row does; it keeps its "
        "function");
    unset->add_option("KEY", key, "the key, 1 to 6")->required();

    CLI::App* save = app.add_subcommand(
        "save", "Write the stored keys into the keyboard, as the window's Save does");
    bool verify = false;
    save->add_flag("--verify", verify, "then read the table back and compare it record by record");
    CLI::App* clear = app.add_subcommand(
        "clear",
        "Forget every stored key, as the window's Clear does (the keyboard keeps its "
        "table until the next save)");
    std::string profileFile;
    CLI::App* exportCommand = app.add_subcommand(
        "export", "Write the stored keys to a JSON profile (- for standard output)");
    exportCommand->add_option("FILE", profileFile, "the profile")->required();
    CLI::App* importCommand =
        app.add_subcommand("import",
                           "Replace the stored keys by a JSON profile's, after checking all of it "
                           "(- for standard input)");
    importCommand->add_option("FILE", profileFile, "the profile")->required();
    CLI::App* watch = app.add_subcommand(
        "watch",
        "Test the keys: one line per press of the keyboard's keys, what it sent and the key "
        "that defines it, until Ctrl+C. Reads the keyboard's own input only while it runs, and "
        "meanwhile holds the keyboard's keys from the desktop where the system lets it (Linux)");
    watch->add_flag("--json", json,
                    "one JSON object per press: kind, arrived, key, the reports as sent");
    int watchCount = 0;
    watch->add_option("--count", watchCount, "end after N presses")
        ->type_name("N")
        ->check(CLI::PositiveNumber);

    try {
        app.parse(static_cast<int>(argumentTexts.size()), argumentTexts.data());
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) {
            // --help and --version: their text is the result, and is delivered as any is.
            app.exit(e);
            const std::string failure = OutputFailure(std::cout);
            return failure.empty() ? kExitSuccess : Fail(failure);
        }
        // The help of the command the line was for, where it got that far.
        const std::vector<CLI::App*> commands = app.get_subcommands();
        std::cerr << "varnok-cli: " << UsageError(app, e, arguments) << "\nTry 'varnok-cli "
                  << (commands.empty() ? "" : commands.front()->get_name() + " ") << "--help'.\n";
        return kExitUsage;
    }
    // An empty FILE, as a script's unset variable gives, is refused as the window refuses it:
    // taken for no option, it would reach the real keyboard or the user's own msmap.dat.
    for (const auto& [name, file] :
         {std::pair{"--virtual-keyboard", &virtualKeyboard}, std::pair{"--hid-trace", &hidTrace},
          std::pair{"--map", &mapOption}}) {
        if (app.count(name) > 0 && file->empty()) {
            return Fail(std::string("option ") + name + " needs a FILE");
        }
    }
    if (json && !list->parsed() && !show->parsed() && !read->parsed() && !watch->parsed()) {
        return Fail("--json is for list, show, read and watch; " +
                    app.get_subcommands().front()->get_name() + " prints no JSON");
    }

    const bool typesStrings = set->parsed() || importCommand->parsed() || show->parsed() ||
                              read->parsed() || save->parsed() || exportCommand->parsed();
    if (app.count("--layout") > 0 && !typesStrings) {
        return Fail("--layout is for set, import, show, read, save and export; " +
                    app.get_subcommands().front()->get_name() + " types no string");
    }

    std::string error;
    const std::unique_ptr<SettingsStore> settings = WindowSettingsStore(kWindowProgram, error);
    if (!settings) return Fail(error);
    const auto named = [](const std::string& file) {
        return file.empty() ? std::nullopt : std::optional<std::string>(file);
    };
    StartUp startUp({.virtualKeyboardFile = named(virtualKeyboard),
                     .hidTraceFile = named(hidTrace),
                     .mapFile = named(mapOption)},
                    SystemHidPlatform, 0);
    // Only a command that changes the store needs a map it may write: show, export and the
    // others work on one the user may only read.
    const bool changesMap = set->parsed() || unset->parsed() || save->parsed() || clear->parsed() ||
                            importCommand->parsed() || (read->parsed() && takeIntoStore);
    const auto use =
        changesMap ? MapFileLocation::Use::ReadAndWrite : MapFileLocation::Use::ReadOnly;
    if (!startUp.SettleMap(UserDataFolder(kWindowProgram), settings.get(), error, use))
        return Fail(error);
    if (!startUp.MapNotice().empty()) std::cerr << "varnok-cli: " << startUp.MapNotice() << "\n";

    // A real keyboard that is there but refuses this user is not "not connected".
    const auto accessAdvice = [&]() -> std::string {
        if (startUp.Simulated()) return {};
        std::ostringstream ignoredLog;
        return KeyboardAccessAdvice(0, ignoredLog);
    };
    const KeyboardListing listing = [&](HidPlatform& hid) {
        return ListKeyboardInterfaces(hid, accessAdvice);
    };

    // Without --layout, the layout the window keeps (the owner's choice there); without one
    // kept, the US table, as msmap.dat's strings were always typed.
    const bool layoutGiven = app.count("--layout") > 0;
    if (!layoutGiven && typesStrings) {
        layoutName = settings->ReadText(kSettingsSection, kLayoutSetting);
    }

    StopOnInterrupt(stopRequested);
    CliCommands commands(CliEnvironment{
        .out = std::cout,
        .err = std::cerr,
        .errIsTerminal = StandardErrorIsTerminal(),
        .settings = *settings,
        .mapFile = startUp.MapFile(),
        .keyboard = [&](std::string& error) { return startUp.Keyboard(save->parsed(), error); },
        .listing = listing,
        .accessAdvice = accessAdvice,
        .keyboardInput = [&](std::string& error) -> std::unique_ptr<KeyboardInput> {
            if (startUp.Simulated()) {
                error = "the simulated keyboard has no keys to press";
                return nullptr;
            }
            return SystemKeyboardInput(error);
        },
        .layout = !layoutGiven && layoutName.empty()
                      ? std::function<std::unique_ptr<KeyboardLayout>(std::string&)>()
                      : [&](std::string& error) {
                            std::unique_ptr<KeyboardLayout> layout =
                                NamedKeyboardLayout(layoutName, error);
                            if (!layout && !layoutGiven) {
                                error += " (the layout kept in " +
                                         WindowSettingsPlace(kWindowProgram) +
                                         "; --layout names another)";
                            }
                            return layout;
                        },
        .layoutName = layoutName,
        .layoutByName = NamedKeyboardLayout,
        .stop = &stopRequested});
    if (list->parsed()) return commands.List(json);
    if (show->parsed()) return commands.Show(json);
    if (read->parsed()) return commands.Read(takeIntoStore, json);
    if (set->parsed()) {
        std::optional<std::int32_t> mode;
        if (normal) mode = kNormalMode;
        if (once) mode = kOnceMode;
        if (string) mode = kStringMode;
        return commands.Set(key, mode, definition);
    }
    if (unset->parsed()) return commands.Unset(key);
    if (save->parsed()) return commands.Save(verify);
    if (clear->parsed()) return commands.Clear();
    if (exportCommand->parsed()) return commands.Export(profileFile);
    if (importCommand->parsed()) return commands.Import(profileFile);
    if (watch->parsed()) {
        return commands.Watch(
            json, watch->count("--count") > 0 ? std::optional(watchCount) : std::nullopt);
    }
    return kExitUsage;
}
