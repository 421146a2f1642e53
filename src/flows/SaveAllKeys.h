#pragma once

namespace varnok {

class FlowHost;
class KeySlotsModel;
class KeyboardLink;

// The Save button: writes the slot map file, then all seven slot records and the end record
// into the keyboard, and tells the user how each went (a file left alone is named with the
// reason; the keyboard is written all the same). True when the keyboard took the whole
// table. A stop request ends it between two records, with the link closed; a save that stops
// or fails part way says which keys the keyboard now holds new.
bool SaveAllKeys(KeySlotsModel& model, KeyboardLink& link, FlowHost& host);

}  // namespace varnok
