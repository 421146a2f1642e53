#include "ui/qt/ProgramIcon.h"

#include <QString>

namespace varnok {

QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/varnok.png"));
}

}  // namespace varnok
