#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/InputReportReader.h"
#include "keys/TestedPress.h"

namespace varnok {

class KeySlotsModel;

// The key tester's session, toolkit-free: takes the input reports the keyboard's own device
// sends (from each of its input interfaces, each read by its own descriptor), gathers them
// into presses (from the first report that holds something to the one where all is released
// again), names each with the window's vocabulary and says which row of the model defines it.
// A front end delivers reports and the time they came, asks again when Deadline passes
// without one, and shows the events.
class KeyTester {
public:
    // How long after a press a following one may still belong to it: the keyboard types a
    // string's characters and a double click's two clicks faster than this, a person
    // pressing two keys hardly.
    static constexpr std::int64_t kRunGapMilliseconds = 250;

    // `model` must outlive the tester; one reader per input interface of the keyboard.
    KeyTester(std::vector<InputReportReader> interfaces, const KeySlotsModel& model);

    // A report from interface `interface` that arrived at `milliseconds` (any steady clock).
    std::vector<TesterEvent> Take(std::size_t interface, std::span<const std::uint8_t> report,
                                  std::int64_t milliseconds);
    // When a run of typed characters or a single click waits to see whether more follows, the
    // time by which Quiet ends it; none otherwise, and none while a press is under way.
    std::optional<std::int64_t> Deadline() const;
    // No report came until `milliseconds`: ends a run whose deadline has passed.
    std::vector<TesterEvent> Quiet(std::int64_t milliseconds);
    // Ends whatever is pending, as when the tester closes.
    std::vector<TesterEvent> Finish();

    int IgnoredCount() const { return ignored_; }

private:
    // A press gathered from first report to release.
    struct Press {
        HeldKeys all;  // every key and button held at some time in the press
        std::vector<std::vector<std::uint8_t>> reports;
        std::int64_t end;
    };

    void EndPress(std::vector<TesterEvent>& events);
    void FlushRun(std::vector<TesterEvent>& events);
    TestedPress Named(const std::vector<Press>& run) const;

    std::vector<InputReportReader> interfaces_;
    const KeySlotsModel& model_;
    // What each interface's reports hold now, by report id.
    std::vector<std::vector<std::pair<std::uint8_t, HeldKeys>>> held_;
    std::optional<Press> press_;
    // Presses that may go on: typed characters, or one left click before a possible second.
    std::vector<Press> run_;
    int ignored_ = 0;
};

}  // namespace varnok
