#include "ui/AboutTemplate.h"

#include <array>

#include "ui/ProgramVersion.h"

namespace varnok {

namespace {

using enum ControlKind;
using namespace ControlStyle;

// clang-format off
constexpr std::array kControls{
    //                    id  kind         x    y   w    h   text                         style
    DialogControlTemplate{-1, Icon,        11,  17, 20,  20, "",                          None},
    DialogControlTemplate{-1, StaticText,  40,  10, 119, 8,  kProgramTitle,               NoPrefix},
    DialogControlTemplate{-1, StaticText,  40,  25, 132, 8,  "\u00A9 2026 The Varnok authors", None},
    DialogControlTemplate{1,  PushButton,  178, 7,  50,  14, "OK",                        TabStop | Group | DefaultButton},
};
// clang-format on

constexpr DialogTemplate kTemplate{100, "About Varnok", 235, 55, 9, kControls};

}  // namespace

const DialogTemplate& AboutTemplate() {
    return kTemplate;
}

}  // namespace varnok
