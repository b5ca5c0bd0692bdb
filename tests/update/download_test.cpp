// The download primitive against a real HTTP server on 127.0.0.1.

#include "download.h"
#include "download_error.h"
#include "test_http_server.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

using namespace update;
using R = TestHttpServer::Response;

namespace {

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray pattern(int size) { return QByteArray("0123456789\0\xff\x80", 13).repeated(size / 13 + 1).left(size); }

// "ok", or the failure's code and text.
QString shown(const DownloadResult &result) {
    return result.ok ? "ok" : "0x" + QString::number(result.code, 16).toUpper() + " " + result.text;
}

} // namespace

TEST(DownloadUrlToFile, FailuresGiveStableCodesAndTheNetworkLayersText) {
    TestHttpServer server;
    server.serve("/broken", R{500, "oops"});
    QTemporaryDir dir;
    const QString out = dir.filePath("out"), local = dir.filePath("local");
    QFile secret(local);
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly) && secret.write("local file") == 10);
    secret.close();
    QString https = server.url() + "/missing"; // HTTPS is spoken: against a plain HTTP server its handshake fails
    https.replace("http://", "https://");
    const struct {
        QString url, destination, code, text; // a part of the text
    } cases[] = {
        {server.url() + "/missing", out, "0x800C0006", "Not Found"},
        {server.url() + "/broken", out, "0x800C0008", ""},
        {TestHttpServer::unreachableUrl() + "/x", out, "0x800C0004", "refused"},
        {https, out, "0x800C000E", ""},
        {QUrl::fromLocalFile(local).toString(), out, "0x800C000D", "Protocol \"file\" is unknown"},
        {server.url() + "/missing", dir.filePath("no/such/folder/out"), "0x8003001D", ""},
        {"", out, "0x800C0002", "No URL or no destination file."},
    };
    for (const auto &c : cases) {
        const QString result = shown(DownloadUrlToFile(c.url.toStdString(), c.destination, nullptr));
        EXPECT_TRUE(result.startsWith(c.code + " ") && result.contains(c.text)) << result.toStdString();
    }
    EXPECT_NE(fileBytes(out), "local file");
    // The TLS attempt has no readable request; the bad scheme, the bad file and the empty URL asked nothing.
    EXPECT_EQ(server.requests().size(), 2);
}

TEST(DownloadUrlToFile, AStalledOrOversizedTransferFailsWithItsOwnCodeWithoutGrowingTheFilePastItsBound) {
    TestHttpServer server;
    server.serve("/exact", pattern(1000));
    server.serve("/announced", pattern(1001));
    server.serve("/unannounced", R{200, pattern(1001), 100, 0, false});
    server.serve("/endless", R{200, pattern(4096), 0, 0, false, 1 << 20}); // 4 GiB
    server.serve("/stalled", R{200, pattern(4096), 4096, 60000});
    QTemporaryDir dir;
    const DownloadLimits bound{.maxBytes = 1000};
    const QString tooLarge = "0x8000000B The file is larger than 1000 bytes.";
    const struct {
        const char *path;
        DownloadLimits limits;
        QString result;
    } cases[] = {
        {"/exact", bound, "ok"},
        {"/announced", bound, tooLarge},
        {"/unannounced", bound, tooLarge},
        {"/endless", bound, tooLarge},
        {"/stalled", {.stallTimeoutMs = 300}, "0x800C000B No data arrived for 0.3 seconds."},
    };
    for (const auto &c : cases) {
        const QString out = dir.filePath(c.path + 1);
        EXPECT_EQ(shown(DownloadUrlToFile((server.url() + c.path).toStdString(), out, nullptr, c.limits)), c.result);
        EXPECT_LE(fileBytes(out).size(), 1000) << c.path;
    }
    EXPECT_EQ(fileBytes(dir.filePath("exact")), pattern(1000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() >= 1; }, 20000)) << "the endless body";
}

TEST(DownloadUrlToFile, ATransferCutShortByTheProgramQuittingIsNotASuccess) {
    TestHttpServer server;
    server.serve("/slow", R{200, pattern(64 * 1024), 1024, 20});
    QTemporaryDir dir;
    QTimer::singleShot(200, [] { QCoreApplication::exit(0); });
    EXPECT_EQ(DownloadUrlToFile((server.url() + "/slow").toStdString(), dir.filePath("out"), nullptr).code, kErrorAborted);
    // Run and end the application's own loop: that clears its quitting state,
    // which would otherwise end every later event loop at once.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

TEST(DownloadUrlToFile, TheProgressStaysAtZeroForAnUnknownTotalAndTheAbortFlagOrAPassedDeadlineEndsTheTransfer) {
    TestHttpServer server;
    server.serve("/unsized", R{200, pattern(20 * 1024), 2048, 30, false});
    server.serve("/slow", R{200, pattern(200 * 1024), 1024, 20});
    // Headers, then silence for a minute: no progress report comes before the abort.
    server.serve("/stalled", R{200, pattern(4096), 4096, 60000});
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const auto get = [&](const char *path, CDownloadProgress &observer) {
        return DownloadUrlToFile((server.url() + path).toStdString(), out, &observer);
    };
    g_abortDownload = 0;
    std::vector<int> percents;
    CDownloadProgress observer;
    observer.setOwner([&](const QString &, const QString &, int percent) { percents.push_back(percent); });
    ASSERT_TRUE(get("/unsized", observer).ok);
    EXPECT_EQ(fileBytes(out).size(), 20 * 1024);
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(std::ranges::count(percents, 0), std::ssize(percents));

    percents.clear();
    observer.setOwner([&](const QString &, const QString &, int percent) {
        percents.push_back(percent);
        g_abortDownload = 1; // the user confirms a cancel after the first report
    });
    EXPECT_EQ(get("/slow", observer).code, kErrorAborted);
    EXPECT_EQ(percents.size(), 1u);
    EXPECT_LT(fileBytes(out).size(), 200 * 1024);

    g_abortDownload = 0;
    QTimer::singleShot(300, [] { g_abortDownload = 1; });
    EXPECT_EQ(get("/stalled", observer).code, kErrorAborted);
    g_abortDownload = 0;
    observer.enableDeadline(QDateTime::currentSecsSinceEpoch() - 1);
    EXPECT_EQ(get("/stalled", observer).code, kErrorAborted);
    EXPECT_EQ(percents.size(), 1u);
}
