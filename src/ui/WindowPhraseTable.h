#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "store/LanguageTextRow.h"

namespace varnok {

// What the window says beyond its controls' labels: how a value box records, and the question
// it asks before unsaved rows would be lost.
enum class WindowPhrase {
    Recording,     // the text of a value box that records, until the first key
    ValueBoxHint,  // the value box's tooltip: how to record, cancel, empty
    UnsavedQuestion,
    UnsavedDetail,
    SaveAnswer,
    DiscardAnswer,
    CancelAnswer,
};

using WindowPhraseRow = LanguageTextRow<WindowPhrase>;

extern const std::array<WindowPhraseRow, 7> WindowPhraseTable;

std::string_view WindowPhraseFor(WindowPhrase phrase, std::int32_t language);

}  // namespace varnok
