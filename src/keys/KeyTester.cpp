#include "keys/KeyTester.h"

#include <algorithm>
#include <utility>

#include "keys/FunctionModeNames.h"
#include "keys/KeyReportName.h"
#include "keys/KeySlotsModel.h"
#include "keys/StringPayload.h"

namespace varnok {
namespace {

constexpr std::uint8_t kShiftBits = 0x22;  // left and right Shift
constexpr std::uint8_t kLeftButton = 0x01;
constexpr std::uint8_t kRightButton = 0x02;
// The button codes of a mouse key report.
constexpr std::uint8_t kLeftClick = 0x81;
constexpr std::uint8_t kRightClick = 0x82;
constexpr std::uint8_t kDoubleClick = 0x80;
constexpr std::uint8_t kShiftedMarker = 0xAB;
constexpr std::size_t kReportUsages = 5;

// The character one key typed, with Shift or without and nothing else held; none otherwise.
std::string TypedCharacter(const HeldKeys& all) {
    if (all.keys.size() != 1 || all.buttons != 0 || (all.modifiers & ~kShiftBits) != 0) return {};
    const std::uint8_t payload[] = {all.modifiers != 0 ? kShiftedMarker : std::uint8_t{0},
                                    all.keys.front()};
    return DecodeStringPayload(payload);
}

bool IsLeftClick(const HeldKeys& all) {
    return all.buttons == kLeftButton && all.modifiers == 0 && all.keys.empty();
}

// The key report that stands for what a press held: the keyboard's report for a chord, the
// mouse report of the click.
KeyReport ReportOf(const HeldKeys& all) {
    if (all.buttons != 0 && all.modifiers == 0 && all.keys.empty()) {
        const std::uint8_t code = all.buttons == kLeftButton    ? kLeftClick
                                  : all.buttons == kRightButton ? kRightClick
                                                                : 0;
        return {kMouseReportType, code, 0, 0, 0, 0, 0, 0xFF};
    }
    KeyReport report{kKeyboardReportType, all.modifiers};
    for (std::size_t i = 0; i < std::min(all.keys.size(), kReportUsages); ++i) {
        report[kFirstUsageByte + i] = all.keys[i];
    }
    return report;
}

// Two reports define the same chord when they hold the same modifiers and the same keys, in
// whatever order; a mouse report the same button code.
bool SameDefinition(const KeyReport& defined, const KeyReport& arrived) {
    if (defined[0] != arrived[0] || defined[1] != arrived[1]) return false;
    if (defined[0] == kMouseReportType) return true;
    std::vector<std::uint8_t> a(defined.begin() + kFirstUsageByte, defined.end());
    std::vector<std::uint8_t> b(arrived.begin() + kFirstUsageByte, arrived.end());
    std::erase(a, 0);
    std::erase(b, 0);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

}  // namespace

KeyTester::KeyTester(std::vector<InputReportReader> interfaces, const KeySlotsModel& model)
    : interfaces_(std::move(interfaces)), model_(model), held_(interfaces_.size()) {}

std::vector<TesterEvent> KeyTester::Take(std::size_t interface,
                                         std::span<const std::uint8_t> report,
                                         std::int64_t milliseconds) {
    std::vector<TesterEvent> events = Quiet(milliseconds);
    if (interface >= interfaces_.size()) return events;
    const InputReading reading = interfaces_[interface].Read(report);
    if (reading.outcome == InputReading::Outcome::Bad) {
        events.push_back(
            IgnoredReport{{report.begin(), report.end()}, reading.problem, ++ignored_});
        return events;
    }
    if (reading.outcome == InputReading::Outcome::Other) return events;

    auto& reports = held_[interface];
    const auto known = std::find_if(reports.begin(), reports.end(), [&](const auto& entry) {
        return entry.first == reading.reportId;
    });
    if (known == reports.end()) {
        reports.emplace_back(reading.reportId, reading.held);
    } else {
        known->second = reading.held;
    }
    // A report that releases what nothing held (the keyboard's idle report) is no press.
    if (!press_ && reading.held.Empty()) return events;
    if (!press_) press_ = Press{};
    press_->reports.emplace_back(report.begin(), report.end());
    HeldKeys& all = press_->all;
    all.modifiers |= reading.held.modifiers;
    all.buttons |= reading.held.buttons;
    for (const std::uint8_t key : reading.held.keys) {
        if (std::find(all.keys.begin(), all.keys.end(), key) == all.keys.end()) {
            all.keys.push_back(key);
        }
    }

    const bool released = std::all_of(held_.begin(), held_.end(), [](const auto& interfaceHeld) {
        return std::all_of(interfaceHeld.begin(), interfaceHeld.end(),
                           [](const auto& entry) { return entry.second.Empty(); });
    });
    if (released) {
        press_->end = milliseconds;
        EndPress(events);
    }
    return events;
}

void KeyTester::EndPress(std::vector<TesterEvent>& events) {
    Press press = std::move(*press_);
    press_.reset();
    const bool typed = !TypedCharacter(press.all).empty();
    const bool typing = !run_.empty() && !TypedCharacter(run_.front().all).empty();
    if (typed && typing) {
        run_.push_back(std::move(press));
        return;
    }
    if (IsLeftClick(press.all) && run_.size() == 1 && IsLeftClick(run_.front().all)) {
        run_.push_back(std::move(press));
        FlushRun(events);
        return;
    }
    FlushRun(events);
    run_.push_back(std::move(press));
    if (!typed && !IsLeftClick(run_.front().all)) FlushRun(events);
}

std::optional<std::int64_t> KeyTester::Deadline() const {
    // A press under way may still join the run: nothing is due before it ends.
    if (run_.empty() || press_) return std::nullopt;
    return run_.back().end + kRunGapMilliseconds;
}

std::vector<TesterEvent> KeyTester::Quiet(std::int64_t milliseconds) {
    std::vector<TesterEvent> events;
    if (Deadline() && milliseconds >= *Deadline()) FlushRun(events);
    return events;
}

std::vector<TesterEvent> KeyTester::Finish() {
    std::vector<TesterEvent> events;
    FlushRun(events);
    return events;
}

void KeyTester::FlushRun(std::vector<TesterEvent>& events) {
    if (run_.empty()) return;
    events.push_back(Named(run_));
    run_.clear();
}

TestedPress KeyTester::Named(const std::vector<Press>& run) const {
    TestedPress tested;
    for (const Press& press : run) {
        tested.reports.insert(tested.reports.end(), press.reports.begin(), press.reports.end());
    }

    std::string text;
    for (const Press& press : run) text += TypedCharacter(press.all);
    const bool doubleClick = run.size() == 2 && IsLeftClick(run.front().all);
    const KeyReport arrived = doubleClick
                                  ? KeyReport{kMouseReportType, kDoubleClick, 0, 0, 0, 0, 0, 0xFF}
                                  : ReportOf(run.front().all);
    const bool single = run.size() == 1 || doubleClick;

    // The first row, in key order, whose definition is what arrived: a string row by the text
    // it types; a Normal or Once row by its chord or click, when one press arrived.
    for (int slot = kFirstRowSlot; slot < kSlotCount && !tested.slot; ++slot) {
        if (!model_.IsDefined(slot) && model_.Text(slot).empty()) continue;
        if (model_.FunctionMode(slot) == kStringMode) {
            if (!text.empty() &&
                DecodeStringPayload(EncodeStringPayload(model_.Text(slot))) == text) {
                tested.slot = slot;
                tested.kind = TestedPress::Kind::Text;
            }
        } else if (single && !model_.Reports(slot).RecordedReports().empty() &&
                   SameDefinition(model_.Reports(slot).RecordedReports().front(), arrived)) {
            tested.slot = slot;
            tested.kind = arrived[0] == kMouseReportType ? TestedPress::Kind::Click
                                                         : TestedPress::Kind::Chord;
        }
    }
    if (!tested.slot) {
        // What no row defines: several typed characters are text, anything else as it stands.
        tested.kind = run.size() > 1 && !text.empty()  ? TestedPress::Kind::Text
                      : arrived[0] == kMouseReportType ? TestedPress::Kind::Click
                                                       : TestedPress::Kind::Chord;
    }
    tested.name = tested.kind == TestedPress::Kind::Text ? text : NameKeyReport(arrived);
    return tested;
}

}  // namespace varnok
