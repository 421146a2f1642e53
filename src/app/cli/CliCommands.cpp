#include "app/cli/CliCommands.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <nlohmann/json.hpp>
#include <utility>

#include "app/OutputFailure.h"
#include "app/cli/ConsoleFlowHost.h"
#include "app/cli/KeyListText.h"
#include "device/HexBytes.h"
#include "device/KeyboardInput.h"
#include "device/KeyboardLink.h"
#include "flows/ClearAllKeys.h"
#include "flows/KeyboardCopy.h"
#include "flows/ProfileFile.h"
#include "flows/ReadBackAllKeys.h"
#include "flows/SaveAllKeys.h"
#include "flows/VerifyAllKeys.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyDefinitionText.h"
#include "keys/KeySlots.h"
#include "keys/KeySlotsModel.h"
#include "keys/KeyTesterRun.h"
#include "keys/KeyTesterTexts.h"
#include "keys/MessageTexts.h"
#include "keys/ProfileJson.h"
#include "keys/ProfileTransfer.h"
#include "keys/StoredChoices.h"
#include "store/FileProblemTexts.h"
#include "store/PathText.h"
#include "store/QuotedText.h"
#include "store/SettingsStore.h"

namespace varnok {

namespace {

std::string HexId(std::uint16_t id) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (int shift = 12; shift >= 0; shift -= 4) hex += kDigits[(id >> shift) & 0xF];
    return hex;
}

// The slots as a save's progress counts them ("Writing key 3 of 6"): six keys, and the hidden
// slot 0 apart.
std::string KeysCounted() {
    return std::to_string(kSlotCount - kFirstRowSlot) + " keys";
}

std::string SlotName(int slot) {
    return IsRowSlot(slot) ? "key " + std::to_string(slot) : "the hidden slot 0";
}

// A key as a read-back sees it, for saying how the keyboard's copy differs.
std::string Describe(const SlotReadBack& key) {
    switch (key.kind) {
        case SlotReadBack::Kind::Empty:
            return "nothing";
        case SlotReadBack::Kind::String:
            return "the string " + QuotedText(key.text) + " (" + FormatHexBytes(key.payload) + ")";
        case SlotReadBack::Kind::Mouse:
        case SlotReadBack::Kind::Keyboard: {
            std::string text = QuotedText(key.text) + " (" +
                               FormatHexBytes(std::span(key.report).subspan(1)) + ")";
            if (key.functionMode == kOnceMode) text += " once";
            return text;
        }
    }
    return "?";
}

}  // namespace

CliCommands::CliCommands(CliEnvironment environment) : env_(std::move(environment)) {}

int CliCommands::Delivered(int status) {
    const std::string failure = OutputFailure(env_.out);
    return failure.empty() ? status : Fail(kExitUsage, failure);
}

int CliCommands::Fail(int status, const std::string& message) {
    env_.err << "varnok-cli: " << message << "\n";
    return status;
}

HidPlatform* CliCommands::Keyboard() {
    std::string error;
    HidPlatform* keyboard = env_.keyboard(error);
    if (keyboard == nullptr) Fail(kExitUsage, error);
    return keyboard;
}

bool CliCommands::UseLayout(KeySlotsModel& model) {
    if (!env_.layout) return true;
    if (!layout_) {
        std::string error;
        layout_ = env_.layout(error);
        if (!layout_) {
            Fail(kExitUsage, error);
            return false;
        }
    }
    model.SetLayout(*layout_);
    return true;
}

bool CliCommands::LoadModel(KeySlotsModel& model) {
    // No file yet is an empty store; a file that cannot be loaded stops the command, before
    // the keyboard or any file is touched.
    if (const FileResult loaded = model.Load(); !loaded && loaded.problem != FileProblem::Missing) {
        Fail(kExitUsage, std::string(MessageFor(MessageId::StoreNotLoaded, 0).text) + " " +
                             DescribeFileResult(loaded, 0));
        return false;
    }
    RestoreFunctionModes(model, env_.settings);
    return true;
}

bool CliCommands::SaveModel(KeySlotsModel& model, std::span<const SettingChange> settings) {
    const FileResult saved = model.SaveStore(settings);
    if (saved) {
        for (const auto& notice : {model.KeptCopy(), model.Unguarded()}) {
            if (notice) env_.err << "varnok-cli: " << DescribeFileResult(*notice, 0) << "\n";
        }
        return true;
    }
    // The map names its own problem; the settings file is named with what it is.
    const bool map = saved.file == env_.mapFile;
    Fail(kExitUsage, (map ? std::string()
                          : std::string(MessageFor(MessageId::SettingsNotSaved, 0).text) + " ") +
                         DescribeFileResult(saved, 0) + "; nothing was changed");
    return false;
}

