#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "keys/KeyReport.h"

namespace varnok {

// A ready-made value offered in every row's value list: a mouse click or a system command.
// The list index is the item's index. The trailing bytes are kept with the item but never
// sent to the keyboard.
struct CommandItem {
    std::int32_t index;
    std::string_view name;
    KeyReport report;
    std::array<std::uint8_t, 4> trailing;
};

extern const std::array<CommandItem, 7> CommandItemTable;

}  // namespace varnok
