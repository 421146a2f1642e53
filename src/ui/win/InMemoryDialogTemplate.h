#pragma once

#include <cstdint>
#include <vector>

#include "ui/DialogTemplate.h"

namespace varnok {

// A dialog template as Windows reads it from a program's resources (DLGTEMPLATEEX and its
// DLGITEMTEMPLATEEX items), built in memory from one of Varnok's template tables, so that the
// dialog manager places every control and converts dialog units from the dialog font itself.
// The dialog is a modal-framed popup with caption and system menu in the shell's dialog font
// at the table's size; an Icon control shows icon resource iconResource.
std::vector<std::uint16_t> InMemoryDialogTemplate(const DialogTemplate& dialog,
                                                  std::uint16_t iconResource);

}  // namespace varnok
