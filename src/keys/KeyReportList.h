#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "keys/KeyReport.h"

namespace varnok {

// One key slot's definition: the key reports recorded for it, and the chord being captured.
// Capture adds keys to the report under construction as they go down, records it when a key
// is released, and takes released keys out again.
class KeyReportList {
public:
    // Adds a key by key code: a modifier sets its bit, any other key appends its usage.
    // False for a key code without a usage and for a sixth usage (a report holds five).
    bool AddKey(std::uint8_t keyCode);
    // Takes a key out of the report under construction: clears a modifier's bit, or removes
    // the first occurrence of the key's usage and closes the gap. Unknown keys are ignored.
    void RemoveKey(std::uint8_t keyCode);
    // Appends the report under construction to the recorded reports and restarts it, unless
    // this chord was already recorded and no key has been added since.
    void RecordChord();
    // Drops the report under construction; the recorded reports stay.
    void AbandonChord() { RestartReport(); }
    void Clear();
    // Forgets every recorded report but the last; the report under construction stays.
    void KeepLastRecorded();

    // Copies the recorded reports, 8 bytes each, as many as fit whole in destination. False
    // when nothing is recorded.
    bool CopyReports(std::span<std::uint8_t> destination, std::size_t& copied) const;
    // Appends count reports read from consecutive 8-byte groups of source, as many as source
    // holds whole. The report under construction is untouched.
    void LoadReports(std::span<const std::uint8_t> source, std::size_t count);

    const std::vector<KeyReport>& RecordedReports() const { return recorded_; }
    const KeyReport& ReportUnderConstruction() const { return building_; }
    // Position of the next free usage byte, 3 (empty) to 8 (full).
    std::uint8_t FillIndex() const { return fillIndex_; }
    bool IsRecorded() const { return isRecorded_; }
    // Recordings since the last Clear.
    std::uint8_t RecordedCount() const { return recordedCount_; }

private:
    void RestartReport();

    std::vector<KeyReport> recorded_;
    KeyReport building_{kKeyboardReportType};
    std::uint8_t fillIndex_ = kFirstUsageByte;
    bool isRecorded_ = false;
    std::uint8_t recordedCount_ = 0;
};

}  // namespace varnok
