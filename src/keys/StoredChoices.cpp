#include "keys/StoredChoices.h"

#include <optional>
#include <span>

#include "keys/FunctionModeNames.h"
#include "keys/KeyReport.h"
#include "keys/KeySlots.h"
#include "keys/KeySlotsModel.h"
#include "keys/SlotNames.h"
#include "keys/StringPayload.h"
#include "store/SettingsStore.h"

namespace varnok {

namespace {

std::int32_t ReadWithin(SettingsStore& settings, std::string_view name, std::int32_t first,
                        std::int32_t last, std::int32_t fallback) {
    const std::int32_t value = settings.ReadSetting(kSettingsSection, name, fallback);
    return value >= first && value <= last ? value : fallback;
}

// Whether msmap.dat holds the row as a typed string (true) or a key report (false), where its
// definition tells: a key report begins with its type, a string's payload with a character (a
// marker and the usage of the key that types it). An empty row, zeros or another command's
// bytes (Default's 00 FF) tell nothing.
std::optional<bool> StoredAsString(const KeySlotsModel& model, int row) {
    const SlotEntry* entry = model.Map().Find(SlotNames[row]);
    if (entry == nullptr || entry->text.empty()) return std::nullopt;
    const std::uint8_t first = entry->data[0];
    if (first == kKeyboardReportType || first == kMouseReportType) return false;
    const bool marker = first == kPlainMarker || first == kShiftedMarker;
    if (marker && PayloadIsAllCharacters(std::span(entry->data).first(2))) return true;
    return std::nullopt;
}

}  // namespace

std::int32_t StoredLanguage(SettingsStore& settings, std::int32_t systemLanguage) {
    return ReadWithin(settings, kLanguageSetting, 0, 1, systemLanguage);
}

std::int32_t LanguageOfLocale(std::string_view locale) {
    const bool chinese =
        locale.substr(0, 2) == "zh" && (locale.size() == 2 || locale[2] == '_' ||
                                        locale[2] == '-' || locale[2] == '.' || locale[2] == '@');
    return chinese ? 1 : 0;
}

int StoredKeyCount(SettingsStore& settings) {
    return ReadWithin(settings, kKeyCountSetting, 0, kSlotCount - 2, 0) + 1;
}

std::int32_t StoredFunctionMode(SettingsStore& settings, int row) {
    if (!IsRowSlot(row)) return kNormalMode;
    return ReadWithin(settings, kFunctionModeSettings[row], kNormalMode, kStringMode, kNormalMode);
}

std::int32_t FunctionModeOfStoredRow(const KeySlotsModel& model, int row, std::int32_t mode) {
    if (const std::optional<bool> typed = StoredAsString(model, row)) {
        if (*typed) return kStringMode;
        if (mode == kStringMode) return kNormalMode;
    }
    return mode;
}

void RestoreFunctionModes(KeySlotsModel& model, SettingsStore& settings) {
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        model.SetFunctionMode(
            row, FunctionModeOfStoredRow(model, row, StoredFunctionMode(settings, row)));
    }
}

}  // namespace varnok
