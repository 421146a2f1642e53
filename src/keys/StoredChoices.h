#pragma once

#include <cstdint>
#include <string_view>

namespace varnok {

class KeySlotsModel;
class SettingsStore;

// The user's choices as the settings store keeps them, each read within the range the window
// offers. A value outside it (a hand-edited file, another program's) is taken as the choice's
// default and left as stored: only a choice the user makes is written.

// The window's language: 0 English, 1 Chinese. Where none is stored (the first start) or the
// value is neither, the language of the system: systemLanguage.
std::int32_t StoredLanguage(SettingsStore& settings, std::int32_t systemLanguage = 0);
// The window's language for a locale name as the system gives it ("zh_CN.UTF-8", "zh-Hans",
// "en_US"): Chinese for a Chinese one, English for every other.
std::int32_t LanguageOfLocale(std::string_view locale);
// The number of rows shown: 1..6; anything else 1.
int StoredKeyCount(SettingsStore& settings);
// Row 1..6's function mode: Normal, Once or String; anything else Normal.
std::int32_t StoredFunctionMode(SettingsStore& settings, int row);
// Gives every row of the model its stored function mode, unless the model's msmap.dat shows
// otherwise: a map carried to another machine, or named with --map, comes without the settings
// of its rows, and a Save must not send a string's bytes as a chord or a chord's name as a
// string. A row whose definition is a typed string is String; one that is a key report is
// Normal where the settings say String (Normal and Once look alike in the map).
void RestoreFunctionModes(KeySlotsModel& model, SettingsStore& settings);
// The same rule for one row whose mode is mode: the mode its msmap.dat entry calls for.
std::int32_t FunctionModeOfStoredRow(const KeySlotsModel& model, int row, std::int32_t mode);

}  // namespace varnok
