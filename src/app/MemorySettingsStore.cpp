#include "app/MemorySettingsStore.h"

namespace varnok {

std::int32_t MemorySettingsStore::ReadSetting(std::string_view section, std::string_view name,
                                              std::int32_t defaultValue) {
    auto it = values_.find({std::string(section), std::string(name)});
    return it == values_.end() ? defaultValue : it->second;
}

FileResult MemorySettingsStore::WriteSetting(std::string_view section, std::string_view name,
                                             std::int32_t value) {
    values_[{std::string(section), std::string(name)}] = value;
    return {};
}

bool MemorySettingsStore::Has(std::string_view section, std::string_view name) const {
    return values_.count({std::string(section), std::string(name)}) != 0;
}

}  // namespace varnok
