// A keyboard's report descriptor and the input reports it sends: the first byte gives the
// descriptor's length, the descriptor follows, then reports, each after a byte giving its
// length. A report is read as the descriptor declares it or is refused, keys are real keys,
// and a tester session of them ends every press it gathered.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "FuzzCheck.h"
#include "device/InputReportReader.h"
#include "device/ReportDescriptorParser.h"
#include "keys/KeySlotsModel.h"
#include "keys/KeyTester.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    std::span<const std::uint8_t> input(bytes, size);
    if (input.empty()) return 0;
    const std::size_t descriptorSize = std::min<std::size_t>(input[0], input.size() - 1);
    const auto inputs = ReportDescriptorParser::InputReportsOf(input.subspan(1, descriptorSize));
    if (!inputs) return 0;
    input = input.subspan(1 + descriptorSize);

    static const KeySlotsModel model{SlotMap()};
    const InputReportReader reader(*inputs);
    KeyTester tester({reader}, model);
    std::int64_t now = 0;
    while (!input.empty()) {
        const std::size_t length = std::min<std::size_t>(input[0], input.size() - 1);
        const auto report = input.subspan(1, length);
        input = input.subspan(1 + length);

        const InputReading reading = reader.Read(report);
        Require((reading.outcome == InputReading::Outcome::Bad) == !reading.problem.empty(),
                "a refused report says why, and only a refused one");
        for (const std::uint8_t key : reading.held.keys) {
            Require(key >= 0x04 && (key < 0xE0 || key > 0xE7), "a key is a key, not a modifier");
            Require(std::count(reading.held.keys.begin(), reading.held.keys.end(), key) == 1,
                    "each key is held once");
        }
        now += 10;
        for (const TesterEvent& event : tester.Take(0, report, now)) {
            if (const auto* press = std::get_if<TestedPress>(&event)) {
                Require(!press->reports.empty(), "a press has reports");
            }
        }
    }
    tester.Finish();
    Require(!tester.Deadline(), "nothing waits once the session ends");
    return 0;
}
