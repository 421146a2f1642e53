#include "store/SameFile.h"

#include <system_error>

namespace varnok {

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    const auto canonical = [](const std::filesystem::path& path, std::error_code& failure) {
        const auto absolute = std::filesystem::absolute(path, failure);
        return failure ? absolute : std::filesystem::weakly_canonical(absolute, failure);
    };
    std::error_code errorA;
    std::error_code errorB;
    const auto canonicalA = canonical(a, errorA);
    const auto canonicalB = canonical(b, errorB);
    return !errorA && !errorB && canonicalA == canonicalB;
}

}  // namespace varnok
