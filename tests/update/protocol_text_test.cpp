// The update protocol's plain logic: the description, versions, installer
// names, checksums, signatures and URLs.

#include "installer_check.h"
#include "update_info.h"
#include "update_protocol.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sodium.h>

using namespace update;

TEST(UpdateInfo, ReadsLikeTheClassicProfileReaderRequiresVersionAndBothUrlsAndCutsLongValues) {
    const std::string ini = "\xEF\xBB\xBF; comment line\r\n[Other]\r\nVersion=V9.99\r\n[ update ]\r\n"
                            "  version  =  V1.03  \r\nVersion=V7.00\r\nUrlNote=\"http://h/notes.txt\"\n"
                            "UrlUpdate='http://h/setup'\rQuoted=\"unbalanced'\nNoEquals\n"
                            "[Update]\nAppname=second section is not read\n";
    const std::pair<const char *, const char *> keys[] = {{"Update", "Version"}, {"UPDATE", "urlnote"},
        {"Update", "UrlUpdate"}, {"Update", "Quoted"}, {"Update", "NoEquals"}, {"Update", "Appname"},
        {"Other", "Version"}, {"Missing", "Version"}};
    std::string found;
    for (const auto &[section, key] : keys)
        found += profileString(ini, section, key) + "|";
    EXPECT_EQ(found, "V1.03|http://h/notes.txt|http://h/setup|\"unbalanced'|||V9.99||");
    EXPECT_EQ(profileString("", "Update", "Version"), "");

    UpdateInfo info;
    const auto parsed = [&](const std::string &text) {
        const bool ok = parseUpdateInfo(info, text);
        return (ok ? "ok " : "no ") + info.appName + "|" + info.version + "|" + info.noteUrl + "|" + info.updateUrl;
    };
    EXPECT_EQ(parsed(ini), "ok |V1.03|http://h/notes.txt|http://h/setup");
    // Reading stops at the first missing or empty required key.
    EXPECT_EQ(parsed("[Update]\nVersion=V2\nUrlNote=n\n"), "no |V2|n|");
    EXPECT_EQ(parsed("[Update]\nVersion=\nUrlNote=n\nUrlUpdate=u\n"), "no |||");
    EXPECT_EQ(parsed("[Update]\nVersion=V2\nUrlNote=\nUrlUpdate=u\n"), "no |V2||");
    EXPECT_EQ(parsed("[Elsewhere]\nVersion=V2\nUrlNote=n\nUrlUpdate=u\n"), "no |||");
    const std::string url(300, 'x'), cut(259, 'x');
    EXPECT_EQ(parsed("[Update]\nAppname=" + std::string(20, 'a') + "\nVersion=V1.0300000\nUrlNote=" + url +
                     "\nUrlUpdate=" + url + "\nSha256=" + std::string(64, 'f')),
              "ok " + std::string(15, 'a') + "|V1.0300|" + cut + "|" + cut);
    EXPECT_EQ(info.sha256, std::string(64, 'f'));
    // A file that cannot be read leaves nothing of the last description.
    EXPECT_FALSE(ReadUpdateInfo(info, "/nonexistent/Update.txt") || !(info.version + info.updateUrl + info.sha256).empty());
}

TEST(Versions, AreReadAfterTheFirstCharacterLikeAtofAndOnlyTheirSafeCharactersReachTheInstallerName) {
    EXPECT_DOUBLE_EQ(versionNumber(LOCAL_VERSION), 1.02);
    const struct { const char *latest; double number; bool newer; } cases[] = {
        {"V1.02", 1.02, false}, {"V1.0201", 1.0201, true}, {"V1.1", 1.1, true},   {"V9", 9.0, true},   {"V0.5", 0.5, false},
        {"V 1.03", 1.03, true}, {"V\t1.03", 1.03, true},  {"V\r1.03", 1.03, true}, {"V1.03rc", 1.03, true}, {"V1e1", 10.0, true},
        {"V1e", 1.0, false},    {"V0x10", 0.0, false},     {"Vinf", 0.0, false},    {"V-2", -2.0, false},   {"V+1.5", 1.5, true},
        {"V.5", 0.5, false},    {"V.", 0.0, false},        {"", 0.0, false},        {"V", 0.0, false},      {"1.03", 0.03, false},
    };
    for (const auto &c : cases) {
        EXPECT_DOUBLE_EQ(versionNumber(c.latest), c.number) << c.latest;
        EXPECT_EQ(isNewerThanLocal(c.latest), c.newer) << c.latest;
    }
    EXPECT_EQ(sanitizedVersion("V1/..\\x y;$(rm)\n\xC3\xA9_-aAzZ09"), "V1..xyrm_-aAzZ09");
    EXPECT_TRUE(installerFileName("../../x").starts_with("Glyphwerk_....x_setup")) << installerFileName("../../x");
}