void CliCommands::PrintKeys(const KeySlotsModel& model, bool json) {
    std::vector<std::string> notices;
    const Profile profile = ProfileOfModel(model, StoredLanguage(env_.settings),
                                           StoredKeyCount(env_.settings), notices);
    for (const std::string& notice : notices) env_.err << "varnok-cli: " << notice << "\n";
    env_.out << (json ? WriteProfileJson(profile) : FormatKeyLines(profile));
}

int CliCommands::List(bool json) {
    HidPlatform* keyboard = Keyboard();
    if (keyboard == nullptr) return kExitUsage;
    const std::vector<ListedInterface> listed = env_.listing(*keyboard);
    const bool found = std::any_of(listed.begin(), listed.end(),
                                   [](const ListedInterface& entry) { return entry.usable; });
    if (json) {
        nlohmann::ordered_json array = nlohmann::ordered_json::array();
        for (const ListedInterface& entry : listed) {
            nlohmann::ordered_json item;
            item["node"] = entry.node;
            item["vendorId"] = HexId(entry.vendorId);
            item["productId"] = HexId(entry.productId);
            item["usable"] = entry.usable;
            if (const auto& c = entry.collection) {
                item["collection"] = {{"index", c->index},
                                      {"usagePage", HexId(c->collection.usagePage)},
                                      {"usage", HexId(c->collection.usage)}};
            }
            if (!entry.problem.empty()) item["problem"] = entry.problem;
            if (!entry.advice.empty()) item["advice"] = entry.advice;
            array.push_back(std::move(item));
        }
        env_.out << array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                 << "\n";
    } else {
        std::vector<std::string> advice;
        for (const ListedInterface& entry : listed) {
            env_.out << entry.node << "  " << HexId(entry.vendorId) << ":" << HexId(entry.productId)
                     << "  " << (entry.usable ? "keyboard" : "cannot be used: " + entry.problem);
            if (const auto& c = entry.collection) {
                env_.out << "  collection " << c->index << " (" << HexId(c->collection.usagePage)
                         << ":" << HexId(c->collection.usage) << ")";
            }
            env_.out << "\n";
            if (!entry.advice.empty() &&
                std::find(advice.begin(), advice.end(), entry.advice) == advice.end()) {
                advice.push_back(entry.advice);
            }
        }
        for (const std::string& line : advice) env_.out << line << "\n";
    }
    if (Delivered(kExitSuccess) != kExitSuccess) return kExitUsage;
    if (!found) return Fail(kExitKeyboard, "no keyboard found");
    return kExitSuccess;
}

int CliCommands::Show(bool json) {
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!UseLayout(model) || !LoadModel(model)) return kExitUsage;
    if (CompareWithKeyboard(model) == KeyboardCopy::Differs) {
        env_.err << "varnok-cli: " << KeyboardDiffersText(0) << "\n";
    }
    PrintKeys(model, json);
    return Delivered(kExitSuccess);
}

int CliCommands::Watch(bool json, std::optional<int> count) {
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!LoadModel(model)) return kExitUsage;
    std::string error;
    const std::unique_ptr<KeyboardInput> input =
        env_.keyboardInput ? env_.keyboardInput(error) : nullptr;
    if (!input) {
        const std::string advice = env_.accessAdvice ? env_.accessAdvice() : std::string();
        return Fail(kExitKeyboard, error + (advice.empty() ? "" : "\n" + advice));
    }
    for (const std::string& notice : input->Notices()) env_.err << "varnok-cli: " << notice << "\n";
    env_.err << "varnok-cli: press the keyboard's keys; Ctrl+C ends the test\n";
    env_.err.flush();

    int presses = 0;
    static const std::atomic<bool> kNeverStopped{false};
    const std::string failure = RunKeyTester(
        *input, model, env_.stop != nullptr ? *env_.stop : kNeverStopped,
        [&](const TesterEvent& event) {
            const auto* press = std::get_if<TestedPress>(&event);
            if (press) ++presses;
            if (!json) {
                env_.out << KeyTesterLine(event, 0) << "\n";
            } else if (press) {
                static constexpr const char* kKinds[] = {"chord", "click", "text"};
                nlohmann::ordered_json item;
                item["kind"] = kKinds[static_cast<int>(press->kind)];
                item["arrived"] = press->name;
                item["key"] = press->slot ? nlohmann::ordered_json(*press->slot) : nullptr;
                item["reports"] = nlohmann::ordered_json::array();
                for (const auto& report : press->reports) {
                    item["reports"].push_back(FormatHexBytes(report));
                }
                env_.out << item.dump(-1, ' ', false,
                                      nlohmann::ordered_json::error_handler_t::replace)
                         << "\n";
            } else {
                const IgnoredReport& ignored = std::get<IgnoredReport>(event);
                nlohmann::ordered_json item;
                item["ignored"] = FormatHexBytes(ignored.report);
                item["problem"] = ignored.problem;
                item["count"] = ignored.count;
                env_.out << item.dump(-1, ' ', false,
                                      nlohmann::ordered_json::error_handler_t::replace)
                         << "\n";
            }
            env_.out.flush();
            return !count || presses < *count;
        });
    if (!failure.empty()) return Fail(kExitKeyboard, failure);
    return Delivered(kExitSuccess);
}

