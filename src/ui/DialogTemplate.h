#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace varnok {

// What a control of a dialog template is. Drop-down combo boxes have an edit field; drop-down
// lists only show the selected item.
enum class ControlKind {
    PushButton,
    CheckBox,  // automatic: a click toggles it
    GroupBox,
    StaticText,
    Icon,  // the program icon
    DropDownCombo,
    DropDownList,
    ProgressBar,
};

// Style bits of a template control. A control is visible unless it is Hidden.
namespace ControlStyle {
// clang-format off
constexpr std::uint32_t None          = 0;
constexpr std::uint32_t TabStop       = 1u << 0;
constexpr std::uint32_t Group         = 1u << 1;  // starts a group of controls
constexpr std::uint32_t DefaultButton = 1u << 2;
constexpr std::uint32_t Hidden        = 1u << 3;  // created hidden
constexpr std::uint32_t AutoHScroll   = 1u << 4;  // the edit field scrolls its text sideways
constexpr std::uint32_t VScroll       = 1u << 5;  // the drop-down list has a vertical scroll bar
constexpr std::uint32_t NoPrefix      = 1u << 6;  // "&" is shown, not taken as a mnemonic
// clang-format on
}  // namespace ControlStyle

// One control of a dialog template. Position and size are in dialog units; for combo boxes
// the height includes the dropped-down list.
struct DialogControlTemplate {
    int id;
    ControlKind kind;
    int x;
    int y;
    int width;
    int height;
    std::string_view text;  // UTF-8
    std::uint32_t style;

    constexpr bool Has(std::uint32_t bits) const { return (style & bits) == bits; }
};

// A dialog template: the window's client size in dialog units, its caption and font size, and
// its controls in template order, which is also the tab order.
struct DialogTemplate {
    int id;
    std::string_view caption;  // UTF-8
    int width;
    int height;
    int fontPoints;
    std::span<const DialogControlTemplate> controls;
    // The band of rows, top and bottom edge in dialog units, that scrolls where the window
    // cannot fit its screen's work area, so that the controls above and below it stay whole.
    // A dialog without one (both 0) is small enough for any screen.
    int scrollTop = 0;
    int scrollBottom = 0;
};

}  // namespace varnok
