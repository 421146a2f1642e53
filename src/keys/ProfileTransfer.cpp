#include "keys/ProfileTransfer.h"

#include <algorithm>

#include "keys/FunctionModeNames.h"
#include "keys/KeySlots.h"
#include "keys/KeySlotsModel.h"
#include "keys/StringPayload.h"
#include "keys/TypableString.h"
#include "store/QuotedText.h"

namespace varnok {

namespace {

ProfileKey KeyOfSlot(const KeySlotsModel& model, int slot, std::vector<std::string>& notices) {
    ProfileKey key;
    key.slot = slot;
    const std::int32_t mode = model.FunctionMode(slot);
    // A mode the window's list cannot show is sent as Normal.
    key.function =
        IsRowSlot(slot) && (mode == kOnceMode || mode == kStringMode) ? mode : kNormalMode;
    if (key.function == kStringMode) {
        const TypableString typed = CheckTypableString(model.Text(slot), model.Layout());
        if (!typed.TypesWholeText()) {
            notices.push_back("key " + std::to_string(slot) + ": the keyboard types " +
                              QuotedText(typed.typed) + " of " + QuotedText(model.Text(slot)) +
                              " (" + StringRefusalText(typed, 0) + ")");
        }
        key.text = typed.typed;
        key.definition = EncodeStringPayload(key.text, model.Layout());
        return key;
    }
    const auto& reports = model.Reports(slot).RecordedReports();
    if (reports.empty()) return key;
    key.text = model.Text(slot);
    key.definition.assign(reports.front().begin(), reports.front().end());
    return key;
}

}  // namespace

Profile ProfileOfModel(const KeySlotsModel& model, std::int32_t language, std::int32_t keyCount,
                       std::vector<std::string>& notices) {
    Profile profile;
    profile.language = language == 0 ? 0 : 1;
    profile.keyCount = std::clamp(keyCount, 1, kSlotCount - 1);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        ProfileKey key = KeyOfSlot(model, slot, notices);
        if (slot == 0 && key.definition.empty()) continue;
        profile.keys.push_back(std::move(key));
    }
    return profile;
}

void ApplyProfile(const Profile& profile, KeySlotsModel& model) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        model.ForgetSlot(slot);
        model.SetFunctionMode(slot, kNormalMode);
    }
    for (const ProfileKey& key : profile.keys) {
        model.SetFunctionMode(key.slot, key.function);
        if (key.function == kStringMode) {
            model.TakeText(key.slot, key.text);
        } else if (key.definition.size() == sizeof(KeyReport)) {
            KeyReport report{};
            std::copy(key.definition.begin(), key.definition.end(), report.begin());
            model.DefineChord(key.slot, report, key.text);
        }
    }
    model.KeepTypedStrings();
}

}  // namespace varnok
