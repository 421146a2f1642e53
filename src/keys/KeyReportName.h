#pragma once

#include <string>

#include "keys/KeyReport.h"

namespace varnok {

// The text the window shows for an 8-byte key report, named as the capture names what it
// records, so that a key read back from the keyboard (or seen by a tester) reads exactly as
// pressing the same keys reads:
// - a ready-made action by its name: "Close Window" for 01 04 00 3D 00 00 00 00, "Mouse Left
//   Click" (with its inner blanks) for a mouse report with button 81;
// - a chord by the capture's key names, each followed by "|", closed by ",": "Ctrl|C|,",
//   "Ctrl|Alt|Del|,"; a lone PrintScreen "PrintScreen," as its capture shows it.
// A report keeps no order between modifiers and keys: the modifiers come first, by their bits
// (Ctrl, Shift, Alt, Windows, then the right-hand four), then the keys as the report holds
// them. Where several keys are captured as one usage, the usage takes the name of the key that
// sends it: 38 is "?" (keypad "/" is captured as 38 too), 5D "Num5" (keypad 5 with NumLock off
// shows "CLEAR"). A usage no captured key sends shows its read-back name ("Power"), or else
// its number in hex ("0x68" for F13, "0x7F" for Mute), as the window, varnok-cli and the key
// tester all show it.
// Byte 1 is named as it stands: take a row's Once flag out first (its mode shows Once).
// Empty for a report that names nothing: no key at all, or a mouse button no action has.
std::string NameKeyReport(const KeyReport& report);

}  // namespace varnok
