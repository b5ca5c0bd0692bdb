// The update protocol's plain logic: reading the description, comparing
// versions, building requests and file names, percentages, messages, checksums.

#include "download_error.h"
#include "download_progress.h"
#include "installer_check.h"
#include "update_info.h"
#include "update_protocol.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sodium.h>
#include <string>

using namespace update;

TEST(ProfileString, ReadsLikeTheClassicProfileReader) {
    const std::string ini = "\xEF\xBB\xBF; comment line\r\n"
                            "[Other]\r\nVersion=V9.99\r\n"
                            "[ update ]\r\n"
                            "  version  =  V1.03  \r\n"
                            "Version=V7.00\r\n"
                            "UrlNote=\"http://h/notes.txt\"\n"
                            "UrlUpdate='http://h/setup'\r"
                            "Quoted=\"unbalanced'\n"
                            "NoEquals\n"
                            "[Update]\nAppname=second section is not read\n";
    EXPECT_EQ(profileString(ini, "Update", "Version"), "V1.03");
    EXPECT_EQ(profileString(ini, "UPDATE", "urlnote"), "http://h/notes.txt");
    EXPECT_EQ(profileString(ini, "Update", "UrlUpdate"), "http://h/setup");
    EXPECT_EQ(profileString(ini, "Update", "Quoted"), "\"unbalanced'");
    EXPECT_EQ(profileString(ini, "Update", "NoEquals"), "");
    EXPECT_EQ(profileString(ini, "Update", "Appname"), "");
    EXPECT_EQ(profileString(ini, "Other", "Version"), "V9.99");
    EXPECT_EQ(profileString(ini, "Missing", "Version"), "");
    EXPECT_EQ(profileString("", "Update", "Version"), "");
}

TEST(ParseUpdateInfo, RequiresVersionAndBothUrlsAndCutsLongValues) {
    UpdateInfo info;
    EXPECT_TRUE(parseUpdateInfo(info, "[Update]\nAppname=Glyphwerk\nVersion=V1.03\nUrlNote=n\nUrlUpdate=u\n"));
    EXPECT_EQ(info.appName, "Glyphwerk");
    EXPECT_EQ(info.version, "V1.03");
    EXPECT_EQ(info.noteUrl, "n");
    EXPECT_EQ(info.updateUrl, "u");
    EXPECT_EQ(info.sha256, "");

    // Missing and empty keys; reading stops at the first empty required key.
    EXPECT_FALSE(parseUpdateInfo(info, "[Update]\nVersion=V2\nUrlNote=n\n"));
    EXPECT_EQ(info.version, "V2");
    EXPECT_FALSE(parseUpdateInfo(info, "[Update]\nVersion=\nUrlNote=n\nUrlUpdate=u\n"));
    EXPECT_EQ(info.noteUrl, "");
    EXPECT_FALSE(parseUpdateInfo(info, "[Update]\nVersion=V2\nUrlNote=\nUrlUpdate=u\n"));
    EXPECT_EQ(info.version, "V2");
    EXPECT_EQ(info.updateUrl, "");
    EXPECT_FALSE(parseUpdateInfo(info, "[Elsewhere]\nVersion=V2\nUrlNote=n\nUrlUpdate=u\n"));
    EXPECT_FALSE(parseUpdateInfo(info, "not an ini file at all"));

    const std::string longUrl(300, 'x');
    const std::string ini = "[Update]\nAppname=" + std::string(20, 'a') + "\nVersion=V1.0300000\nUrlNote=" +
                            longUrl + "\nUrlUpdate=" + longUrl + "\nSha256=" + std::string(64, 'f') + "\n";
    EXPECT_TRUE(parseUpdateInfo(info, ini));
    EXPECT_EQ(info.appName, std::string(15, 'a'));
    EXPECT_EQ(info.version, "V1.0300");
    EXPECT_EQ(info.noteUrl, std::string(259, 'x'));
    EXPECT_EQ(info.updateUrl, std::string(259, 'x'));
    EXPECT_EQ(info.sha256, std::string(64, 'f'));

    // A file that cannot be read leaves nothing of the last description.
    EXPECT_FALSE(ReadUpdateInfo(info, "/nonexistent/Update.txt"));
    EXPECT_EQ(info.version, "");
}

