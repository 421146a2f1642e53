#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnok {

// Every occasion on which the save, read-back and capture flows show a message box.
enum class MessageId {
    SaveNotConnected,
    ReadNotConnected,
    SaveSucceeded,
    SaveRecordFailed,
    SaveEmptyFailed,
    // A save asked to stop (Ctrl+C, the window closing) before it ended; which keys were
    // written follows.
    SaveStopped,
    ReadSucceeded,
    ReadFailed,
    OnlyGroupKey,
    // The key definitions could not be written to msmap.dat; the file and the reason follow.
    StoreNotSaved,
    // The key definitions were saved, but msmap.dat ended in part of a record: the file and
    // where a copy of it as it was is kept follow.
    StoreCopyKept,
    // The key definitions were saved where msmap.dat stands with no journal: the file and why
    // a save cut off there could not have been undone follow.
    StoreUnguarded,
    // The key definitions could not be loaded from msmap.dat; the file and the reason follow.
    StoreNotLoaded,
    // A choice (language, keys shown, a row's function) could not be kept in the settings
    // file; the file and the reason follow.
    SettingsNotSaved,
    // The window cannot start (no usable map file, key table or trace); the reason follows.
    StartRefused,
};

struct MessageText {
    std::string_view text;
    std::string_view caption;
};

struct MessageTextRow {
    MessageId id;
    MessageText english;
    MessageText chinese;
};

extern const std::array<MessageTextRow, 15> MessageTexts;

// The text and caption of a message in the window's language: English for 0, Chinese
// otherwise.
MessageText MessageFor(MessageId id, std::int32_t language);

}  // namespace varnok
