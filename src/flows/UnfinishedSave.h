#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "device/KeyboardFailure.h"

namespace varnok {

// A save that did not end, and how far it came. The keyboard takes each record as it arrives,
// so the keys written before the break hold their new definitions and the rest what they held
// before: a mix that lasts until the next Save.
struct UnfinishedSave {
    enum class Reason {
        Stopped,        // asked to stop (Ctrl+C, the window closing) between two records
        RecordRefused,  // the keyboard refused a report of slot slotsTaken's record
        EndRefused,     // the keyboard took all seven records but refused the end record
    };
    Reason reason;
    // The slots, from slot 0 on, whose records the keyboard took whole: 0..7.
    int slotsTaken;
    // Why the keyboard refused, as the system said.
    std::optional<KeyboardFailure> failure = std::nullopt;
};

// What the keyboard now holds, key by key, and the system's reason for a refusal, in the user's
// language (Chinese whenever the flag is not 0): the paragraph under the message that a save
// failed or stopped.
std::string DescribeUnfinishedSave(const UnfinishedSave& save, std::int32_t language);

}  // namespace varnok