TEST(VersionComparison, ReadsTheNumberAfterTheFirstCharacterLikeAtof) {
    EXPECT_DOUBLE_EQ(versionNumber(LOCAL_VERSION), 1.02);
    struct Case {
        const char *latest;
        double number;
        bool newer;
    };
    const Case cases[] = {
        {"V1.02", 1.02, false},  {"V1.1", 1.1, true},       {"V2", 2.0, true},
        {"V1.010", 1.01, false}, {"1.03", 0.03, false},     {"Vbeta", 0.0, false},
        {"V1.03", 1.03, true},   {"V1.020", 1.02, false},   {"V 1.03", 1.03, true},
        {"V1.03rc", 1.03, true}, {"V1e1", 10.0, true},      {"V1e", 1.0, false},
        {"V0x10", 0.0, false},   {"Vinf", 0.0, false},      {"V-2", -2.0, false},
        {"V+1.5", 1.5, true},    {"V.5", 0.5, false},       {"V.", 0.0, false},
        {"", 0.0, false},        {"V", 0.0, false},         {"V1.0201", 1.0201, true},
    };
    for (const Case &c : cases) {
        EXPECT_DOUBLE_EQ(versionNumber(c.latest), c.number) << c.latest;
        EXPECT_EQ(isNewerThanLocal(c.latest), c.newer) << c.latest;
    }
}

TEST(RequestUrl, AppendsTheTickCountQueryEvenAfterAnExistingQuery) {
    EXPECT_EQ(requestUrl("http://h/Glyphwerk/Update.txt", 1234), "http://h/Glyphwerk/Update.txt?udp=1234");
    EXPECT_EQ(requestUrl("http://h/get?file=setup", -5), "http://h/get?file=setup?udp=-5");
    EXPECT_EQ(requestUrl("http://h/x", INT32_MIN), "http://h/x?udp=-2147483648");
}

TEST(InstallerName, OnlySafeCharactersOfTheVersionReachTheFileName) {
    EXPECT_EQ(sanitizedVersion("V1.03"), "V1.03");
    EXPECT_EQ(sanitizedVersion("../../.bashrc"), ".....bashrc");
    EXPECT_EQ(sanitizedVersion("V1/..\\x y;$(rm)\n\xC3\xA9"), "V1..xyrm");
    EXPECT_EQ(sanitizedVersion("v_2-rc.1"), "v_2-rc.1");
#ifdef _WIN32
    EXPECT_EQ(installerFileName("V1.03"), "Glyphwerk_V1.03_setup.exe");
#else
    EXPECT_EQ(installerFileName("V1.03"), "Glyphwerk_V1.03_setup");
    EXPECT_EQ(installerFileName("../../x"), "Glyphwerk_....x_setup");
#endif
}

TEST(ProgressPercent, TruncatesDoesNotClampAndIsZeroForAnUnknownTotal) {
    EXPECT_EQ(progressPercent(0, 0), 0);
    EXPECT_EQ(progressPercent(5000, 0), 0);
    EXPECT_EQ(progressPercent(50, 200), 25);
    EXPECT_EQ(progressPercent(1, 3), 33);
    EXPECT_EQ(progressPercent(2, 3), 66);
    EXPECT_EQ(progressPercent(200, 200), 100);
    EXPECT_EQ(progressPercent(300, 200), 150);
    EXPECT_EQ(progressPercent(quint64(6) << 32, quint64(8) << 32), 75); // beyond 32-bit counts
    EXPECT_EQ(progressLine(512, 0), "Downloaded 512 bytes (total size unknown)");
    EXPECT_EQ(progressLine(1536, 3 * 1024 * 1024), "Downloaded 1.50 kB of 3.00 MB");
}

