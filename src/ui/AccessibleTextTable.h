#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnok {

// What a screen reader says for each operable control of the main window: its name and what it
// does, in both languages. A name is empty where a text on screen names the control: its own
// (the buttons and the Group Key boxes) or its label's (the key count list).
struct AccessibleText {
    int control;
    std::string_view englishName;
    std::string_view englishDescription;
    std::string_view chineseName;
    std::string_view chineseDescription;
};

extern const std::array<AccessibleText, 21> AccessibleTextTable;

}  // namespace varnok
