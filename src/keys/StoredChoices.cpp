#include "keys/StoredChoices.h"

#include "keys/FunctionModeNames.h"
#include "keys/KeySlots.h"
#include "keys/KeySlotsModel.h"
#include "store/SettingsStore.h"

namespace varnok {

namespace {

std::int32_t ReadWithin(SettingsStore& settings, std::string_view name, std::int32_t first,
                        std::int32_t last, std::int32_t fallback) {
    const std::int32_t value = settings.ReadSetting(kSettingsSection, name, fallback);
    return value >= first && value <= last ? value : fallback;
}

}  // namespace

std::int32_t StoredLanguage(SettingsStore& settings) {
    return ReadWithin(settings, kLanguageSetting, 0, 1, 0);
}

int StoredKeyCount(SettingsStore& settings) {
    return ReadWithin(settings, kKeyCountSetting, 0, kSlotCount - 2, 0) + 1;
}

std::int32_t StoredFunctionMode(SettingsStore& settings, int row) {
    if (!IsRowSlot(row)) return kNormalMode;
    return ReadWithin(settings, kFunctionModeSettings[row], kNormalMode, kStringMode, kNormalMode);
}

void RestoreFunctionModes(KeySlotsModel& model, SettingsStore& settings) {
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        model.SetFunctionMode(row, StoredFunctionMode(settings, row));
    }
}

}  // namespace varnok
