#include "keys/KeyLookup.h"

#include <algorithm>

#include "keys/CharacterTable.h"
#include "keys/CommandItemTable.h"
#include "keys/UsageTable.h"
#include "keys/VirtualKeyTable.h"

namespace varnok {

namespace {

constexpr std::uint8_t kFirstModifierUsage = 0xE0;
constexpr std::uint8_t kLastModifierUsage = 0xE7;

// Every run of blanks made one blank, and none at either end.
std::string CollapseBlanks(std::string_view name) {
    std::string collapsed;
    bool blank = false;
    for (const char c : name) {
        if (c == ' ' || c == '\t') {
            blank = !collapsed.empty();
            continue;
        }
        if (blank) collapsed += ' ';
        blank = false;
        collapsed += c;
    }
    return collapsed;
}

// Lower-case ASCII with blanks collapsed.
std::string FoldName(std::string_view name) {
    std::string folded = CollapseBlanks(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

template <typename Table, typename Match>
auto FindFirst(const Table& table, Match match) {
    const auto row = std::find_if(table.begin(), table.end(), match);
    return row == table.end() ? nullptr : &*row;
}

}  // namespace

std::optional<UsageOfKey> KeyCodeToUsage(std::uint8_t keyCode) {
    const auto* row =
        FindFirst(UsageTable, [&](const UsageRow& r) { return r.keyCode == keyCode; });
    if (row == nullptr) {
        return std::nullopt;
    }
    if (row->usage >= kFirstModifierUsage && row->usage <= kLastModifierUsage) {
        return UsageOfKey{true,
                          static_cast<std::uint8_t>(1u << (row->usage - kFirstModifierUsage))};
    }
    return UsageOfKey{false, row->usage};
}

std::optional<std::uint8_t> UsageToKeyCode(std::uint8_t usage) {
    const auto* row = FindFirst(UsageTable, [&](const UsageRow& r) { return r.usage == usage; });
    if (row == nullptr) {
        return std::nullopt;
    }
    return row->keyCode;
}

std::optional<CharKey> CharToKeyCode(char32_t character) {
    if (character == kNoCharacter) return std::nullopt;
    if (const auto* row = FindFirst(CharacterTable,
                                    [&](const CharacterRow& r) { return r.plain == character; })) {
        return CharKey{false, row->keyCode};
    }
    if (const auto* row = FindFirst(
            CharacterTable, [&](const CharacterRow& r) { return r.shifted == character; })) {
        return CharKey{true, row->keyCode};
    }
    return std::nullopt;
}

std::optional<char32_t> KeyCodeToChar(std::uint8_t keyCode, bool shifted) {
    const auto* row = FindFirst(CharacterTable, [&](const CharacterRow& r) {
        return r.keyCode == keyCode && (shifted ? r.shifted : r.plain) != kNoCharacter;
    });
    if (row == nullptr) {
        return std::nullopt;
    }
    return shifted ? row->shifted : row->plain;
}

std::string UsageName(std::uint8_t usage) {
    const auto* row = FindFirst(UsageTable, [&](const UsageRow& r) { return r.usage == usage; });
    return row == nullptr ? std::string() : std::string(row->name);
}

std::optional<std::string> CaptureName(std::uint8_t virtualKey) {
    const auto* row = FindFirst(VirtualKeyTable,
                                [&](const VirtualKeyRow& r) { return r.virtualKey == virtualKey; });
    if (row == nullptr) {
        return std::nullopt;
    }
    return std::string(row->name);
}

std::optional<std::size_t> CommandItemByName(std::string_view name) {
    const std::string wanted = FoldName(name);
    const auto* row = FindFirst(
        CommandItemTable, [&](const CommandItem& item) { return FoldName(item.name) == wanted; });
    if (row == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row - CommandItemTable.data());
}

std::string CommandItemNameList() {
    std::string list;
    for (const CommandItem& item : CommandItemTable) {
        list += (list.empty() ? "\"" : ", \"") + CollapseBlanks(item.name) + "\"";
    }
    return list;
}

}  // namespace varnok
