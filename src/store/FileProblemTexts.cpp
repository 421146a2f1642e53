#include "store/FileProblemTexts.h"

#include "store/QuotedText.h"

namespace varnok {

// clang-format off
const std::array<LanguageTextRow<FileProblem>, 20> FileProblemTexts = {{
    {FileProblem::Missing,           "the file does not exist",                          "文件不存在"},
    {FileProblem::ReadOnly,          "the file is read-only",                            "文件是只读的"},
    {FileProblem::NoNewFiles,        "the folder does not allow new files",              "文件夹不允许创建新文件"},
    {FileProblem::NoFolder,          "the folder does not exist",                        "文件夹不存在"},
    {FileProblem::NameTooLong,       "the name is too long for its folder",              "文件名对其文件夹而言太长"},
    {FileProblem::DiskFull,          "there is no room on the disk",                     "磁盘空间不足"},
    {FileProblem::NotAFile,          "it is not a regular file",                         "它不是普通文件"},
    {FileProblem::NotFileOrTerminal, "it is neither a regular file nor a terminal",      "它既不是普通文件也不是终端"},
    {FileProblem::BrokenLink,        "it is a symbolic link that leads nowhere",         "它是无效的符号链接"},
    {FileProblem::TooLargeToLoad,    "it is too large to be loaded and was left as it is", "文件太大无法读取，未作改动"},
    {FileProblem::Unreadable,        "it cannot be read and was left as it is",          "文件无法读取，未作改动"},
    {FileProblem::NotAMapFile,       "it holds no msmap.dat records and was left as it is", "它不是 msmap.dat 记录文件，未作改动"},
    {FileProblem::TooLargeToSave,    "it would become too large to be loaded again",     "文件将大到无法再次读取"},
    {FileProblem::Busy,              "another program is saving it",                     "另一个程序正在保存它"},
    {FileProblem::PartRecordKept,    "it ended in part of a record, which the save did not keep; the file as it was is kept", "文件末尾有不完整的记录，保存时未保留；原文件已另行保存"},
    {FileProblem::PartRecordNotKept, "it ends in part of a record, which a save would drop, and every name for a copy of the file as it is was taken; it was not saved", "文件末尾有不完整的记录，保存会丢弃它，而可用来另存原文件副本的名称都已被占用；未保存"},
    {FileProblem::NameTaken,         "a file of that name is there already and was left as it is", "同名文件已存在，未作改动"},
    {FileProblem::NotPrivate,        "another user owns the folder or others may write in it", "该文件夹属于其他用户或其他用户可以写入"},
    {FileProblem::WrittenUnguarded,  "it was saved where it stands with no journal, so a save cut off there could not have been undone", "已在原处保存但没有日志，因此中途被中断的保存将无法撤销"},
    {FileProblem::SystemError,       "the system refused",                               "系统拒绝"},
}};
// clang-format on

std::string DescribeFileResult(const FileResult& result, std::int32_t language) {
    std::string text = PathInMessage(result.file) + ": ";
    text += LanguageTextFor(FileProblemTexts, result.problem, language);
    if (!result.detail.empty()) {
        text += " (" + result.detail + ")";
    }
    return text;
}

}  // namespace varnok
