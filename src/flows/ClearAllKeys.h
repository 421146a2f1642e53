#pragma once

namespace varnok {

class KeyTableModel;

// The Clear button: forgets every slot's definition in the model and in the slot map file.
// The keyboard keeps its table until the next save.
void ClearAllKeys(KeyTableModel& model);

}  // namespace varnok
