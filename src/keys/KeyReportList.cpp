#include "keys/KeyReportList.h"

#include <algorithm>

#include "keys/KeyLookup.h"

namespace varnok {

bool KeyReportList::AddKey(std::uint8_t keyCode) {
    const auto usage = KeyCodeToUsage(keyCode);
    if (!usage) {
        return false;
    }
    if (usage->isModifier) {
        building_[1] |= usage->value;
    } else {
        if (fillIndex_ >= building_.size()) {
            return false;
        }
        building_[fillIndex_++] = usage->value;
    }
    isRecorded_ = false;
    return true;
}

void KeyReportList::RemoveKey(std::uint8_t keyCode) {
    const auto usage = KeyCodeToUsage(keyCode);
    if (!usage) {
        return;
    }
    if (usage->isModifier) {
        building_[1] &= static_cast<std::uint8_t>(~usage->value);
        return;
    }
    const auto first = building_.begin() + kFirstUsageByte;
    const auto end = building_.begin() + fillIndex_;
    const auto found = std::find(first, end, usage->value);
    // A key that is not in the chord leaves the chord as it is.
    if (found == end) {
        return;
    }
    std::copy(found + 1, end, found);
    *(end - 1) = 0;
    --fillIndex_;
}

void KeyReportList::RecordChord() {
    if (isRecorded_) {
        return;
    }
    recorded_.push_back(building_);
    isRecorded_ = true;
    RestartReport();
    ++recordedCount_;
}

void KeyReportList::Clear() {
    RestartReport();
    recorded_.clear();
    recordedCount_ = 0;
    isRecorded_ = false;
}

void KeyReportList::KeepLastRecorded() {
    if (recorded_.size() > 1) recorded_.erase(recorded_.begin(), recorded_.end() - 1);
}

bool KeyReportList::CopyReports(std::span<std::uint8_t> destination, std::size_t& copied) const {
    copied = 0;
    if (recorded_.empty()) {
        return false;
    }
    for (const KeyReport& report : recorded_) {
        if (destination.size() - copied < report.size()) {
            break;
        }
        std::copy(report.begin(), report.end(), destination.subspan(copied).begin());
        copied += report.size();
    }
    return true;
}

void KeyReportList::LoadReports(std::span<const std::uint8_t> source, std::size_t count) {
    const std::size_t available = source.size() / sizeof(KeyReport);
    for (std::size_t i = 0; i < std::min(count, available); ++i) {
        KeyReport report;
        std::copy_n(source.subspan(i * report.size()).begin(), report.size(), report.begin());
        recorded_.push_back(report);
    }
}

void KeyReportList::RestartReport() {
    building_ = KeyReport{kKeyboardReportType};
    fillIndex_ = kFirstUsageByte;
}

}  // namespace varnok
