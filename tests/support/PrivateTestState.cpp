#include "support/PrivateTestState.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "support/TempDirectory.h"

namespace varnok {

bool UsePrivateTestState() {
    static const std::unique_ptr<TempDirectory> folder = [] {
        auto made = std::make_unique<TempDirectory>();
#ifdef _WIN32
        _putenv_s("LOCALAPPDATA", made->Path().string().c_str());
#else
        ::setenv("XDG_STATE_HOME", made->Path().c_str(), 1);
#endif
        return made;
    }();
    return folder != nullptr;
}

}  // namespace varnok
