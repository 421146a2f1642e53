#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnok {

class KeySlotsModel;

// Defines row slot (1..6) of the model from text, as the window would define it, in the given
// function mode: in Normal and Once a command item by its name ("Close Window") or a chord
// ("Ctrl+C", "Ctrl|Alt|F4|,"); in String the text the key types. The row's previous
// definition goes, as it does when the window's row changes mode. False, and the model left as
// it was, when the text cannot be encoded; reason says why.
bool DefineKeyFromText(KeySlotsModel& model, int slot, std::int32_t mode,
                       std::string_view definition, std::string& reason);

}  // namespace varnok
