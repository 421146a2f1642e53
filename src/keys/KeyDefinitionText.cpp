#include "keys/KeyDefinitionText.h"

#include "keys/ChordText.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyLookup.h"
#include "keys/KeySlotsModel.h"
#include "keys/RowText.h"
#include "store/QuotedText.h"

namespace varnok {

bool DefineKeyFromText(KeySlotsModel& model, int slot, std::int32_t mode,
                       std::string_view definition, std::string& reason) {
    if (mode == kStringMode) {
        if (!CheckTypedString(definition, reason, model.Layout()) ||
            !CheckRowText(definition, RowTextUse::TypedString, reason)) {
            return false;
        }
        model.ForgetSlot(slot);
        model.SetFunctionMode(slot, mode);
        model.TakeText(slot, std::string(definition));
        model.KeepTypedStrings();
        return true;
    }
    if (const auto item = CommandItemByName(definition)) {
        model.ForgetSlot(slot);
        model.SetFunctionMode(slot, mode);
        model.DefineCommandItem(slot, *item);
        return true;
    }
    std::string chordError;
    const auto chord = ParseChordText(definition, chordError);
    if (!chord) {
        reason = QuotedInput(definition) + " is no command item (" + CommandItemNameList() +
                 "), and as a chord: " + chordError;
        return false;
    }
    model.ForgetSlot(slot);
    model.SetFunctionMode(slot, mode);
    model.DefineChord(slot, chord->report, chord->text);
    return true;
}

}  // namespace varnok
