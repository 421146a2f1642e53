#include "ui/AboutTemplate.h"

#include <array>

#include "ui/ProgramVersion.h"

namespace varnok {

namespace {

using enum ControlKind;
using namespace ControlStyle;

// One layout; the rights notice and OK in the window's language.
constexpr std::array<DialogControlTemplate, 4> Controls(std::string_view rights,
                                                        std::string_view ok) {
    // clang-format off
    return {{
        //  id  kind         x    y   w    h   text           style
        {   -1, Icon,        11,  17, 20,  20, "",            None},
        {   -1, StaticText,  40,  10, 119, 8,  kProgramTitle, NoPrefix},
        {   -1, StaticText,  40,  25, 132, 8,  rights,        None},
        {   1,  PushButton,  178, 7,  50,  14, ok,            TabStop | Group | DefaultButton},
    }};
    // clang-format on
}

constexpr auto kEnglish = Controls("\u00A9 2026 The Varnok authors", "OK");
constexpr auto kChinese = Controls("\u00A9 2026 Varnok 作者", "确定");

constexpr DialogTemplate kTemplates[] = {
    {100, "About Varnok", 235, 55, 9, kEnglish},
    {100, "关于 Varnok", 235, 55, 9, kChinese},
};

}  // namespace

const DialogTemplate& AboutTemplate(std::int32_t language) {
    return kTemplates[language != 0 ? 1 : 0];
}

}  // namespace varnok
