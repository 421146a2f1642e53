#include "ui/WindowPhraseTable.h"

namespace varnok {

// clang-format off
const std::array<WindowPhraseRow, 7> WindowPhraseTable{{
    {WindowPhrase::Recording,       "Press the keys...",       "请按下按键..."},
    {WindowPhrase::ValueBoxHint,
        "Click, or press Enter or Space, then press the chord: every key belongs to it, "
        "Tab, Enter and Escape too. Click the box again to cancel; a right click empties it. "
        "F4 or Alt+Down opens the ready-made actions.",
        "单击或按 Enter 或空格键, 然后按下组合键: 每个键都属于它, Tab、Enter 和 Esc 也是. "
        "再次单击此框取消; 右键清空. F4 或 Alt+向下键打开预设动作."},
    {WindowPhrase::UnsavedQuestion, "Save the changed keys to the keyboard?",
                                    "是否把更改的按键保存到键盘?"},
    {WindowPhrase::UnsavedDetail,   "Discard closes Varnok and the changes are lost.",
                                    "放弃将关闭 Varnok, 更改会丢失."},
    {WindowPhrase::SaveAnswer,      "Save",                    "保存"},
    {WindowPhrase::DiscardAnswer,   "Discard",                 "放弃"},
    {WindowPhrase::CancelAnswer,    "Cancel",                  "取消"},
}};
// clang-format on

std::string_view WindowPhraseFor(WindowPhrase phrase, std::int32_t language) {
    return LanguageTextFor(WindowPhraseTable, phrase, language);
}

}  // namespace varnok
