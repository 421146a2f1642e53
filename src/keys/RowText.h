#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keys/UsKeyboardLayout.h"
#include "store/SlotRecord.h"

namespace varnok {

// What a row's text may hold, wherever it comes from (the window's value box, the command
// line, a profile): characters that GBK has, at most 25 bytes in GBK, as msmap.dat keeps it,
// and in the text a String row's owner types at most 18 characters, as many as the window's
// value box takes (so an 18-character text in Chinese, two bytes a character, is too long for
// the file). A label is held to the bytes only: Varnok names a chord itself (20 characters for
// Shift+Win+Left), and the model shortens a longer name to what the file keeps, so that no
// name it made stops a Save. A text that breaks the rule is refused with the reason; none is
// cut down here. Nor does a row hold control characters (C0, DEL, C1: a NUL would end the text
// in msmap.dat, an Esc would drive the terminal that shows it), except in a String row's text
// the three a key of the keyboard types: Tab, Esc and Delete.
inline constexpr std::size_t kMaxRowTextCharacters = 18;
inline constexpr std::size_t kMaxRowTextBytes = SlotRecordLayout::kTextSize;

enum class RowTextProblem { NotUtf8, ControlCharacter, NotInGbk, TooManyCharacters, TooManyBytes };

// What a row's text is for: the label of a Normal or Once key, or what a String key types.
enum class RowTextUse { Label, TypedString };

struct RowTextCheck {
    std::optional<RowTextProblem> problem;
    // The text's length in GBK, as msmap.dat would hold it.
    std::size_t gbkBytes = 0;
    // The first control character the row does not take.
    char32_t controlCharacter = 0;

    bool Fits() const { return !problem; }
};

RowTextCheck CheckRowText(std::string_view text, RowTextUse use);

// Why the row refuses the text, in the window's language (0 English, otherwise Chinese); empty
// when the text fits.
std::string RowTextRefusalText(const RowTextCheck& check, std::int32_t language);

// The checks of a text given for a key, for the command line and profiles: true when the text
// passes; otherwise reason says why.
// A row text, see above.
bool CheckRowText(std::string_view text, RowTextUse use, std::string& reason);
// The text of a String key: at most 14 characters, each one the keyboard types on the layout.
bool CheckTypedString(std::string_view text, std::string& reason,
                      const KeyboardLayout& layout = UsKeyboardLayout());

}  // namespace varnok
