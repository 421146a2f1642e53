#pragma once

namespace varnok {

class KeyDefinitionDialog;

// The Clear button: forgets every slot's definition in the window and in the slot map file.
// The keyboard keeps its table until the next save.
void ClearAllKeys(KeyDefinitionDialog& window);

}  // namespace varnok
