// The update protocol: the description, versions, installer names, checksums,
// signatures and URLs, and the download and check against a real HTTP server on
// 127.0.0.1. No windowing platform; private temporary files and home.

#include "installer_check.h"
#include "test_http_server.h"
#include "update_check.h"
#include "update_protocol.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>
#include <sodium.h>
#include <thread>

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

    UpdateInfo info;
    const auto parsed = [&](const std::string &text) {
        const bool ok = parseUpdateInfo(info, text);
        return (ok ? "ok " : "no ") + info.appName + "|" + info.version + "|" + info.noteUrl + "|" + info.updateUrl;
    };
    EXPECT_EQ(parsed(ini), "ok |V1.03|http://h/notes.txt|http://h/setup");
    // Reading stops at the first missing or empty required key.
    EXPECT_EQ(parsed("[Update]\nVersion=V2\nUrlNote=n\n"), "no |V2|n|");
    EXPECT_EQ(parsed("[Update]\nVersion=V2\nUrlNote=\nUrlUpdate=u\n"), "no |V2||");
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
        {"V1.02", 1.02, false}, {"V1.0201", 1.0201, true}, {"V1.03rc", 1.03, true}, {"V1e1", 10.0, true},  {"V1e", 1.0, false},
        {"V 1.03", 1.03, true}, {"V\t1.03", 1.03, true},  {"V0x10", 0.0, false},    {"Vinf", 0.0, false},  {"V-2", -2.0, false},
        {"V+1.5", 1.5, true},   {"V.5", 0.5, false},       {"", 0.0, false},         {"V", 0.0, false},     {"1.03", 0.03, false},
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
    const QByteArray key(reinterpret_cast<const char *>(keys[0]), 32);
    const QByteArray installer = QByteArray("\x7f" "ELF installer bytes\0\xff", 22).repeated(4000);
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
        {flipped, {}, "ok"}, // no built-in key: nothing changes
        {"Sha256=" + QByteArray(64, 'a'), {},
         "0x80091007 The downloaded installer does not match the SHA-256 checksum of the update description."},
        {"Sha256=" + digest.left(63) + "g", {},
         "0x80091007 The update description's SHA-256 checksum is not 64 hexadecimal digits."},
        {good, key, "ok"},
        {"signature=" + good.mid(10).toUpper() + "\nSha256=" + digest.toUpper(), key, "ok"},
        {flipped, key, notSigned},
        {signature(1, installer), key, notSigned},
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
    EXPECT_EQ(descriptionUrl("https://h/base//"), "https://h/base/Glyphwerk/Update.txt");
    EXPECT_EQ(requestUrl("http://h/get?file=setup", -5), "http://h/get?file=setup?udp=-5"); // even after a query
}

using R = TestHttpServer::Response;

namespace {

// The check against `server` at a glance: the state, the version when known,
// the notes (their size when long), what it asked for, with the tick count as N,
// and the temporary files it left.
std::string checked(const TestHttpServer &server, int deadlineMs = kCheckDeadlineMs, std::atomic<bool> *cancel = nullptr) {
    const int before = server.requests().size();
    const CheckOutcome outcome = checkForUpdate(descriptionUrl(server.url()), cancel, deadlineMs);
    const QString asked = server.requests().mid(before).join(' ').replace(QRegularExpression("\\?udp=-?\\d+(?= |$)"), "?udp=N");
    const char *states[] = {"failed", "available", "downloading", "up to date", "downloaded"};
    const QString version = outcome.versionKnown ? " " + QString::fromStdString(outcome.info.version) : "";
    const QString notes = outcome.notes.size() > 64 ? QString("<%1 bytes>").arg(outcome.notes.size())
                                                    : QString::fromUtf8(outcome.notes);
    const QStringList left = QDir::temp().entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    return QString("%1%2, notes \"%3\", asked %4%5").arg(states[outcome.state], version, notes, asked,
                                                      left.isEmpty() ? "" : ", left " + left.join(' ')).toStdString();
}

} // namespace

