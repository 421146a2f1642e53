// What one Save costs beyond the pauses the keyboard's protocol demands. The keyboard takes a
// block in 7-byte data reports with 200 ms between two reports of one block, so a save is
// mostly waiting; everything else (encoding, the slot map file, the simulated keyboard
// rewriting its key table file after each record) should hide in the remaining few percent.
//
// The objects are those of `varnok --virtual-keyboard FILE`: the simulated keyboard loaded
// from a key table file on the machine's clock, and the window's behaviour on top of it, here
// on in-memory controls. The save is the longest one: slot 0 holds a key report (an 11-byte
// record) and rows 1..6 are String rows of 14 encodable characters (28 payload bytes, a
// 32-byte record each).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/MemorySettingsStore.h"
#include "device/SimulatedKeyboard.h"
#include "device/SystemClock.h"
#include "keys/MessageTexts.h"
#include "store/SlotMap.h"
#include "support/InlineFlowExecutor.h"
#include "support/MemoryDialogControls.h"
#include "support/TempDirectory.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowBehaviour.h"

namespace varnok {
namespace {

constexpr int kReportDataBytes = 7;
constexpr double kPauseMilliseconds = 200;

// Every character has a key of its own, half of them need Shift: two payload bytes each.
constexpr const char* kRowString = "a1!b2@c3#d4$e5";
constexpr std::size_t kStringRecordLength = 4 + 2 * 14;
constexpr std::size_t kKeyRecordLength = 11;
constexpr std::size_t kEndRecordLength = 2;

// The pauses a block of this many bytes costs on the wire: one between two of its reports.
double MandatedPause(std::size_t blockLength) {
    const std::size_t reports = (blockLength + kReportDataBytes - 1) / kReportDataBytes;
    return static_cast<double>(reports - 1) * kPauseMilliseconds;
}

double MandatedSavePause() {
    return MandatedPause(kKeyRecordLength) + 6 * MandatedPause(kStringRecordLength) +
           MandatedPause(kEndRecordLength);
}

// The machine's clock, adding up what the keyboard side asked it to sleep.
class PauseCountingClock : public SystemClock {
public:
    void Sleep(int milliseconds) override {
        paused_ += milliseconds;
        SystemClock::Sleep(milliseconds);
    }
    double Paused() const { return paused_; }

private:
    double paused_ = 0;
};

// Slot 0 has no control of its own: its key report comes from msmap.dat at start-up, as an
// earlier run left it. Ctrl + Alt + Del.
void StoreSlotZeroReport(const std::filesystem::path& directory) {
    SlotMap map(directory);
    map.Set("key0", "Ctrl|Alt|Del|,", SlotData{0x01, 0x05, 0x00, 0x4C}, 0);
    map.Save();
}

bool HoldsLongestTable(const SimulatedKeyboard& keyboard) {
    if (keyboard.Table().Record(0).size() != kKeyRecordLength) return false;
    for (std::uint8_t slot = 1; slot < 7; ++slot) {
        if (keyboard.Table().Record(slot).size() != kStringRecordLength) return false;
    }
    return true;
}

void SaveLongestTable(benchmark::State& state) {
    const TempDirectory directory;
    StoreSlotZeroReport(directory.Path());
    PauseCountingClock clock;
    std::string error;
    std::unique_ptr<SimulatedKeyboard> keyboard =
        SimulatedKeyboard::FromFile(directory.Path() / "keys.txt", clock, error);
    if (!keyboard) {
        state.SkipWithError(error.c_str());
        return;
    }

    MemorySettingsStore settings;
    settings.WriteSetting("Settings", "keynum", 5);
    for (const char* row :
         {"KeyFun1Sel", "KeyFun2Sel", "KeyFun3Sel", "KeyFun4Sel", "KeyFun5Sel", "KeyFun6Sel"}) {
        settings.WriteSetting("Settings", row, 2);  // String
    }
    MemoryDialogControls controls;
    InlineFlowExecutor executor;
    MainWindowBehaviour window(controls, settings, *keyboard,
                               KeySlotsModel(SlotMap(directory.Path())), executor, "varnok");
    window.OnInitDialog();
    for (int box = ControlId::ValueBox1; box <= ControlId::ValueBox6; ++box) {
        controls.SetText(box, kRowString);
    }

    const std::string succeeded(MessageFor(MessageId::SaveSucceeded, 0).text);
    double measured = 0;
    double paused = 0;
    for (auto _ : state) {
        const double pausedBefore = clock.Paused();
        const auto start = std::chrono::steady_clock::now();
        window.OnButtonClicked(ControlId::Save);
        measured +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        paused += clock.Paused() - pausedBefore;
        if (controls.messages.empty() || controls.messages.back().text != succeeded ||
            !HoldsLongestTable(*keyboard)) {
            state.SkipWithError("the save did not write the longest table");
            return;
        }
    }
    const double saves = static_cast<double>(state.iterations());
    state.counters["mandated_ms"] = MandatedSavePause();
    state.counters["paused_ms"] = paused / saves;
    state.counters["ratio"] = measured / saves / MandatedSavePause();
}

double Min(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}
double Max(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

// One save is five seconds of pauses: one save per repetition, the spread over repetitions.
BENCHMARK(SaveLongestTable)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ComputeStatistics("min", Min)
    ->ComputeStatistics("max", Max);

}  // namespace
}  // namespace varnok

BENCHMARK_MAIN();
