#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "device/linux/DevNodeWatch.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;

// Waits up to a second for the count to reach at least n.
int WaitFor(const std::atomic<int>& count, int n) {
    for (auto end = std::chrono::steady_clock::now() + 1s;
         count < n && std::chrono::steady_clock::now() < end;) {
        std::this_thread::sleep_for(5ms);
    }
    return count;
}

// A hidraw node made, given other rights or removed is told, once for a burst of changes and
// never faster than the interval; other entries of /dev are not, and nothing is told after
// Stop.
TEST(DevNodeWatch, TellsOfHidrawNodesOnly) {
    TempDirectory dev;
    std::atomic<int> told = 0;
    DevNodeWatch watch(dev.Path(), 20ms, 300ms);
    ASSERT_TRUE(watch.Start([&told] { ++told; }));
    const auto node = [&dev](const char* name) { return dev.Path() / name; };

    const struct {
        const char* label;
        void (*change)(const std::filesystem::path&);
        const char* name;
        int told;  // in all, after this change
    } steps[] = {
        {"another device", [](const auto& p) { std::ofstream(p) << ""; }, "ttyUSB0", 0},
        {"a hidraw node", [](const auto& p) { std::ofstream(p) << ""; }, "hidraw5", 1},
        {"its rights", [](const auto& p) { chmod(p.c_str(), 0660); }, "hidraw5", 2},
        {"removed", [](const auto& p) { std::filesystem::remove(p); }, "hidraw5", 3},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.label);
        const auto before = std::chrono::steady_clock::now();
        step.change(node(step.name));
        EXPECT_EQ(WaitFor(told, step.told), step.told);
        std::this_thread::sleep_for(50ms);  // no second word of the same change
        EXPECT_EQ(told, step.told);
        if (step.told > 1) {
            EXPECT_GE(std::chrono::steady_clock::now() - before, 200ms);
        }
    }

    // A burst: five nodes at once are one change.
    std::this_thread::sleep_for(300ms);
    for (int i = 0; i < 5; ++i) std::ofstream(node(("hidraw1" + std::to_string(i)).c_str())) << "";
    EXPECT_EQ(WaitFor(told, 4), 4);
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(told, 4);

    watch.Stop();
    std::ofstream(node("hidraw9")) << "";
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(told, 4);
}

TEST(DevNodeWatch, ADirectoryThatCannotBeWatchedIsSaidSo) {
    DevNodeWatch watch("/nonexistent/dev", 20ms, 300ms);
    EXPECT_FALSE(watch.Start([] {}));
}

}  // namespace
}  // namespace varnok
