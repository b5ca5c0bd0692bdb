#include "update_protocol.h"

#include <QSettings>
#include <charconv>
#include <chrono>

namespace update {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// atof restricted to decimal numbers: no hexadecimal, infinity or NaN forms,
// and independent of the locale's decimal point.
double decimalPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const auto number = text.substr(i);
    const bool startsNumber = !number.empty() &&
        (isDigit(number[0]) || (number[0] == '.' && number.size() > 1 && isDigit(number[1])));
    if (!startsNumber)
        return 0.0;
    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
    return negative ? -value : value;
}

} // namespace

double versionNumber(std::string_view version) {
    return version.empty() ? 0.0 : decimalPrefix(version.substr(1));
}

bool isNewerThanLocal(std::string_view latest) {
    return versionNumber(latest) > versionNumber(LOCAL_VERSION);
}

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

std::int32_t tickCount() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
}

std::string requestUrl(std::string_view url, std::int32_t tick) {
    std::string result(url);
    result += "?udp=";
    result += std::to_string(tick);
    return result;
}

std::string sanitizedVersion(std::string_view version) {
    std::string result;
    for (const char c : version) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                             c == '.' || c == '_' || c == '-';
        if (allowed)
            result += c;
    }
    return result;
}

std::string installerFileName(std::string_view version) {
#ifdef _WIN32
    constexpr std::string_view suffix = ".exe";
#else
    constexpr std::string_view suffix = "";
#endif
    return "Glyphwerk_" + sanitizedVersion(version) + "_setup" + std::string(suffix);
}

} // namespace update
