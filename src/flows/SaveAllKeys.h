#pragma once

namespace varnok {

class KeyDefinitionDialog;

// The Save button: writes the slot map file, then all seven slot records and the end record
// into the keyboard, and tells the user how it went.
void SaveAllKeys(KeyDefinitionDialog& window);

}  // namespace varnok
