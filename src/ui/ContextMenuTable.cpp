#include "ui/ContextMenuTable.h"

#include "ui/ControlIds.h"

namespace varnok {

using namespace ControlId;

// Text after a tab is the entry's shortcut, shown in a column of its own.
// clang-format off
const std::array<ContextMenuEntry, 10> ContextMenuTable{{
    // entry        English                     Chinese
    {ReadBackEntry, "Read keys from keyboard",  "从键盘读取按键"},
    {TestKeysEntry, "Test keys...",             "测试按键..."},
    {0,             "",                         ""},
    {UndoEntry,     "Undo\tCtrl+Z",             "撤销\tCtrl+Z"},
    {RedoEntry,     "Redo\tCtrl+Y",             "重做\tCtrl+Y"},
    {0,             "",                         ""},
    {ExportEntry,   "Export keys to file...",   "导出按键到文件..."},
    {ImportEntry,   "Import keys from file...", "从文件导入按键..."},
    {0,             "",                         ""},
    {AboutEntry,    "About Varnok...",          "关于 Varnok..."},
}};
// clang-format on

}  // namespace varnok
