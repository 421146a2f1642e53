#pragma once

#include <cstdint>
#include <string_view>

namespace varnok {

class KeySlotsModel;

// Whether the keyboard holds the keys as the rows define them. Varnok remembers the key table it
// last gave the keyboard whole (or read from it whole) as a digest in the user's state folder,
// one per map file,
// so that a start can say when the keys it shows never reached the keyboard: a save that failed
// or was cut off, a key set without saving it, a map carried from elsewhere.
enum class KeyboardCopy {
    Unknown,  // nothing remembered (no state folder, or no complete save or read-back yet)
    Holds,    // the keyboard was last given exactly the table these rows make
    Differs,  // the keyboard holds another table, or a mix from a save that ended part way
};

KeyboardCopy CompareWithKeyboard(const KeySlotsModel& model);
// After the keyboard took the whole table, or gave it back whole: it holds what model makes.
void RememberKeyboardHolds(const KeySlotsModel& model);
// After a save that wrote part of the table: the keyboard holds a mix of two tables.
void RememberKeyboardMixed(const KeySlotsModel& model);

// "the keyboard does not hold these keys yet: Save writes them", in the window's language.
std::string_view KeyboardDiffersText(std::int32_t language);

}  // namespace varnok
