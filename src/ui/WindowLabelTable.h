#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "store/LanguageTextRow.h"

namespace varnok {

// The controls the window relabels when the language changes: the prompt line, the heading,
// the buttons and the key count list's label. A row's id is the control's.
using WindowLabel = LanguageTextRow<int>;

extern const std::array<WindowLabel, 8> WindowLabelTable;

// The label text of a control for a language flag (Chinese whenever the flag is not 0).
std::string_view WindowLabelFor(int control, std::int32_t language);

}  // namespace varnok
