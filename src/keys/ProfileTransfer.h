#pragma once

#include <string>
#include <vector>

#include "keys/Profile.h"

namespace varnok {

class KeySlotsModel;

// The model's keys as a profile: every row 1..6 with its function mode, text and definition,
// and the hidden key 0 when it holds a definition. A definition is what a save sends: the
// key report of a Normal or Once row (without the Once flag), the payload of a String row.
// A String row's text with characters the keyboard does not type goes into the profile as the
// keyboard types it; notices says so for each such row.
Profile ProfileOfModel(const KeySlotsModel& model, std::int32_t language, std::int32_t keyCount,
                       std::vector<std::string>& notices);

// Replaces every key of the model by the profile's (keys it does not list become empty
// Normal rows), as the window would hold them had the user defined them. The profile must have
// passed ReadProfileJson's checks. Language and key count are the caller's, for the settings.
void ApplyProfile(const Profile& profile, KeySlotsModel& model);

}  // namespace varnok