TEST(DownloadProgress, StopsOnTheAbortFlagOrAPassedDeadlineAndReportsOtherwise) {
    std::vector<int> percents;
    std::vector<QString> lines;
    CDownloadProgress observer;
    observer.setOwner([&](const QString &, const QString &line, int percent) {
        percents.push_back(percent);
        lines.push_back(line);
    });
    g_abortDownload = 0;
    EXPECT_EQ(observer.OnProgress(10, 40, 0, {}), S_OK_);
    EXPECT_EQ(observer.OnProgress(20, 0, 0, {}), S_OK_);
    observer.enableDeadline(QDateTime::currentSecsSinceEpoch() + 1800);
    EXPECT_EQ(observer.OnProgress(40, 40, 0, {}), S_OK_);
    EXPECT_EQ(percents, (std::vector<int>{25, 0, 100}));
    EXPECT_EQ(lines[0], "Downloaded 10 bytes of 40 bytes");

    g_abortDownload = 1;
    EXPECT_TRUE(observer.mustStop());
    EXPECT_EQ(observer.OnProgress(41, 40, 0, {}), E_ABORT_);
    g_abortDownload = 0;
    observer.enableDeadline(QDateTime::currentSecsSinceEpoch() - 1);
    EXPECT_TRUE(observer.mustStop());
    EXPECT_EQ(observer.OnProgress(41, 40, 0, {}), E_ABORT_);
    EXPECT_EQ(percents.size(), 3u); // nothing reported once stopped
}

TEST(DownloadFailedMessage, HasTheClassicFormat) {
    EXPECT_EQ(downloadFailedMessage(0x80004004, "Operation canceled"),
              "Download failed.  Error = 0x80004004\n\nOperation canceled");
    EXPECT_EQ(downloadFailedMessage(0x800C0006, ""), "Download failed.  Error = 0x800C0006\n\nNo message available.");
    EXPECT_EQ(downloadFailedMessage(0x1F, "x"), "Download failed.  Error = 0x0000001F\n\nx");
}

TEST(DownloadErrorCodes, EachKindOfFailureHasItsStableCode) {
    using E = QNetworkReply::NetworkError;
    EXPECT_EQ(errorCodeFor(E::OperationCanceledError), 0x80004004u);
    EXPECT_EQ(errorCodeFor(E::ConnectionRefusedError), 0x800C0004u);
    EXPECT_EQ(errorCodeFor(E::HostNotFoundError), 0x800C0005u);
    EXPECT_EQ(errorCodeFor(E::ContentNotFoundError), 0x800C0006u);
    EXPECT_EQ(errorCodeFor(E::TimeoutError), 0x800C000Bu);
    EXPECT_EQ(errorCodeFor(E::ProtocolUnknownError), 0x800C000Du);
    EXPECT_EQ(errorCodeFor(E::SslHandshakeFailedError), 0x800C000Eu);
    EXPECT_EQ(errorCodeFor(E::InternalServerError), 0x800C0008u);
    EXPECT_EQ(errorCodeFor(E::ContentAccessDenied), 0x800C0008u);
}

TEST(Checksum, MatchesMismatchesAndRejectsMalformedDigests) {
    QTemporaryDir dir;
    const QString path = dir.filePath("setup");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("abc");
    file.close();
    const std::string digest = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"; // SHA-256("abc")
    EXPECT_EQ(checkSha256(path, digest), ChecksumCheck::Match);
    EXPECT_EQ(checkSha256(path, QByteArray::fromStdString(digest).toUpper().toStdString()), ChecksumCheck::Match);
    std::string other = digest;
    other[0] = 'c';
    EXPECT_EQ(checkSha256(path, other), ChecksumCheck::Mismatch);
    EXPECT_EQ(checkSha256(dir.filePath("missing"), digest), ChecksumCheck::Mismatch);
    EXPECT_EQ(checkSha256(path, digest.substr(1)), ChecksumCheck::Malformed);
    EXPECT_EQ(checkSha256(path, digest.substr(1) + "g"), ChecksumCheck::Malformed);
    EXPECT_EQ(checkSha256(path, digest + "0"), ChecksumCheck::Malformed);
}

