#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/ProgramPlatform.h"
#include "support/linux/ScopedEnvironment.h"

namespace varnok {
namespace {

// The first start speaks the language the desktop asks programs for, as gettext reads it.
TEST(SystemLanguage, FollowsTheLocaleOfMessages) {
    using Text = std::optional<std::string>;
    const struct {
        Text all, messages, lang, language;
        std::int32_t expected;
    } cases[] = {
        {{}, {}, "zh_CN.UTF-8", {}, 1},
        {{}, {}, "zh_TW", {}, 1},
        {{}, {}, "en_US.UTF-8", "zh_CN:en", 1},  // LANGUAGE's first entry
        {{}, {}, "zh_CN.UTF-8", "en_GB:zh_CN", 0},
        {{}, "zh_CN.UTF-8", "en_US.UTF-8", {}, 1},  // messages before the general locale
        {"en_US.UTF-8", "zh_CN.UTF-8", {}, {}, 0},  // LC_ALL before both
        {"C.UTF-8", {}, {}, "zh_CN", 0},            // the C locale ignores LANGUAGE
        {{}, {}, "zhx_YY", {}, 0},                  // not Chinese, however it starts
        {{}, {}, {}, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.all.value_or("-") + " " + c.messages.value_or("-") + " " +
                     c.lang.value_or("-") + " " + c.language.value_or("-"));
        ScopedEnvironment environment;
        environment.Set("LC_ALL", c.all);
        environment.Set("LC_MESSAGES", c.messages);
        environment.Set("LANG", c.lang);
        environment.Set("LANGUAGE", c.language);
        EXPECT_EQ(SystemLanguage(), c.expected);
    }
}

}  // namespace
}  // namespace varnok
