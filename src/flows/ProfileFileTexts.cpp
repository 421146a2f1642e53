#include "flows/ProfileFileTexts.h"

namespace varnok {

// clang-format off
const std::array<LanguageTextRow<ProfileText>, 14> ProfileTexts = {{
    {ProfileText::MapFileTaken,       "is the file Varnok keeps the keys' texts in; the profile needs a file of its own",
                                      "是 Varnok 保存按键文字的文件；配置文件需要另用一个文件"},
    {ProfileText::NothingChanged,     "; nothing was changed",                 "；未作任何改动"},
    {ProfileText::SizeLimit,          "a profile holds at most 1 MiB",         "配置文件最大为 1 MiB"},
    {ProfileText::SettingsNotWritten, "the settings cannot be written",        "设置无法写入"},
    {ProfileText::ExportTitle,        "Export keys to file",                   "导出按键到文件"},
    {ProfileText::ImportTitle,        "Import keys from file",                 "从文件导入按键"},
    {ProfileText::FileType,           "Varnok profiles",                       "Varnok 配置文件"},
    {ProfileText::AllFiles,           "All files",                             "所有文件"},
    {ProfileText::Caption,            "Information!",                          "提示!"},
    {ProfileText::Exported,           "Keys exported to file!",                "按键已导出到文件!"},
    {ProfileText::NotExported,        "Keys not exported!",                    "按键未能导出!"},
    {ProfileText::Imported,           "Keys imported from file!",              "已从文件导入按键!"},
    {ProfileText::NotImported,        "Keys not imported!",                    "按键未能导入!"},
    {ProfileText::KeyboardAtNextSave, "The keyboard gets these keys at the next Save.",
                                      "键盘在下次保存时获得这些按键。"},
}};
// clang-format on

std::string_view ProfileTextFor(ProfileText id, std::int32_t language) {
    return LanguageTextFor(ProfileTexts, id, language);
}

}  // namespace varnok
