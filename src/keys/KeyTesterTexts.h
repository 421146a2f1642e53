#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "keys/TestedPress.h"

namespace varnok {

// What the key tester says about an event, one line in the window's language (0 English,
// otherwise Chinese): what arrived and which key defines it, or a report it ignored and why.
std::string KeyTesterLine(const TesterEvent& event, std::int32_t language);

// The texts of the window's key tester around the lines.
enum class KeyTesterPhrase {
    Title,   // the tester's caption
    Prompt,  // what to do, before the first press
    Close,   // the button that ends the test, where the window has one
    Ended,   // %1: why the test ended (the keyboard went away)
};
std::string_view KeyTesterPhraseText(KeyTesterPhrase phrase, std::int32_t language);

}  // namespace varnok
