#pragma once

#include <map>
#include <string>
#include <utility>

#include "store/SettingsStore.h"

namespace varnok {

// A settings store that lives only as long as the process: the store of the tests, and of a
// run that must not touch the user's real settings.
class MemorySettingsStore : public SettingsStore {
public:
    std::int32_t ReadSetting(std::string_view section, std::string_view name,
                             std::int32_t defaultValue) override;
    FileResult WriteSetting(std::string_view section, std::string_view name,
                            std::int32_t value) override;
    std::string ReadText(std::string_view section, std::string_view name) override;
    FileResult WriteText(std::string_view section, std::string_view name,
                         std::string_view text) override;

    bool Has(std::string_view section, std::string_view name) const;

private:
    std::map<std::pair<std::string, std::string>, std::int32_t> values_;
    std::map<std::pair<std::string, std::string>, std::string> texts_;
};

}  // namespace varnok
