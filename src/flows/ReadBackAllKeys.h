#pragma once

#include <cstdint>
#include <string>

namespace varnok {

class KeyDefinitionDialog;

// What ReadSlot found, kept in byte 0 of the window's read-back record.
enum ReadOutcome : std::uint8_t {
    kReadEmpty = 0xFF,
    kReadString = 0xFE,
    kReadKeyboard = 0x01,
    kReadMouse = 0x04,
};

// The Get Defined Key button: reads every slot's definition back from the keyboard into the
// window, slot 0 included; stops at the first read that fails.
void ReadBackAllKeys(KeyDefinitionDialog& window);

// Reads one slot and interprets it: the outcome and the slot's first page go into the
// window's read-back record, the display text into text. False only when a read fails.
bool ReadSlot(KeyDefinitionDialog& window, int slot, std::string& text);

}  // namespace varnok