TEST(VerifyInstaller, WithAnUpdateKeyOnlyAValidSignatureByThatKeyLetsTheInstallerRun) {
    ASSERT_GE(sodium_init(), 0);
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES], secretKey[crypto_sign_SECRETKEYBYTES];
    unsigned char otherPublic[crypto_sign_PUBLICKEYBYTES], otherSecret[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(publicKey, secretKey);
    crypto_sign_keypair(otherPublic, otherSecret);
    const QByteArray key(reinterpret_cast<const char *>(publicKey), sizeof publicKey);
    QByteArray installer(100000, '\0');
    for (qsizetype i = 0; i < installer.size(); ++i)
        installer[i] = char(i * 31 + i / 7);
    const auto signature = [&](const unsigned char *secret, const QByteArray &message) {
        unsigned char bytes[crypto_sign_BYTES];
        crypto_sign_detached(bytes, nullptr, reinterpret_cast<const unsigned char *>(message.constData()),
                             message.size(), secret);
        return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes).toHex();
    };
    const QByteArray good = signature(secretKey, installer);
    QByteArray flipped = good;
    flipped[0] = flipped[0] == '0' ? '1' : '0';
    QTemporaryDir dir;
    QFile file(dir.filePath("setup"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(installer);
    file.close();
    const QByteArray digest = QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex();

    const QString signatureFailed = "0x80096010 The downloaded installer is not signed with this program's update key.";
    const struct {
        QByteArray keys; // the description's lines after the required ones
        QByteArray publicKey;
        QString result;
    } cases[] = {
        {"", {}, "ok"}, // no built-in key: nothing changes
        {"Signature=" + flipped + "\n", {}, "ok"},
        {"Signature=" + good + "\n", key, "ok"},
        {"Signature=" + good.toUpper() + "\nSha256=" + digest + "\n", key, "ok"},
        {"Signature=" + flipped + "\n", key, signatureFailed},
        {"Signature=" + signature(otherSecret, installer) + "\n", key, signatureFailed},
        {"Signature=" + signature(secretKey, installer + "x") + "\n", key, signatureFailed},
        {"Signature=" + good + "\n", QByteArray(reinterpret_cast<const char *>(otherPublic), 32), signatureFailed},
        {"", key, "0x80096010 The update description has no Signature of the installer."},
        {"Signature=" + good.left(127) + "\n", key,
         "0x80096010 The update description's Signature is not 128 hexadecimal digits."},
        {"Signature=" + good.left(127) + "g\n", key,
         "0x80096010 The update description's Signature is not 128 hexadecimal digits."},
        {"Signature=" + good + "\nSha256=" + digest.left(63) + "0\n", key,
         "0x80091007 The downloaded installer does not match the SHA-256 checksum of the update description."},
    };
    for (const auto &c : cases) {
        UpdateInfo info;
        ASSERT_TRUE(parseUpdateInfo(info, ("[Update]\nVersion=V2\nUrlNote=n\nUrlUpdate=u\n" + c.keys).toStdString()));
        const DownloadResult result = verifyInstaller(file.fileName(), info, c.publicKey);
        const QString shown = result.ok ? "ok" : "0x" + QString::number(result.code, 16).toUpper() + " " + result.text;
        EXPECT_EQ(shown, c.result) << c.keys.toStdString();
    }
}

TEST(UpdateSettings, TheEnvironmentOverridesTheSettingWhichOverridesTheDefault) {
    qunsetenv(kUpdateUrlVariable);
    QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Glyphwerk"));
    settings.remove(kUpdateUrlSetting);
    EXPECT_EQ(updateServerUrl(), "http://glyphwerk.example.org");
    settings.setValue(kUpdateUrlSetting, "https://updates.example.net/base/");
    settings.sync();
    EXPECT_EQ(updateServerUrl(), "https://updates.example.net/base/");
    qputenv(kUpdateUrlVariable, "http://127.0.0.1:8000");
    EXPECT_EQ(updateServerUrl(), "http://127.0.0.1:8000");
    qunsetenv(kUpdateUrlVariable);
    settings.remove(kUpdateUrlSetting);

    EXPECT_EQ(descriptionUrl("https://updates.example.net/base/"), "https://updates.example.net/base/Glyphwerk/Update.txt");
    EXPECT_EQ(descriptionUrl("http://127.0.0.1:8000"), "http://127.0.0.1:8000/Glyphwerk/Update.txt");
}
