#include "ui/KeyDialogTemplate.h"

#include <array>

#include "ui/ControlIds.h"

namespace varnok {

namespace {

using enum ControlKind;
using namespace ControlStyle;
using namespace ControlId;

constexpr std::uint32_t kButton = TabStop;
constexpr std::uint32_t kLabel = None;
constexpr std::uint32_t kModifier = TabStop | Group;
constexpr std::uint32_t kValueBox = TabStop | AutoHScroll;
constexpr std::uint32_t kScrollingValueBox = TabStop | AutoHScroll | VScroll;
constexpr std::uint32_t kList = TabStop | VScroll;

constexpr std::string_view kPrompt =
    "Please Input Self-Definition key,To choose mouse left,To delete  mouse right."
    "Support alphanumeric,number and symbol string";

// Template order is the tab order and the creation order, and it follows the screen: the
// left column top down, the rows one by one (value box, then function), the keyboard layout
// below them, the Group Key boxes, then Clear, Save and Exit. A label comes just before what
// it names.
// clang-format off
constexpr std::array kControls{
    //                    id             kind            x    y    w    h   text               style
    DialogControlTemplate{Prompt,        StaticText,     65,  7,   167, 25, kPrompt,           kLabel},
    DialogControlTemplate{Heading,       StaticText,     99,  37,  67,  12, "Keyboard Define", kLabel},
    DialogControlTemplate{Unnamed,       StaticText,     23,  66,  35,  9,  "Language",        kLabel},
    DialogControlTemplate{Language,      DropDownList,   18,  84,  45,  39, "",                kList},
    DialogControlTemplate{KeyCountLabel, StaticText,     18,  105, 45,  9,  "Keys shown",      kLabel},
    DialogControlTemplate{KeyCount,      DropDownList,   18,  122, 45,  48, "",                kList},
    DialogControlTemplate{Unnamed,       StaticText,     80,  55,  8,   14, "1",               kLabel},
    DialogControlTemplate{ValueBox1,     DropDownCombo,  95,  54,  93,  83, "",                kValueBox},
    DialogControlTemplate{FunctionList1, DropDownList,   193, 54,  42,  41, "",                kList},
    DialogControlTemplate{Row2Label,     StaticText,     79,  78,  8,   14, "2",               kLabel},
    DialogControlTemplate{ValueBox2,     DropDownCombo,  96,  78,  92,  82, "",                kValueBox},
    DialogControlTemplate{FunctionList2, DropDownList,   193, 78,  42,  50, "",                kList},
    DialogControlTemplate{Row3Label,     StaticText,     79,  103, 8,   14, "3",               kLabel},
    DialogControlTemplate{ValueBox3,     DropDownCombo,  96,  103, 93,  61, "",                kValueBox},
    DialogControlTemplate{FunctionList3, DropDownList,   193, 102, 42,  45, "",                kList},
    DialogControlTemplate{Row4Label,     StaticText,     80,  129, 8,   14, "4",               kLabel},
    DialogControlTemplate{ValueBox4,     DropDownCombo,  96,  127, 93,  47, "",                kScrollingValueBox},
    DialogControlTemplate{FunctionList4, DropDownList,   193, 125, 42,  56, "",                kList},
    DialogControlTemplate{Row5Label,     StaticText,     80,  152, 8,   14, "5",               kLabel},
    DialogControlTemplate{ValueBox5,     DropDownCombo,  96,  152, 93,  69, "",                kScrollingValueBox},
    DialogControlTemplate{FunctionList5, DropDownList,   193, 152, 42,  46, "",                kList},
    DialogControlTemplate{Row6Label,     StaticText,     80,  177, 8,   14, "6",               kLabel},
    DialogControlTemplate{ValueBox6,     DropDownCombo,  96,  176, 94,  46, "",                kScrollingValueBox},
    DialogControlTemplate{FunctionList6, DropDownList,   194, 176, 42,  41, "",                kList},
    DialogControlTemplate{LayoutLabel,   StaticText,     23,  208, 58,  9,  "Keyboard layout", kLabel},
    DialogControlTemplate{Layout,        DropDownList,   85,  206, 150, 80, "",                kList},
    DialogControlTemplate{HiddenValue,   DropDownCombo,  7,   150, 27,  85, "",                kScrollingValueBox | Hidden},
    DialogControlTemplate{GetDefinedKey, PushButton,     95,  203, 89,  19, "Get Defined Key", kButton | Hidden},
    DialogControlTemplate{ProgressText,  StaticText,     28,  219, 110, 10, "",                kLabel | NoPrefix | Hidden},
    DialogControlTemplate{Progress,      ProgressBar,    142, 219, 105, 9,  "",                kLabel | Hidden},
    DialogControlTemplate{Unnamed,       GroupBox,       28,  229, 219, 39, "Group Key",       kLabel},
    DialogControlTemplate{Ctrl,          CheckBox,       40,  245, 32,  10, "Ctrl",            kModifier},
    DialogControlTemplate{Alt,           CheckBox,       119, 245, 28,  10, "Alt",             kModifier},
    DialogControlTemplate{Shift,         CheckBox,       193, 245, 36,  10, "Shift",           kModifier},
    DialogControlTemplate{Notice,        StaticText,     23,  272, 224, 10, "",                kLabel | NoPrefix | Hidden},
    DialogControlTemplate{Clear,         PushButton,     23,  286, 44,  17, "Clear",           kButton},
    DialogControlTemplate{Save,          PushButton,     108, 286, 50,  17, "Save",            kButton},
    DialogControlTemplate{Exit,          PushButton,     197, 286, 50,  17, "Exit",            kButton},
    DialogControlTemplate{Status,        StaticText,     23,  309, 224, 34, "",                kLabel | NoPrefix},
};
// clang-format on

// The rows scroll: from below the heading to above the progress line, so the language and key
// count lists go with them and Group Key, the buttons and the status line stay in view.
constexpr DialogTemplate kTemplate{
    102, "Varnok Keyboard 3.0 Designed by QV", 263, 348, 9, kControls, 50, 200,
};

}  // namespace

const DialogTemplate& KeyDialogTemplate() {
    return kTemplate;
}

}  // namespace varnok
