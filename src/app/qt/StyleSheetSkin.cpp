#include "app/qt/StyleSheetSkin.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varnok {

bool StyleSheetSkin::Start(std::string_view skinFileName) {
    QString name =
        QString::fromUtf8(skinFileName.data(), static_cast<qsizetype>(skinFileName.size()));
    const QString candidates[] = {
        QDir(QCoreApplication::applicationDirPath()).filePath(name),
        QDir::current().filePath(name),
    };
    for (const QString& candidate : candidates) {
        QFileInfo info(candidate);
        if (!info.isFile()) continue;
        QFile file(candidate);
        if (info.size() > kMaxSkinBytes || !file.open(QIODevice::ReadOnly)) return false;
        QByteArray sheet = file.read(kMaxSkinBytes + 1);
        if (sheet.size() > kMaxSkinBytes) return false;
        qApp->setStyleSheet(QString::fromUtf8(sheet));
        skinFile_ = candidate;
        return true;
    }
    return true;
}

void StyleSheetSkin::Stop() {
    if (skinFile_.isEmpty()) return;
    qApp->setStyleSheet(QString());
    skinFile_.clear();
}

}  // namespace varnok
