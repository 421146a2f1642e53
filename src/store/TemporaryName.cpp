#include "store/TemporaryName.h"

namespace varnok {

namespace {

constexpr std::string_view kTemporarySuffix = ".tmp";

}  // namespace

std::string TemporaryName(std::string_view fileName, unsigned long processId, int attempt) {
    return std::string(fileName) + "." + std::to_string(processId) + "." + std::to_string(attempt) +
           std::string(kTemporarySuffix);
}

bool IsTemporaryOf(std::string_view candidate, std::string_view fileName) {
    if (!candidate.starts_with(fileName) || !candidate.ends_with(kTemporarySuffix)) {
        return false;
    }
    candidate.remove_prefix(fileName.size());
    candidate.remove_suffix(kTemporarySuffix.size());
    int numbers = 0;
    while (!candidate.empty() && candidate.front() == '.') {
        candidate.remove_prefix(1);
        std::size_t digits = 0;
        while (digits < candidate.size() && candidate[digits] >= '0' && candidate[digits] <= '9') {
            ++digits;
        }
        if (digits == 0) {
            return false;
        }
        candidate.remove_prefix(digits);
        ++numbers;
    }
    return candidate.empty() && numbers == 2;
}

}  // namespace varnok
