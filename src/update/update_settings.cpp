#include "update_settings.h"

#include <QSettings>

namespace update {

QString updateServerUrl() {
    const QString fromEnvironment = qEnvironmentVariable(kUpdateUrlVariable);
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Glyphwerk"));
    const QString configured = settings.value(QLatin1String(kUpdateUrlSetting)).toString();
    return configured.isEmpty() ? QString::fromLatin1(kDefaultUpdateUrl) : configured;
}

std::string descriptionUrl(const QString &serverUrl) {
    QString base = serverUrl.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return (base + QStringLiteral("/Glyphwerk/Update.txt")).toStdString();
}

} // namespace update
