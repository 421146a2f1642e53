#pragma once

#include <optional>
#include <vector>

#include "flows/ReadBackAllKeys.h"

namespace varnok {

class FlowHost;
class KeySlotsModel;
class KeyboardLink;

// A slot whose definition on the keyboard is not the one a save of the model wrote: both as
// a read-back sees them.
struct SlotMismatch {
    int slot;
    SlotReadBack written;
    SlotReadBack found;
};

enum class VerifyOutcome {
    Verified,      // every slot holds what the save wrote
    Differs,       // all slots were read; some differ
    NotConnected,  // no keyboard
    ReadFailed,    // a read was refused; the slots after it were not looked at
};

// After a save: reads every slot back as the read-back does and compares it with the record
// the save sent for it (RecordOf), record by record. The keyboard returns each record's data
// bytes, not its report type, so a keyboard or mouse record is compared by its bytes 1..7 and
// what they mean (the Once flag, a mouse click). Changes nothing in the model; the host hears
// of progress and of a missing or refusing keyboard.
VerifyOutcome VerifyAllKeys(const KeySlotsModel& model, KeyboardLink& link, FlowHost& host,
                            std::vector<SlotMismatch>& mismatches);

// What a read-back of the record finds, when the keyboard holds it as written.
SlotReadBack ReadBackOfRecord(int slot, const std::vector<std::uint8_t>& record);

}  // namespace varnok
