#include "keys/KeyTesterRun.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "device/InputReportReader.h"
#include "device/KeyboardInput.h"
#include "device/ReportDescriptorParser.h"
#include "keys/KeyTester.h"

namespace varnok {

std::string RunKeyTester(KeyboardInput& input, const KeySlotsModel& model,
                         const std::atomic<bool>& stop,
                         const std::function<bool(const TesterEvent&)>& shown) {
    std::vector<InputReportReader> readers;
    for (const auto& descriptor : input.Descriptors()) {
        readers.emplace_back(ReportDescriptorParser::InputReportsOf(descriptor)
                                 .value_or(ReportDescriptorParser::InputReports{}));
    }
    KeyTester tester(std::move(readers), model);
    bool ended = false;
    const auto show = [&](const std::vector<TesterEvent>& events) {
        for (const TesterEvent& event : events) {
            if (ended) return;
            ended = !shown(event);
        }
    };

    constexpr std::int64_t kLongestWait = 100;
    const auto start = std::chrono::steady_clock::now();
    const auto now = [&] {
        return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now() - start)
                                             .count());
    };
    std::string error;
    while (!ended && !stop) {
        const std::int64_t wait =
            std::clamp(tester.Deadline().value_or(now() + kLongestWait) - now(), std::int64_t{0},
                       kLongestWait);
        std::size_t interface = 0;
        std::vector<std::uint8_t> report;
        switch (input.Next(static_cast<int>(wait), interface, report, error)) {
            case KeyboardInput::Wait::Report:
                show(tester.Take(interface, report, now()));
                break;
            case KeyboardInput::Wait::Timeout:
                show(tester.Quiet(now()));
                break;
            case KeyboardInput::Wait::Failed:
                show(tester.Finish());
                return error;
        }
    }
    show(tester.Finish());
    return {};
}

}  // namespace varnok
