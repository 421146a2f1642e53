#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/FakeDeviceWatch.h"
#include "support/WindowHarness.h"
#include "ui/ControlIds.h"
#include "ui/ThreadFlowExecutor.h"

namespace varnok {
namespace {

class KeyboardStatusTest : public WindowHarness {
protected:
    std::string Status() { return controls.GetText(ControlId::Status); }
    FakeDeviceWatch watch;
};

// The status line follows the keyboard while the window is open: each change the watch reports
// is looked into, the refusal carries the platform's words in the window's language, and a
// save or read-back that finds the keyboard gone (or back) says so without a report.
TEST_F(KeyboardStatusTest, FollowsTheKeyboardComingAndGoing) {
    enum Step { Plug, Unplug, Refuse, Fire, Save, Chinese };
    const std::string connected =
        "Keyboard connected: simulated-keyboard, collection 0 (FF00:0001)";
    const std::string absent = "No keyboard connected.";
    const struct {
        const char* label;
        std::vector<Step> steps;
        std::string status;
        int asked;  // times the platform's advice was asked for: each time none was found
    } cases[] = {
        {"there at the start", {}, connected, 0},
        {"pulled out", {Unplug, Fire}, absent, 1},
        {"pulled out, not yet reported", {Unplug}, connected, 0},
        {"plugged in again", {Unplug, Fire, Plug, Fire}, connected, 1},
        {"refusing this user", {Unplug, Refuse, Fire}, "0: at /dev/hidraw3", 1},
        {"refusal in Chinese", {Unplug, Refuse, Fire, Chinese}, "1: at /dev/hidraw3", 2},
        {"connected in Chinese",
         {Chinese},
         "键盘已连接：simulated-keyboard，集合 0 (FF00:0001)",
         0},
        {"a save finds it gone", {Unplug, Save}, absent, 1},
        {"a save finds it refusing", {Unplug, Refuse, Save}, "0: at /dev/hidraw3", 1},
        {"a save finds it back", {Unplug, Fire, Plug, Save}, connected, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        settings.WriteSetting("Settings", "keyLan", 0);
        keyboard.Plug();
        int asked = 0;
        bool refusing = false;
        Start();
        window->SetDeviceWatch(watch);
        window->SetConnectionAdvice([&](std::int32_t language) {
            ++asked;
            return refusing ? std::to_string(language) + ": at /dev/hidraw3" : "";
        });
        window->OnDevicesChanged();
        asked = 0;
        for (Step step : c.steps) {
            switch (step) {
                case Plug:
                    keyboard.Plug();
                    break;
                case Unplug:
                    keyboard.Unplug();
                    break;
                case Refuse:
                    refusing = true;
                    break;
                case Fire:
                    window->OnDevicesChanged();
                    break;
                case Save:
                    Click(ControlId::Save);
                    break;
                case Chinese:
                    Choose(ControlId::Language, 1);
                    break;
            }
        }
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(asked, c.asked);
        if (!c.steps.empty() && c.steps.back() == Save && c.status != connected) {
            // The message of the save carries the same words as the status line.
            ASSERT_FALSE(controls.messages.empty());
            EXPECT_EQ(controls.messages.back().text, "Usb HIDKB Not Connected!");
            EXPECT_EQ(controls.messages.back().detail, c.status == absent ? "" : c.status);
        }
        controls.messages.clear();
    }
}

// The watch runs from the window's start to its closing, and each change it reports reaches the
// status line.
TEST_F(KeyboardStatusTest, WatchesDevicesWhileTheWindowIsOpen) {
    window = std::make_unique<MainWindowBehaviour>(
        controls, settings, keyboard,
        KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)), executor,
        "varnok");
    window->SetDeviceWatch(watch);
    EXPECT_FALSE(watch.Watching());
    window->OnInitDialog();
    EXPECT_TRUE(watch.Watching());
    EXPECT_EQ(Status(), "Keyboard connected: simulated-keyboard, collection 0 (FF00:0001)");
    keyboard.Unplug();
    watch.Fire();
    EXPECT_EQ(Status(), "No keyboard connected.");
    window->OnClosing();
    EXPECT_FALSE(watch.Watching());
}

// A keyboard whose listing waits, on the look's thread, until the test lets it go.
class HeldListing : public SimulatedKeyboard {
public:
    using SimulatedKeyboard::SimulatedKeyboard;
    std::optional<std::vector<HidInterface>> EnumerateInterfaces() override {
        entered.set_value();
        release.wait();
        auto interfaces = SimulatedKeyboard::EnumerateInterfaces();
        returned = true;
        return interfaces;
    }
    std::promise<void> entered;
    std::shared_future<void> release;
    std::atomic<bool> returned = false;
};

// The window may go (its program ends) while the look for the keyboard it started is still
// running on the worker thread: the look ends first, and its end, posted to a window that is
// gone, does nothing.
TEST(KeyboardStatusLifetime, ALookStillRunningEndsBeforeTheWindowGoes) {
    TempDirectory directory;
    FocusReportingControls controls;
    MemorySettingsStore settings;
    VirtualClock clock;
    HeldListing keyboard(clock);
    std::promise<void> letGo;
    keyboard.release = letGo.get_future().share();
    std::mutex postedLock;
    std::vector<std::function<void()>> posted;
    ThreadFlowExecutor executor([&](std::function<void()> task) {
        const std::lock_guard<std::mutex> hold(postedLock);
        posted.push_back(std::move(task));
    });
    auto window = std::make_unique<MainWindowBehaviour>(
        controls, settings, keyboard,
        KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)), executor,
        "varnok");
    window->OnInitDialog();
    keyboard.entered.get_future().wait();

    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        letGo.set_value();
    });
    window.reset();
    EXPECT_TRUE(keyboard.returned) << "the window went while its look was still running";
    releaser.join();
    const std::lock_guard<std::mutex> hold(postedLock);
    ASSERT_EQ(posted.size(), 1u);
    posted.front()();
}

}  // namespace
}  // namespace varnok
