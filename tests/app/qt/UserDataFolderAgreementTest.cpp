#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStandardPaths>
#include <optional>
#include <string>

#include "app/UserDataFolder.h"
#include "support/linux/ScopedEnvironment.h"

namespace varnok {
namespace {

// The programs without Qt find the window's msmap.dat where Qt would keep the window's data.
// Not compared: a relative XDG_DATA_HOME, which the XDG rules say to ignore and Qt takes as it
// is (a map that moved with the working directory would be lost to the user).
TEST(UserDataFolder, AgreesWithQtsApplicationDataLocation) {
    const QString organisation = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(
        QString::fromUtf8(kOrganisationName.data(), kOrganisationName.size()));
    QCoreApplication::setApplicationName(QStringLiteral("varnok"));
    const std::optional<std::string> dataHomes[] = {"/tmp/data-home", std::nullopt, ""};
    for (const auto& dataHome : dataHomes) {
        SCOPED_TRACE(dataHome.value_or("(unset)"));
        ScopedEnvironment environment;
        environment.Set("XDG_DATA_HOME", dataHome);
        environment.Set("HOME", "/tmp/home");
        const auto folder = UserDataFolder("varnok");
        ASSERT_TRUE(folder.has_value());
        EXPECT_EQ(folder->string(),
                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
    }
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
}

}  // namespace
}  // namespace varnok
