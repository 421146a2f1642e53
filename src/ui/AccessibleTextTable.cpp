#include "ui/AccessibleTextTable.h"

#include "ui/ControlIds.h"

namespace varnok {
namespace {

constexpr std::string_view kGroupKey = "Adds this modifier to every chord a key box takes";
constexpr std::string_view kGroupKeyChinese = "给按键框录入的每个组合键加上这个修饰键";
constexpr std::string_view kValueBox =
    "The chord the key sends: click, or press Enter or Space, and press it; a right click "
    "empties it. In a String row, the text the key types";
constexpr std::string_view kValueBoxChinese =
    "按键发送的组合键: 单击或按 Enter 或空格键, 然后按下它; 右键清空. 一次多键行: 按键输入的文字";
constexpr std::string_view kFunctionList =
    "Normal, Once or String: how the key sends its definition";
constexpr std::string_view kFunctionListChinese = "单键、一次单键或一次多键: 按键怎样发送定义";

}  // namespace

using namespace ControlId;

// clang-format off
const std::array<AccessibleText, 21> AccessibleTextTable{{
    // control      English name         description     Chinese name   description
    {Save,          "",                  "Writes the keys into the keyboard",
                                        "", "把按键写入键盘"},
    {Exit,          "",                  "Closes Varnok (Escape)",
                                        "", "关闭 Varnok (Esc)"},
    {Clear,         "",                  "Empties every key; the keyboard keeps its own until the next Save",
                                        "", "清空所有按键; 键盘在下次保存前保留原有按键"},
    {Ctrl,          "",                  kGroupKey,
                                        "", kGroupKeyChinese},
    {Shift,         "",                  kGroupKey,
                                        "", kGroupKeyChinese},
    {Alt,           "",                  kGroupKey,
                                        "", kGroupKeyChinese},
    {ValueBox1,     "Key 1",             kValueBox,
                                        "按键 1", kValueBoxChinese},
    {ValueBox2,     "Key 2",             kValueBox,
                                        "按键 2", kValueBoxChinese},
    {ValueBox3,     "Key 3",             kValueBox,
                                        "按键 3", kValueBoxChinese},
    {ValueBox4,     "Key 4",             kValueBox,
                                        "按键 4", kValueBoxChinese},
    {ValueBox5,     "Key 5",             kValueBox,
                                        "按键 5", kValueBoxChinese},
    {ValueBox6,     "Key 6",             kValueBox,
                                        "按键 6", kValueBoxChinese},
    {FunctionList1, "Function of key 1", kFunctionList,
                                        "按键 1 的功能", kFunctionListChinese},
    {FunctionList2, "Function of key 2", kFunctionList,
                                        "按键 2 的功能", kFunctionListChinese},
    {FunctionList3, "Function of key 3", kFunctionList,
                                        "按键 3 的功能", kFunctionListChinese},
    {FunctionList4, "Function of key 4", kFunctionList,
                                        "按键 4 的功能", kFunctionListChinese},
    {FunctionList5, "Function of key 5", kFunctionList,
                                        "按键 5 的功能", kFunctionListChinese},
    {FunctionList6, "Function of key 6", kFunctionList,
                                        "按键 6 的功能", kFunctionListChinese},
    {Language,      "Language",          "The window's language",
                                        "语言", "窗口的语言"},
    {KeyCount,      "",                  "How many keys the window shows",
                                        "", "窗口显示多少个按键"},
    {Layout,        "",                  "The layout the computer types String keys with",
                                        "", "电脑输入字符串键所用的键盘布局"},
}};
// clang-format on

}  // namespace varnok