TEST(VerifyInstaller, TheChecksumWhenGivenThenWithAnUpdateKeyOnlyAValidSignatureByThatKeyLetsTheInstallerRun) {
    ASSERT_GE(sodium_init(), 0);
    unsigned char keys[2][crypto_sign_PUBLICKEYBYTES], secrets[2][crypto_sign_SECRETKEYBYTES];
    for (int i = 0; i < 2; ++i)
        crypto_sign_keypair(keys[i], secrets[i]);
    const QByteArray key(reinterpret_cast<const char *>(keys[0]), 32), otherKey(reinterpret_cast<const char *>(keys[1]), 32);
    const QByteArray installer = QByteArray("\x7f" "ELF installer bytes\0\xff", 24).repeated(4000);
    const auto signature = [&](int signer, const QByteArray &message) {
        unsigned char bytes[crypto_sign_BYTES];
        crypto_sign_detached(bytes, nullptr, reinterpret_cast<const unsigned char *>(message.constData()),
                             message.size(), secrets[signer]);
        return "Signature=" + QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes).toHex();
    };
    const QByteArray good = signature(0, installer), digest = QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex();
    const QByteArray flipped = QByteArray(good).replace(10, 1, good[10] == '0' ? "1" : "0");
    QTemporaryDir dir;
    QFile file(dir.filePath("setup"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(installer) == installer.size() && file.flush());
    const QString notSigned = "0x80096010 The downloaded installer is not signed with this program's update key.",
                  badDigits = "0x80096010 The update description's Signature is not 128 hexadecimal digits.";
    const struct { QByteArray keys, publicKey; QString result; } cases[] = { // keys: after the required ones
        {"", {}, "ok"}, // no built-in key: nothing changes
        {flipped, {}, "ok"},
        {"Sha256=" + QByteArray(64, 'a'), {},
         "0x80091007 The downloaded installer does not match the SHA-256 checksum of the update description."},
        {"Sha256=" + digest.left(63) + "g", {},
         "0x80091007 The update description's SHA-256 checksum is not 64 hexadecimal digits."},
        {good, key, "ok"},
        {"signature=" + good.mid(10).toUpper() + "\nSha256=" + digest.toUpper(), key, "ok"},
        {flipped, key, notSigned},
        {signature(1, installer), key, notSigned},
        {signature(0, installer + "x"), key, notSigned},
        {good, otherKey, notSigned},
        {"", key, "0x80096010 The update description has no Signature of the installer."},
        {good.chopped(1), key, badDigits},
        {good.chopped(1) + "g", key, badDigits},
    };
    for (const auto &c : cases) {
        UpdateInfo info;
        ASSERT_TRUE(parseUpdateInfo(info, ("[Update]\nVersion=V2\nUrlNote=n\nUrlUpdate=u\n" + c.keys).toStdString()));
        const DownloadResult r = verifyInstaller(file.fileName(), info, c.publicKey);
        EXPECT_EQ(r.ok ? "ok" : "0x" + QString::number(r.code, 16).toUpper() + " " + r.text, c.result) << c.keys.toStdString();
    }
    EXPECT_EQ(checkSha256(dir.filePath("missing"), digest.toStdString()), ChecksumCheck::Mismatch);
    EXPECT_EQ(checkSha256(file.fileName(), digest.toStdString() + "0"), ChecksumCheck::Malformed);
}

TEST(UpdateUrls, TheServerComesFromTheEnvironmentTheSettingOrTheDefaultAndEveryRequestCarriesTheTickCount) {
    qunsetenv(kUpdateUrlVariable);
    QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Glyphwerk"));
    EXPECT_EQ(updateServerUrl(), "http://glyphwerk.example.org"); // the test's private home has no settings
    settings.setValue(kUpdateUrlSetting, "https://updates.example.net/base/");
    EXPECT_EQ(updateServerUrl(), "https://updates.example.net/base/");
    qputenv(kUpdateUrlVariable, "http://127.0.0.1:8000");
    EXPECT_EQ(updateServerUrl(), "http://127.0.0.1:8000");
    EXPECT_EQ(descriptionUrl("https://h/base//") + " " + descriptionUrl("http://127.0.0.1:8000"),
              "https://h/base/Glyphwerk/Update.txt http://127.0.0.1:8000/Glyphwerk/Update.txt");
    EXPECT_EQ(requestUrl("http://h/get?file=setup", -5), "http://h/get?file=setup?udp=-5"); // even after a query
}
