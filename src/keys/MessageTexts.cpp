#include "keys/MessageTexts.h"

namespace varnok {

// The two not-connected texts differ in Chinese only ("USB" and "Usb "): both are what users
// of the keyboard have always seen.
// clang-format off
const std::array<MessageTextRow, 15> MessageTexts = {{
    {MessageId::SaveNotConnected, {"Usb HIDKB Not Connected!",           "Information!"}, {"USB控制器没有连接!",      "提示!"}},
    {MessageId::ReadNotConnected, {"Usb HIDKB Not Connected!",           "Information!"}, {"Usb 控制器没有连接!",     "提示!"}},
    {MessageId::SaveSucceeded,    {"Save Key Successful!",               "Information!"}, {"保存键成功!",             "提示!"}},
    {MessageId::SaveRecordFailed, {"Save Key Error!",                    "Information!"}, {"保存出错!",               "提示!"}},
    {MessageId::SaveEmptyFailed,  {"Save Key Error!",                    "Information!"}, {"保存错误!",               "提示!"}},
    {MessageId::SaveStopped,      {"Save Key Stopped!",                  "Information!"}, {"保存已中断!",             "提示!"}},
    {MessageId::ReadSucceeded,    {"Get Key Successful!",                "Information!"}, {"上传键成功!",             "提示!"}},
    {MessageId::ReadFailed,       {"Get Key Error!",                     "Information!"}, {"上传键出错!",             "提示!"}},
    {MessageId::OnlyGroupKey,     {"Only Group Key Supported!",          "Information!"}, {"目前只支持组合键!",       "提示!"}},
    {MessageId::StoreNotSaved,    {"Key definitions not saved to file!", "Information!"}, {"按键定义未能保存到文件!", "提示!"}},
    {MessageId::StoreCopyKept,    {"Key definitions saved to file.",     "Information!"}, {"按键定义已保存到文件。",   "提示!"}},
    {MessageId::StoreUnguarded,   {"Key definitions saved to file.",     "Information!"}, {"按键定义已保存到文件。",   "提示!"}},
    {MessageId::StoreNotLoaded,   {"Key definitions not loaded from file!", "Information!"}, {"未能从文件读取按键定义!", "提示!"}},
    {MessageId::SettingsNotSaved, {"Settings not saved to file!",        "Information!"}, {"设置未能保存到文件!",     "提示!"}},
    {MessageId::StartRefused,     {"Varnok cannot start:",               "Information!"}, {"Varnok 无法启动：",       "提示!"}},
}};
// clang-format on

MessageText MessageFor(MessageId id, std::int32_t language) {
    for (const MessageTextRow& row : MessageTexts) {
        if (row.id == id) {
            return language == 0 ? row.english : row.chinese;
        }
    }
    return {};
}

}  // namespace varnok