TEST(DownloadUrlToFile, FailuresGiveStableCodesAndTheNetworkLayersTextAndLeaveNothingOfALocalFile) {
    TestHttpServer server;
    server.serve("/stalled", R{200, QByteArray(4096, 's'), 4096, 60000});
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const struct { QString url, destination, code, text; /* a part */ } cases[] = {
        {server.url() + "/stalled", out, "0x800C000B", "No data arrived for 0.3 seconds."},
        {server.url() + "/missing", out, "0x800C0006", "Not Found"},
        {TestHttpServer::unreachableUrl() + "/x", out, "0x800C0004", "refused"},
        {QUrl::fromLocalFile(QCoreApplication::applicationFilePath()).toString(), out, "0x800C000D",
         "Protocol \"file\" is unknown"},
        {server.url() + "/missing", dir.filePath("no/such/folder/out"), "0x8003001D", ""},
    };
    for (const auto &c : cases) {
        const DownloadResult result = DownloadUrlToFile(c.url.toStdString(), c.destination, nullptr, {.stallTimeoutMs = 300});
        const QString shown = result.ok ? "ok" : "0x" + QString::number(result.code, 16).toUpper() + " " + result.text;
        EXPECT_TRUE(shown.startsWith(c.code) && result.text.contains(c.text)) << shown.toStdString();
    }
    EXPECT_TRUE(QFileInfo(out).exists() && QFileInfo(out).size() == 0); // nothing of the local file
    EXPECT_EQ(server.requests().size(), 2); // none for the bad scheme and the bad file
}

TEST(CheckForUpdate, FindsANewerVersionWithItsNotesAndAHostileServerCannotHoldItFillTheDiskOrOutliveACancel) {
    TestHttpServer server;
    const QByteArray head = server.description("V1.03"), comment = "; and so on\r\n";
    // The description grown to `size` bytes by a comment.
    const auto padded = [&](qsizetype size) { return head + "; " + QByteArray(size - head.size() - 4, 'x') + "\r\n"; };
    const R drip{200, head, 1, 100}; // one byte every 100 ms: about 15 s in all
    const R notes{200, "notes"}, missing{404, "not here"};
    const std::string asked = ", asked /Glyphwerk/Update.txt?udp=N", both = asked + " /notes.txt?udp=N";
    const int full = kCheckDeadlineMs;
    const struct { const char *name; R description, notes; int deadlineMs; std::string outcome; } cases[] = {
        {"no description", missing, notes, full, "failed, notes \"\"" + asked},
        {"no installer", R{200, QByteArray(head).replace("UrlUpdate", "Url")}, notes, full, "failed, notes \"\"" + asked},
        {"this version", R{200, server.description("V1.02")}, notes, full, "up to date V1.02, notes \"\"" + asked},
        {"no notes", R{200, head}, missing, full, "available V1.03, notes \"\"" + both},
        {"notes with a zero", R{200, head}, R{200, QByteArray("a\r\nb\0hidden", 11)}, full,
         "available V1.03, notes \"a\r\nb\"" + both},
        {"description of 64 KiB", R{200, padded(64 * 1024)}, notes, full, "available V1.03, notes \"notes\"" + both},
        {"description one byte over", R{200, padded(64 * 1024 + 1)}, notes, full, "failed, notes \"\"" + asked},
        {"endless description", R{200, (head + comment).repeated(5000), 0, 0, false, 1 << 12}, notes, full, "failed, notes \"\"" + asked},
        {"notes of 1 MiB", R{200, head}, R{200, QByteArray(1 << 20, 'n')}, full,
         "available V1.03, notes \"<1048576 bytes>\"" + both},
        {"notes one byte over", R{200, head}, R{200, QByteArray((1 << 20) + 1, 'n')}, full, "failed, notes \"\"" + both},
        {"dripping description", drip, notes, 1000, "failed, notes \"\"" + asked},
        {"dripping notes", R{200, head}, R{200, comment.repeated(20), 1, 100}, 1000, "failed, notes \"\"" + both},
    };
    int cutShort = 0;
    for (const auto &c : cases) {
        server.serve("/Glyphwerk/Update.txt", c.description);
        server.serve("/notes.txt", c.notes);
        EXPECT_EQ(checked(server, c.deadlineMs), c.outcome) << c.name;
        const bool ended = c.description.chunkSize > 0 || c.notes.chunkSize > 0; // a slow transfer, cut by the program
        EXPECT_TRUE(!ended || QTest::qWaitFor([&] { return server.transfersCutShort() > cutShort; }, 20000)) << c.name;
        cutShort = server.transfersCutShort();
    }
    // A cancel from another thread ends a check that would find the update in 15 s.
    server.serve("/Glyphwerk/Update.txt", drip);
    std::atomic<bool> cancel = false;
    std::thread user([&] { QThread::msleep(300); cancel = true; });
    EXPECT_EQ(checked(server, kCheckDeadlineMs, &cancel), "failed, notes \"\"" + asked);
    user.join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() > cutShort; }, 20000));
}

int main(int argc, char **argv) {
    QTemporaryDir temporary;
    for (const char *variable : {"TMPDIR", "HOME", "XDG_CONFIG_HOME"})
        qputenv(variable, (temporary.path() + "/" + variable).toUtf8());
    QDir(temporary.path()).mkpath("TMPDIR");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
