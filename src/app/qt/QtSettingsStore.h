#pragma once

#include <QSettings>
#include <QString>

#include "store/SettingsStore.h"

namespace varnok {

// The per-user settings store: QSettings under the organisation "brelmoth" and the program's
// name, one group per section. On Linux that is $XDG_CONFIG_HOME/brelmoth/<name>.conf, on
// Windows the registry key HKEY_CURRENT_USER\Software\brelmoth\<name>.
class QtSettingsStore : public SettingsStore {
public:
    explicit QtSettingsStore(const QString& applicationName);

    // The caller's default when the value is absent, or is not a 32-bit integer (a hand-edited
    // or damaged file).
    std::int32_t ReadSetting(std::string_view section, std::string_view name,
                             std::int32_t defaultValue) override;
    // Written through to the file at once; false when the store cannot be written.
    bool WriteSetting(std::string_view section, std::string_view name, std::int32_t value) override;

    QString FileName() const { return settings_.fileName(); }

private:
    QSettings settings_;
};

}  // namespace varnok
