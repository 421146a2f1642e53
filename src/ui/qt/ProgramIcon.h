#pragma once

#include <QIcon>

namespace varnok {

// The program icon (icon resource 128 of Varnok on Windows): the window icon of every window
// and the picture of the About box.
QIcon ProgramIcon();

}  // namespace varnok
