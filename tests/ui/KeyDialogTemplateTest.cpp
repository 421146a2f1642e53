#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"

namespace varnok {
namespace {

// Every id the window's behaviour addresses must name exactly one control of the template.
TEST(KeyDialogTemplate, EveryAddressedIdNamesOneControl) {
    std::map<int, int> count;
    for (const DialogControlTemplate& control : KeyDialogTemplate().controls) ++count[control.id];

    const int ids[] = {
        ControlId::Exit,          ControlId::Save,          ControlId::Clear,
        ControlId::Ctrl,          ControlId::Shift,         ControlId::Alt,
        ControlId::GetDefinedKey, ControlId::KeyCount,      ControlId::ValueBox1,
        ControlId::ValueBox2,     ControlId::ValueBox3,     ControlId::ValueBox4,
        ControlId::ValueBox5,     ControlId::ValueBox6,     ControlId::HiddenValue,
        ControlId::Language,      ControlId::Row2Label,     ControlId::Row3Label,
        ControlId::Prompt,        ControlId::Heading,       ControlId::Row4Label,
        ControlId::Row5Label,     ControlId::Row6Label,     ControlId::FunctionList1,
        ControlId::FunctionList2, ControlId::FunctionList3, ControlId::FunctionList4,
        ControlId::FunctionList5, ControlId::FunctionList6, ControlId::KeyCountLabel,
        ControlId::Status,        ControlId::ProgressText,  ControlId::Progress,
        ControlId::Notice,        ControlId::LayoutLabel,   ControlId::Layout,
    };
    for (int id : ids) EXPECT_EQ(count[id], 1) << "control " << id;
    // Besides those: the row 1 label, the language list's label and the Group Key frame.
    EXPECT_EQ(count[ControlId::Unnamed], 3);
    EXPECT_EQ(KeyDialogTemplate().controls.size(), std::size(ids) + 3);
}

TEST(KeyDialogTemplate, ControlsLieInsideTheWindow) {
    const DialogTemplate& dialog = KeyDialogTemplate();
    for (const DialogControlTemplate& control : dialog.controls) {
        EXPECT_GE(control.x, 0) << control.text;
        EXPECT_GE(control.y, 0) << control.text;
        EXPECT_LE(control.x + control.width, dialog.width) << "control " << control.id;
        // A combo box's height includes its dropped list, which may leave the window.
        if (control.kind != ControlKind::DropDownCombo &&
            control.kind != ControlKind::DropDownList) {
            EXPECT_LE(control.y + control.height, dialog.height) << "control " << control.id;
        }
    }
}

// No button is the default one: Enter presses nothing, and Save looks the same as the other
// buttons until it has the focus. Get Defined Key, the slot 0 field and the lines of a
// running flow and of a refused input start hidden; the labels take no focus while every
// operable control does.
TEST(KeyDialogTemplate, StylesMatchTheRoles) {
    std::set<int> defaults, hidden;
    for (const DialogControlTemplate& control : KeyDialogTemplate().controls) {
        if (control.Has(ControlStyle::DefaultButton)) defaults.insert(control.id);
        if (control.Has(ControlStyle::Hidden)) hidden.insert(control.id);
        bool operable =
            control.kind != ControlKind::StaticText && control.kind != ControlKind::GroupBox &&
            control.kind != ControlKind::Icon && control.kind != ControlKind::ProgressBar;
        EXPECT_EQ(control.Has(ControlStyle::TabStop), operable) << "control " << control.id;
        if (ControlId::IsValueBox(control.id)) {
            EXPECT_EQ(control.kind, ControlKind::DropDownCombo);
            EXPECT_TRUE(control.Has(ControlStyle::AutoHScroll));
        }
        // The owner picks a row's function from its list and types nothing there.
        if (ControlId::IsFunctionList(control.id) || control.id == ControlId::Language ||
            control.id == ControlId::KeyCount) {
            EXPECT_EQ(control.kind, ControlKind::DropDownList);
        }
    }
    EXPECT_TRUE(defaults.empty());
    EXPECT_EQ(hidden,
              (std::set<int>{ControlId::GetDefinedKey, ControlId::HiddenValue,
                             ControlId::ProgressText, ControlId::Progress, ControlId::Notice}));
}

}  // namespace
}  // namespace varnok
