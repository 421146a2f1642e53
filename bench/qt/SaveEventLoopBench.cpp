// The longest save in the Qt window, on the simulated keyboard and the machine's clock, while
// a 10 ms timer watches the window's event loop: how late the loop ever was during the save,
// and the save's wall time (click to message) against the pauses the keyboard's protocol
// demands. The save runs on the window's worker thread; the loop should never wait for it.
//
//   SaveEventLoopBench [runs]      (default 3; QT_QPA_PLATFORM=offscreen works)
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/MemorySettingsStore.h"
#include "device/SimulatedKeyboard.h"
#include "device/SystemClock.h"
#include "store/SlotMap.h"
#include "support/TempDirectory.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowBehaviour.h"
#include "ui/qt/QtMainWindow.h"

namespace {

using namespace varnok;

// Slot 0 a key report (11 bytes, one pause), rows 1..6 strings of 14 characters (32 bytes,
// four pauses each), the end record (none): 25 pauses of 200 ms.
constexpr double kMandatedMilliseconds = 25 * 200;
constexpr int kTickMilliseconds = 10;

struct Run {
    double worstDelay;
    double wallTime;
};

Run SaveOnce() {
    TempDirectory directory;
    SlotMap stored(directory.Path());
    stored.Set("key0", "Ctrl|Alt|Del|,", SlotData{0x01, 0x05, 0x00, 0x4C}, 0);
    for (const char* name : {"key1", "key2", "key3", "key4", "key5", "key6"}) {
        stored.Set(name, "a1!b2@c3#d4$e5", SlotData{}, 0);
    }
    stored.Save();
    MemorySettingsStore settings;
    settings.WriteSetting("Settings", "keynum", 5);
    for (const char* row :
         {"KeyFun1Sel", "KeyFun2Sel", "KeyFun3Sel", "KeyFun4Sel", "KeyFun5Sel", "KeyFun6Sel"}) {
        settings.WriteSetting("Settings", row, 2);
    }
    SystemClock clock;
    SimulatedKeyboard keyboard(clock);
    QtMainWindow window([&](DialogControls& controls, FlowExecutor& executor) {
        return std::make_unique<MainWindowBehaviour>(controls, settings, keyboard,
                                                     KeySlotsModel(SlotMap(directory.Path())),
                                                     executor, "varnok");
    });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not show\n");
        std::exit(1);
    }

    QElapsedTimer elapsed;
    double lastTick = -1;
    double worstDelay = 0;
    double ended = -1;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double now = static_cast<double>(elapsed.nsecsElapsed()) / 1e6;
        if (lastTick >= 0 && ended < 0) {
            worstDelay = std::max(worstDelay, now - lastTick - kTickMilliseconds);
        }
        lastTick = now;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (ended < 0) ended = now;
            box->accept();
        }
    });
    ticker.start(kTickMilliseconds);
    QTest::qWait(100);
    elapsed.start();
    lastTick = -1;
    qobject_cast<QPushButton*>(window.Control(ControlId::Save))->click();
    // The message box appears when the flow's end reaches the loop: the save's wall time.
    if (!QTest::qWaitFor([&] { return ended >= 0; }, 20000) || keyboard.CompletedSaves() != 1) {
        std::fprintf(stderr, "the save did not complete\n");
        std::exit(1);
    }
    return {worstDelay, ended};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf("run  worst event-loop delay (ms)  save wall time (ms)  / mandated %.0f ms\n",
                kMandatedMilliseconds);
    for (int run = 1; run <= runs; ++run) {
        const Run result = SaveOnce();
        std::printf("%3d  %27.1f  %19.1f  %.4f\n", run, result.worstDelay, result.wallTime,
                    result.wallTime / kMandatedMilliseconds);
    }
    return 0;
}
