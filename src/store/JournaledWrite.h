#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "store/FileResult.h"
#include "store/InPlaceFile.h"

namespace varnok {

// Writing a file where it stands (so that every one of its names sees the write) such that
// whenever the process or the machine stops, the file is its old or its new contents by the
// time the next reader has called FinishJournaledWrite. Both run under the lock that keeps
// other writers of the file out.
//
// The old and the new contents are first written and made durable in a journal, then the new
// ones over the file, and then the journal goes. The journal lies beside the file where its
// folder takes new files, otherwise (and for a file with more than one name, whose other
// names a later start may use) in the user's state folder. It is named for the file's device
// and file identity, so that a moved or relinked file is never taken for another.

// Writes contents over file, whose identity is given and whose contents are now old. A write
// that fails puts the old contents back.
FileResult WriteThroughJournal(const std::filesystem::path& file, const FileIdentity& identity,
                               std::span<const std::uint8_t> old,
                               std::span<const std::uint8_t> contents, std::size_t pieceSize);

// What the reader found of a write that was cut off.
enum class JournaledWriteEnd {
    None,        // no journal for this file: nothing was cut off
    Completed,   // the journal was whole: the file now holds the write's new contents
    RolledBack,  // the journal itself was cut off, before the file changed: the file is as it was
};

// Finishes a journaled write of file that was cut off, if a journal tells of one. A journal
// whose file has since been changed otherwise is dropped. Fails, leaving the journal, only
// when the file cannot be written now; it may then be part old and part new.
FileResult FinishJournaledWrite(const std::filesystem::path& file, std::size_t pieceSize,
                                JournaledWriteEnd& end);

}  // namespace varnok
