#include "flows/ClearAllKeys.h"

#include "keys/SlotNames.h"
#include "ui/KeyDefinitionDialog.h"
#include "ui/RowTable.h"

namespace varnok {

void ClearAllKeys(KeyDefinitionDialog& window) {
    // Slot 0's text is the hidden field's; Clear leaves it but forgets the slot's reports.
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) window.Texts()[slot].clear();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        window.Map().Remove(SlotNames[slot]);
        window.SlotReports()[slot].Clear();
        window.DefinedFlags()[slot] = 0;
    }
    window.Map().Save();
    window.ApplyKeyCount();
    window.Refresh();
}

}  // namespace varnok
