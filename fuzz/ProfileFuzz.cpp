// Profiles as anyone may hand them over: what is accepted is written back in a form that
// reads to the same profile and is written the same again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "keys/ProfileJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    std::string error;
    const auto profile = ReadProfileJson(text, error);
    if (!profile) {
        Require(!error.empty(), "a refusal says why");
        return 0;
    }
    const std::string written = WriteProfileJson(*profile);
    const auto again = ReadProfileJson(written, error);
    Require(again.has_value(), "a written profile is accepted");
    Require(*again == *profile, "parse-write-parse gives the same profile");
    Require(WriteProfileJson(*again) == written, "the profile is written the same again");
    return 0;
}
