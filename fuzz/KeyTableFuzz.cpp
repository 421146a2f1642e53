// The simulated keyboard's key table file: whatever parses is written back in a form that
// parses to the same table and is written the same again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "device/SimulatedKeyboardMemory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    std::string error;
    const auto table = SimulatedKeyboardMemory::FromText(text, error);
    if (!table) {
        Require(!error.empty(), "a refusal says why");
        return 0;
    }
    const std::string written = table->ToText();
    const auto again = SimulatedKeyboardMemory::FromText(written, error);
    Require(again.has_value() && *again == *table, "parse-write-parse gives the same table");
    Require(again->ToText() == written, "the table is written the same again");
    for (std::uint8_t page = 0; page <= SimulatedKeyboardMemory::kSlotCount; ++page) {
        for (std::size_t index = 0; index < 6; ++index) {
            Require(table->PageReport(page, index)[0] == again->PageReport(page, index)[0],
                    "pages carry the report id");
        }
    }
    return 0;
}
