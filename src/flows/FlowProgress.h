#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace varnok {

// How far a save or read-back has come, in the keys the user knows: key step of steps (6),
// counted from 1.
struct FlowProgress {
    enum class Activity { Writing, Reading };
    Activity activity;
    int step;
    int steps;
};

// The progress to report before a flow writes or reads slot, if any. The hidden slot 0 comes
// first and counts as part of key 1, so slot 1 adds no step of its own; a save's end record
// counts as part of key 6.
std::optional<FlowProgress> ProgressBeforeSlot(FlowProgress::Activity activity, int slot);

// The progress line in the user's language (Chinese whenever the flag is not 0), e.g.
// "Writing key 3 of 6".
std::string ProgressText(const FlowProgress& progress, std::int32_t language);

}  // namespace varnok
