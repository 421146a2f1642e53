#pragma once

#include <array>
#include <string_view>

namespace varnok {

// The window's rows, one per key slot: the value box that shows and captures the slot's
// definition, the function list that holds its mode, the label with the row number, and the
// settings value that keeps the mode. Slot 0 has only a hidden value field; row 1's label has
// no id and is never touched.
struct RowControls {
    int slot;
    int valueBox;
    int functionList;  // 0: none
    int label;         // 0: none that the window touches
    std::string_view modeSetting;
};

// clang-format off
inline constexpr std::array<RowControls, 7> RowTable{{
    // slot  value box  function list  label  mode setting
    {0,      1030,      0,             0,     ""          },
    {1,      1024,      1054,          0,     "KeyFun1Sel"},
    {2,      1025,      1055,          1032,  "KeyFun2Sel"},
    {3,      1026,      1056,          1033,  "KeyFun3Sel"},
    {4,      1027,      1057,          1036,  "KeyFun4Sel"},
    {5,      1028,      1058,          1037,  "KeyFun5Sel"},
    {6,      1029,      1059,          1038,  "KeyFun6Sel"},
}};
// clang-format on

constexpr int kSlotCount = 7;
constexpr int kFirstRowSlot = 1;

// The slot whose value box has this id (1024..1029 → 1..6), or -1.
constexpr int SlotOfValueBox(int id) { return id >= 1024 && id <= 1029 ? id - 1023 : -1; }
// The row whose function list has this id (1054..1059 → 1..6), or -1.
constexpr int RowOfFunctionList(int id) { return id >= 1054 && id <= 1059 ? id - 1053 : -1; }

}  // namespace varnok
