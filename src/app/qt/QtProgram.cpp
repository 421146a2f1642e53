#include "app/qt/QtProgram.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "app/qt/QtSettingsStore.h"
#include "app/qt/StyleSheetSkin.h"

namespace varnok {

QtProgram::QtProgram(WindowFactory makeWindow) : makeWindow_(std::move(makeWindow)) {}

QString QtProgram::ApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

bool QtProgram::InitInstance() {
    // Qt needs no common-controls initialisation. Neither the skin nor the settings store can
    // stop start-up: their results are not looked at.
    StyleSheetSkin skin;
    skin.Start(kSkinFileName);
    QString name = ApplicationName();
    QtSettingsStore settings(name);
    std::unique_ptr<QtMainWindow> window = makeWindow_(settings, name.toStdString());
    window->exec();
    skin.Stop();
    // The window goes with this scope, before the settings store it may use.
    return false;
}

}  // namespace varnok
