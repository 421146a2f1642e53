#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keys/KeyboardLayout.h"
#include "keys/Profile.h"

namespace varnok {

class KeySlotsModel;
class SettingsStore;

// The keys as a profile file, written and read the same way by the window and varnok-cli.
// Every refusal is worded for the user in a language (0 English, otherwise Chinese): the file
// and why, so that the user can mend it.

// The extension of profile files, which the window's file dialogs offer.
constexpr std::string_view kProfileExtension = "json";

// The profile of the keys in model, with the window's language and key count as the settings
// hold them. notices: String rows whose text the keyboard types only in part (see
// ProfileOfModel).
Profile ProfileOfStoredKeys(const KeySlotsModel& model, SettingsStore& settings,
                            std::vector<std::string>& notices);

// Empty when file may take a profile; otherwise why not. The map file may not, under any name
// or link for it (by identity): the profile would replace the keys' texts.
std::string ProfileTargetRefusal(const std::filesystem::path& file,
                                 const std::filesystem::path& mapFile, std::int32_t language);

// Writes the profile into file, whole or not at all (see ReplaceFile). Empty when written;
// otherwise "<file>: <why>".
std::string WriteProfileFile(const Profile& profile, const std::filesystem::path& file,
                             std::int32_t language);

// Reads and checks a whole profile before anything uses it, no further than the largest
// profile. Nullopt and refusal "<source>: <why>; nothing was changed" otherwise, where source
// is name for a source that cannot be read and the given source for contents that are no
// profile (the place in the file and the reason). layoutByName makes the layout a profile
// names, to check its strings' bytes.
std::optional<Profile> ReadProfile(std::istream& in, const std::filesystem::path& name,
                                   std::string_view source, std::int32_t language,
                                   std::string& refusal,
                                   const KeyboardLayoutByName& layoutByName = {});
// The same for a file; one that is not there, is no regular file or is larger than any
// profile is refused before it is read.
std::optional<Profile> ReadProfileFile(const std::filesystem::path& file, std::int32_t language,
                                       std::string& refusal,
                                       const KeyboardLayoutByName& layoutByName = {});

// What an import changes, as one change that lands whole or not at all: the model gets the
// profile's keys (keys it does not list become empty Normal rows) and keeps them in its map
// file, the settings (the model's map keeps them) get the rows' function modes, the key count
// and the language, so that a start with them shows the profile. Empty when done; otherwise
// why, with the model, the map file and the settings as they were.
std::string ImportProfile(const Profile& profile, KeySlotsModel& model, std::int32_t language);

}  // namespace varnok
