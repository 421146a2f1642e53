#include "support/TempDirectory.h"

#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace varnok {

TempDirectory::TempDirectory() {
    const std::filesystem::path parent = std::filesystem::temp_directory_path();
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            parent / ("varnok-test-" + std::to_string(random() % 1000000000));
        std::error_code error;
        // False, without an error, when the name is taken: then try another.
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate;
            return;
        }
        if (error) break;
    }
    throw std::runtime_error("cannot create a directory in " + parent.string());
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace varnok
