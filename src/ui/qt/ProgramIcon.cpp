#include "ui/qt/ProgramIcon.h"

#include <QString>

// The icon is compiled into the Qt layer's static library; naming its resource here keeps the
// linker from dropping it. The macro must stand outside any namespace.
static void InitIconResource() {
    Q_INIT_RESOURCE(varnok);
}

namespace varnok {

QIcon ProgramIcon() {
    static const bool loaded = (InitIconResource(), true);
    (void)loaded;
    return QIcon(QStringLiteral(":/varnok.png"));
}

}  // namespace varnok
