#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <memory>
#include <thread>

#include "app/MemorySettingsStore.h"
#include "device/SimulatedKeyboard.h"
#include "store/SlotMap.h"
#include "support/FakeDeviceWatch.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowBehaviour.h"
#include "ui/qt/QtMainWindow.h"

namespace varnok {
namespace {

// The status line of the Qt window changes when the device watch reports from its own thread
// that the keyboard went, came back, or refuses this user, with the window's flows on their
// worker thread as in the program.
TEST(QtKeyboardStatus, ChangesWhenTheWatchReportsAChange) {
    TempDirectory directory;
    MemorySettingsStore settings;
    VirtualClock clock;
    SimulatedKeyboard keyboard{clock};
    FakeDeviceWatch watch;
    std::atomic<bool> refusing = false;
    QtMainWindow window([&](DialogControls& controls, FlowExecutor& executor) {
        auto behaviour = std::make_unique<MainWindowBehaviour>(
            controls, settings, keyboard,
            KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)), executor,
            "varnok");
        behaviour->SetDeviceWatch(watch);
        behaviour->SetConnectionAdvice([&](std::int32_t language) {
            return refusing ? std::string(language == 0 ? "at hidraw3" : "在 hidraw3") : "";
        });
        return behaviour;
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* status = qobject_cast<QLabel*>(window.Control(ControlId::Status));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible());
    QTRY_COMPARE(
        status->text(),
        QStringLiteral("Keyboard connected: simulated-keyboard, collection 0 (FF00:0001)"));

    const auto fireFromTheWatchThread = [&watch] {
        std::thread([&watch] { watch.Fire(); }).join();
    };
    keyboard.Unplug();
    fireFromTheWatchThread();
    QTRY_COMPARE(status->text(), QStringLiteral("No keyboard connected."));
    refusing = true;
    fireFromTheWatchThread();
    QTRY_COMPARE(status->text(), QStringLiteral("at hidraw3"));
    refusing = false;
    keyboard.Plug();
    fireFromTheWatchThread();
    QTRY_COMPARE(
        status->text(),
        QStringLiteral("Keyboard connected: simulated-keyboard, collection 0 (FF00:0001)"));
    window.done(0);
    EXPECT_FALSE(watch.Watching());
}

}  // namespace
}  // namespace varnok
