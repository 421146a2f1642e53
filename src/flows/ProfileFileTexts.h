#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "store/LanguageTextRow.h"

namespace varnok {

// What the export and import of a profile say, in the window and on the command line.
enum class ProfileText {
    // After "<file>: ", when an export names the map file.
    MapFileTaken,
    // After the reason an import was refused.
    NothingChanged,
    // The limit a file too large to be a profile is over.
    SizeLimit,
    SettingsNotWritten,
    // The window's file dialogs and message boxes.
    ExportTitle,
    ImportTitle,
    FileType,
    AllFiles,
    Caption,
    Exported,
    NotExported,
    Imported,
    NotImported,
    KeyboardAtNextSave,
};

extern const std::array<LanguageTextRow<ProfileText>, 14> ProfileTexts;

// The text in a language: English for 0, Chinese otherwise.
std::string_view ProfileTextFor(ProfileText id, std::int32_t language);

}  // namespace varnok
