#include "app/qt/QtSettingsStore.h"

#include <QVariant>

namespace varnok {

namespace {

QString Key(std::string_view section, std::string_view name) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QtSettingsStore::QtSettingsStore(const QString& applicationName)
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("brelmoth"),
                applicationName) {}

std::int32_t QtSettingsStore::ReadSetting(std::string_view section, std::string_view name,
                                          std::int32_t defaultValue) {
    QVariant value = settings_.value(Key(section, name));
    if (!value.isValid()) return defaultValue;
    // The file keeps every value as text: accept exactly the decimal 32-bit integers.
    bool ok = false;
    int number = value.toString().trimmed().toInt(&ok);
    return ok ? static_cast<std::int32_t>(number) : defaultValue;
}

bool QtSettingsStore::WriteSetting(std::string_view section, std::string_view name,
                                   std::int32_t value) {
    settings_.setValue(Key(section, name), static_cast<int>(value));
    settings_.sync();
    // A file that could not be parsed leaves a sticky FormatError, yet the write replaces it
    // with a clean file; only an AccessError means the value did not land.
    return settings_.status() != QSettings::AccessError;
}

}  // namespace varnok
