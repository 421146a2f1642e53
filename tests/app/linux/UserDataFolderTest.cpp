#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/UserDataFolder.h"
#include "support/linux/ScopedEnvironment.h"

namespace varnok {
namespace {

TEST(UserDataFolder, FollowsTheXdgDataHomeOrTheHomeFolder) {
    const struct {
        std::optional<std::string> dataHome, home;
        std::optional<std::string> folder;
    } cases[] = {
        {"/data", "/home/u", "/data/brelmoth/varnok"},
        {{}, "/home/u", "/home/u/.local/share/brelmoth/varnok"},
        {"", "/home/u", "/home/u/.local/share/brelmoth/varnok"},
        {"relative/data", "/home/u", "/home/u/.local/share/brelmoth/varnok"},
        {"/data", {}, "/data/brelmoth/varnok"},
        {{}, {}, {}},
        {{}, "", {}},
        {{}, "home/u", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataHome.value_or("(unset)") + " " + c.home.value_or("(unset)"));
        ScopedEnvironment environment;
        environment.Set("XDG_DATA_HOME", c.dataHome);
        environment.Set("HOME", c.home);
        const auto folder = UserDataFolder("varnok");
        EXPECT_EQ(folder ? std::optional<std::string>(folder->string()) : std::nullopt, c.folder);
    }
}

}  // namespace
}  // namespace varnok
