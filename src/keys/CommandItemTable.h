#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "keys/KeyReport.h"

namespace varnok {

// A ready-made value offered in every row's value list: a mouse click, a system command, or a
// key that cannot be recorded by pressing it (Escape alone cancels a recording). The list
// index is the item's index; the list shows chineseName in a Chinese window, and the row (and
// msmap.dat) holds name in either language. The trailing bytes are kept with the item but never
// sent to the keyboard.
struct CommandItem {
    std::int32_t index;
    std::string_view name;
    std::string_view chineseName;
    KeyReport report;
    std::array<std::uint8_t, 4> trailing;
};

extern const std::array<CommandItem, 8> CommandItemTable;

}  // namespace varnok