int CliCommands::Read(bool takeIntoStore, bool json) {
    // The keyboard alone: a model that starts with every key empty and Normal, so that each
    // key's function comes from its record. Saved, it takes the seven slots into msmap.dat over
    // what the file held, as the window's read-back and Save do.
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!UseLayout(model)) return kExitUsage;
    if (takeIntoStore) {
        KeySlotsModel stored(SlotMap::InFile(env_.mapFile, &env_.settings));
        if (!LoadModel(stored)) return kExitUsage;
        // An empty key or a mouse click tells no function: those keep the stored one.
        for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
            model.SetFunctionMode(row, stored.FunctionMode(row));
        }
    }
    HidPlatform* keyboard = Keyboard();
    if (keyboard == nullptr) return kExitUsage;
    KeyboardLink link(*keyboard);
    ConsoleFlowHost host(env_.err, env_.errIsTerminal, nullptr, env_.stop, env_.accessAdvice);
    if (!ReadBackAllKeys(model, link, host)) {
        if (!host.LastMessage()) return Fail(kExitKeyboard, "stopped; nothing was read");
        return kExitKeyboard;
    }
    host.EndProgress();
    if (takeIntoStore && !SaveModel(model, model.FunctionModeSettings())) return kExitUsage;
    PrintKeys(model, json);
    return Delivered(kExitSuccess);
}

std::optional<int> CliCommands::RowKey(std::string_view given, std::string_view command) {
    // Decimal only: "010" is no key 8 and "0x2" no key 2. A number is named as given, unless too
    // long; anything else quoted, shortened.
    const std::string_view digits = given.starts_with('-') ? given.substr(1) : given;
    const bool number =
        !digits.empty() && given.size() <= kQuotedInputCharacters &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    std::string_view value = digits;
    while (value.size() > 1 && value.front() == '0') value.remove_prefix(1);
    if (number && digits == given && value.size() == 1 && IsRowSlot(value[0] - '0')) {
        return value[0] - '0';
    }
    Fail(kExitUsage, "KEY must be 1 to 6, not " +
                         (number ? std::string(given) : QuotedInput(given)) + "\nTry 'varnok-cli " +
                         std::string(command) + " --help'.");
    return std::nullopt;
}

int CliCommands::Set(std::string_view keyGiven, std::optional<std::int32_t> mode,
                     const std::string& definition) {
    const std::optional<int> rowKey = RowKey(keyGiven, "set");
    if (!rowKey) return kExitUsage;
    const int key = *rowKey;
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!UseLayout(model) || !LoadModel(model)) return kExitUsage;
    // Only --string makes a key type text: without a mode a chord or command item is Normal,
    // or Once where the key acts once already.
    std::int32_t rowMode =
        mode.value_or(model.FunctionMode(key) == kOnceMode ? kOnceMode : kNormalMode);
    if (rowMode != kOnceMode && rowMode != kStringMode) rowMode = kNormalMode;

    std::string reason;
    if (!DefineKeyFromText(model, key, rowMode, definition, reason)) {
        return Fail(kExitUsage, "key " + std::to_string(key) + ": " + reason);
    }
    // The key, its function and a key count that shows it, as one change: a mode that cannot
    // be kept leaves the key as it was. The window shows the first keynum + 1 rows.
    const bool shownBefore = StoredKeyCount(env_.settings) >= key;
    const std::vector<SettingChange> settings = {
        {std::string(kFunctionModeSettings[key]), rowMode},
        {std::string(kKeyCountSetting), key - 1, true},
    };
    if (!SaveModel(model, settings)) return kExitUsage;
    if (!shownBefore && StoredKeyCount(env_.settings) == key) {
        env_.err << "varnok-cli: the window now shows " << key << " keys\n";
    }
    PrintKey(model, key);
    return Delivered(kExitSuccess);
}

int CliCommands::Unset(std::string_view keyGiven) {
    const std::optional<int> rowKey = RowKey(keyGiven, "unset");
    if (!rowKey) return kExitUsage;
    const int key = *rowKey;
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!LoadModel(model)) return kExitUsage;
    // As a right click into the row: the key keeps its function and holds nothing.
    model.ForgetSlot(key);
    if (!SaveModel(model)) return kExitUsage;
    PrintKey(model, key);
    return Delivered(kExitSuccess);
}

