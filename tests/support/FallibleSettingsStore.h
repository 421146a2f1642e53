#pragma once

#include <optional>

#include "app/MemorySettingsStore.h"

namespace varnok {

// The in-memory settings store, whose writes can be refused as a read-only settings file's are
// (a value stored already is not written, so it is never refused).
class FallibleSettingsStore : public MemorySettingsStore {
public:
    FileResult WriteSetting(std::string_view section, std::string_view name,
                            std::int32_t value) override {
        if (refusal && ReadSetting(section, name, value ^ 1) != value) return *refusal;
        return MemorySettingsStore::WriteSetting(section, name, value);
    }

    std::optional<FileResult> refusal;
};

}  // namespace varnok
