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

std::string MemorySettingsStore::ReadText(std::string_view section, std::string_view name) {
    auto it = texts_.find({std::string(section), std::string(name)});
    return it == texts_.end() ? std::string() : it->second;
}

FileResult MemorySettingsStore::WriteText(std::string_view section, std::string_view name,
                                          std::string_view text) {
    texts_[{std::string(section), std::string(name)}] = text;
    return {};
}

bool MemorySettingsStore::Has(std::string_view section, std::string_view name) const {
    const std::pair<std::string, std::string> key{section, name};
    return values_.count(key) != 0 || texts_.count(key) != 0;
}

}  // namespace varnok
