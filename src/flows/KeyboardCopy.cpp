#include "flows/KeyboardCopy.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "keys/KeySlots.h"
#include "keys/KeySlotsModel.h"
#include "store/ChangeJournal.h"
#include "store/InPlaceFile.h"
#include "store/ReplaceFile.h"

namespace varnok {

namespace {

namespace fs = std::filesystem;

// The file holds the digest in hex; a table no rows make (a mix) is written as this.
constexpr std::string_view kMixed = "mixed";

// FNV-1a over the seven records a save sends, in order.
std::string Digest(const KeySlotsModel& model) {
    std::uint64_t hash = 0xCBF29CE484222325;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const KeyRecord record = model.RecordOf(slot);
        for (const std::uint8_t byte : record.bytes) hash = (hash ^ byte) * 0x100000001B3;
        hash = (hash ^ 0xFFu) * 0x100000001B3;
    }
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    return text;
}

// Kept per map: a --map of its own is another set of keys.
std::string DigestName(const KeySlotsModel& model) {
    return "keyboard-" + MapFileKey(RealFile(model.Map().FilePath()));
}

void Remember(const KeySlotsModel& model, std::string_view digest) {
    fs::path folder;
    if (PrivateStateFolder(folder)) {
        const fs::path file = folder / DigestName(model);
        ReplaceFile(file, {reinterpret_cast<const std::uint8_t*>(digest.data()), digest.size()});
    }
}

}  // namespace

KeyboardCopy CompareWithKeyboard(const KeySlotsModel& model) {
    const std::optional<fs::path> folder = UserStateFolder();
    if (!folder) return KeyboardCopy::Unknown;
    std::ifstream in(*folder / DigestName(model), std::ios::binary);
    std::string remembered(32, '\0');
    in.read(remembered.data(), static_cast<std::streamsize>(remembered.size()));
    remembered.resize(static_cast<std::size_t>(in.gcount()));
    if (remembered.empty()) return KeyboardCopy::Unknown;
    return remembered == Digest(model) ? KeyboardCopy::Holds : KeyboardCopy::Differs;
}

void RememberKeyboardHolds(const KeySlotsModel& model) {
    Remember(model, Digest(model));
}

void RememberKeyboardMixed(const KeySlotsModel& model) {
    Remember(model, kMixed);
}

std::string_view KeyboardDiffersText(std::int32_t language) {
    return language == 0 ? "the keyboard does not hold these keys yet: Save writes them"
                         : "键盘尚未保存这些按键：点击保存即可写入";
}

}  // namespace varnok
