#include "ui/WindowLabelTable.h"

namespace varnok {

// The English prompt has two blanks between "delete" and "mouse", as Varnok has always shown
// it.
// clang-format off
const std::array<WindowLabel, 8> WindowLabelTable{{
    // control  English                    Chinese
    {1034, "Please Input Self-Definition key,To choose mouse left,To delete  mouse right."
           "Support alphanumeric,number and symbol string",
           "请输入自定义键,鼠标左键选择,右键删除!支持字母与数字与符号串联."},
    {1035,      "Keyboard Define",         "键值定义"},
    {1004,      "Clear",                   "清空"},
    {1019,      "Get Defined Key",         "上传自定义键"},
    {1000,      "Save",                    "保存"},
    {2,         "Exit",                    "退出"},
    {1021,      "Keys shown",              "显示按键数"},  // the window shows the first N keys
    {1044,      "Keyboard layout",         "键盘布局"},  // the layout string keys type for
}};
// clang-format on

std::string_view WindowLabelFor(int control, std::int32_t language) {
    return LanguageTextFor(WindowLabelTable, control, language);
}

}  // namespace varnok