void CliCommands::PrintKey(const KeySlotsModel& model, int key) {
    std::vector<std::string> notices;
    Profile profile = ProfileOfModel(model, 0, 1, notices);
    std::erase_if(profile.keys, [key](const ProfileKey& k) { return k.slot != key; });
    env_.out << FormatKeyLines(profile);
}

int CliCommands::Save(bool verify) {
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!UseLayout(model) || !LoadModel(model)) return kExitUsage;
    HidPlatform* keyboard = Keyboard();
    if (keyboard == nullptr) return kExitUsage;
    KeyboardLink link(*keyboard);
    ConsoleFlowHost host(env_.err, env_.errIsTerminal, nullptr, env_.stop, env_.accessAdvice);
    // The flow has said why and what the keyboard now holds.
    if (!SaveAllKeys(model, link, host)) return kExitKeyboard;
    // The keyboard took the table, but msmap.dat was left alone (the host said why).
    const int success = host.FileLeftAlone() ? kExitUsage : kExitSuccess;
    if (!verify) return success;

    std::vector<SlotMismatch> mismatches;
    const VerifyOutcome outcome = VerifyAllKeys(model, link, host, mismatches);
    host.EndProgress();
    if (outcome == VerifyOutcome::NotConnected || outcome == VerifyOutcome::ReadFailed) {
        return Fail(kExitKeyboard, "not verified: the keyboard could not be read back");
    }
    for (const SlotMismatch& mismatch : mismatches) {
        env_.err << "varnok-cli: " << SlotName(mismatch.slot) << " differs: saved "
                 << Describe(mismatch.written) << ", the keyboard holds "
                 << Describe(mismatch.found) << "\n";
    }
    if (outcome == VerifyOutcome::Differs) {
        const auto keys = std::count_if(mismatches.begin(), mismatches.end(),
                                        [](const SlotMismatch& m) { return IsRowSlot(m.slot); });
        const bool hidden = static_cast<std::size_t>(keys) < mismatches.size();
        std::string which = keys == 0 ? "" : std::to_string(keys) + " of the " + KeysCounted();
        if (hidden) which += (keys == 0 ? "" : " and ") + SlotName(0);
        return Fail(kExitKeyboard,
                    "not verified: " + which + (mismatches.size() == 1 ? " differs" : " differ"));
    }
    env_.out << "verified: the keyboard holds the " << KeysCounted() << " and " << SlotName(0)
             << " as saved\n";
    return Delivered(success);
}

int CliCommands::Clear() {
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!LoadModel(model)) return kExitUsage;
    ConsoleFlowHost host(env_.err, env_.errIsTerminal, nullptr, env_.stop, env_.accessAdvice);
    return ClearAllKeys(model, host) ? kExitSuccess : kExitUsage;
}

int CliCommands::Export(const std::string& file) {
    if (file != "-") {
        const std::string refusal = ProfileTargetRefusal(PathFromText(file), env_.mapFile, 0);
        if (!refusal.empty()) return Fail(kExitUsage, refusal);
    }
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!UseLayout(model) || !LoadModel(model)) return kExitUsage;
    std::vector<std::string> notices;
    Profile profile = ProfileOfStoredKeys(model, env_.settings, notices);
    profile.layout = env_.layoutName;
    for (const std::string& notice : notices) env_.err << "varnok-cli: " << notice << "\n";
    if (file == "-") {
        env_.out << WriteProfileJson(profile);
        return Delivered(kExitSuccess);
    }
    const std::string refusal = WriteProfileFile(profile, PathFromText(file), 0);
    if (!refusal.empty()) return Fail(kExitUsage, refusal);
    return kExitSuccess;
}

int CliCommands::Import(const std::string& file) {
    std::string refusal;
    errno = 0;
    const std::optional<Profile> profile =
        file == "-" ? ReadProfile(std::cin, "standard input", file, 0, refusal, env_.layoutByName)
                    : ReadProfileFile(PathFromText(file), 0, refusal, env_.layoutByName);
    // std::cin takes a failed read (a closed descriptor) for the end of the input: the C
    // stream beneath it knows, and the profile is then not what the input held.
    if (const int error = errno; file == "-" && std::ferror(stdin)) {
        return Fail(kExitUsage, "standard input could not be read" +
                                    (error != 0 ? std::string(" (") + std::strerror(error) + ")"
                                                : std::string()) +
                                    "; nothing was changed");
    }
    if (!profile) return Fail(kExitUsage, refusal);
    KeySlotsModel model(SlotMap::InFile(env_.mapFile, &env_.settings));
    if (!UseLayout(model) || !LoadModel(model)) return kExitUsage;
    refusal = ImportProfile(*profile, model, 0);
    if (!refusal.empty()) return Fail(kExitUsage, refusal);
    return kExitSuccess;
}

}  // namespace varnok
