#pragma once

#include <filesystem>
#include <string>

namespace varnok {

// Why a file the program reads or writes, or means to write, was left alone.
enum class FileProblem {
    None,
    Missing,            // there is no such file
    ReadOnly,           // the file may not be written
    NoNewFiles,         // the folder takes no new files, and there is no file to write over
    NoFolder,           // the folder does not exist
    NameTooLong,        // the name, or that of a file made beside it, is too long for its folder
    DiskFull,           // no room on the disk, or over the process's file size limit
    NotAFile,           // a folder, pipe or device where a regular file belongs
    NotFileOrTerminal,  // an output that is neither a regular file nor a terminal
    BrokenLink,         // a symbolic link to nothing, or a loop of links
    TooLargeToLoad,     // a file that could not be loaded: writing it would lose its contents
    Unreadable,         // a file that cannot be read: writing it would lose its contents
    NotAMapFile,        // text or other bytes where msmap.dat records belong: left as it is
    TooLargeToSave,     // what would be written is more than the next load reads
    Busy,               // another program holds the file for its own save
    PartRecordKept,     // saved, but the file ended in part of a record: kept as it was elsewhere
    PartRecordNotKept,  // the file ends in part of a record and no name is free for a copy of it
    NameTaken,          // a file, folder or link is there under the name, and was left alone
    NotPrivate,        // a folder for Varnok's own files that another user owns or others may write
    WrittenUnguarded,  // saved where it stands with no journal: a cut-off save could not be undone
    SystemError,       // anything else; the system's own words are in detail
};

// The outcome of reading or writing a file: success, or the file and why it was left alone.
struct FileResult {
    FileProblem problem = FileProblem::None;
    std::filesystem::path file;
    std::string detail;

    explicit operator bool() const { return problem == FileProblem::None; }
};

}  // namespace varnok
