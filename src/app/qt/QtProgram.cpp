#include "app/qt/QtProgram.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

#include "app/qt/StyleSheetSkin.h"
#include "keys/MessageTexts.h"

namespace varnok {

QtProgram::QtProgram(SettingsStore& settings, WindowFactory makeWindow)
    : settings_(settings), makeWindow_(std::move(makeWindow)) {}

QString QtProgram::ApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

bool QtProgram::InitInstance() {
    // Qt needs no common-controls initialisation. The skin cannot stop start-up: its result is
    // not looked at.
    StyleSheetSkin skin;
    skin.Start(kSkinFileName);
    std::unique_ptr<QtMainWindow> window = makeWindow_(settings_, ApplicationName().toStdString());
    window->exec();
    skin.Stop();
    return false;
}

void QtProgram::ShowStartRefusal(const std::string& reason, std::int32_t language) {
    const MessageText message = MessageFor(MessageId::StartRefused, language);
    const auto text = [](std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    };
    QMessageBox box(QMessageBox::Warning, text(message.caption), text(message.text),
                    QMessageBox::Ok);
    // A path is never markup.
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(text(reason));
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        label->setTextFormat(Qt::PlainText);
    }
    box.exec();
}

}  // namespace varnok
