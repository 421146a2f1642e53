#pragma once

#include <array>

#include "keys/KeySlots.h"
#include "ui/ControlIds.h"

namespace varnok {

// The window's rows, one per key slot: the value box that shows and captures the slot's
// definition, the function list that holds its mode, and the label with the row number. Slot 0
// has only a hidden value field; row 1's label has no id and is never touched.
struct RowControls {
    int slot;
    int valueBox;
    int functionList;  // 0: none
    int label;         // 0: none that the window touches
};

// clang-format off
inline constexpr std::array<RowControls, 7> RowControlTable{{
    // slot  value box               function list              label
    {0,      ControlId::HiddenValue, 0,                         0                   },
    {1,      ControlId::ValueBox1,   ControlId::FunctionList1,  0                   },
    {2,      ControlId::ValueBox2,   ControlId::FunctionList2,  ControlId::Row2Label},
    {3,      ControlId::ValueBox3,   ControlId::FunctionList3,  ControlId::Row3Label},
    {4,      ControlId::ValueBox4,   ControlId::FunctionList4,  ControlId::Row4Label},
    {5,      ControlId::ValueBox5,   ControlId::FunctionList5,  ControlId::Row5Label},
    {6,      ControlId::ValueBox6,   ControlId::FunctionList6,  ControlId::Row6Label},
}};
// clang-format on

// The slot whose value box has this id (1024..1029 → 1..6), or -1.
constexpr int SlotOfValueBox(int id) {
    return ControlId::IsValueBox(id) ? id - ControlId::ValueBox1 + 1 : -1;
}
// The row whose function list has this id (1054..1059 → 1..6), or -1.
constexpr int RowOfFunctionList(int id) {
    return ControlId::IsFunctionList(id) ? id - ControlId::FunctionList1 + 1 : -1;
}

}  // namespace varnok
