#pragma once

#include <array>

#include "store/LanguageTextRow.h"

namespace varnok {

// The entries of the main window's context menu, which opens on the window's background (its
// labels and frames, not its operable controls), in order, with their texts; a row with id 0
// is a separator. Choosing an entry is DialogEvents::OnButtonClicked(id). The window sets the
// entries' texts in its language as it sets its controls' (DialogControls::SetText).
using ContextMenuEntry = LanguageTextRow<int>;

extern const std::array<ContextMenuEntry, 10> ContextMenuTable;

}  // namespace varnok
