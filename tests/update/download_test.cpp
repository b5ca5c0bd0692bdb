// The download primitive against a real HTTP server on 127.0.0.1.

#include "download.h"
#include "download_error.h"
#include "test_http_server.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

using namespace update;

namespace {

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

std::string url(const TestHttpServer &server, const char *path) { return (server.url() + path).toStdString(); }

QByteArray pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

// An observer that records the percentages it is given.
struct Recorder {
    std::vector<int> percents;
    CDownloadProgress observer;
    Recorder() {
        g_abortDownload = 0;
        observer.setOwner([this](const QString &, const QString &, int percent) { percents.push_back(percent); });
    }
};

} // namespace

TEST(DownloadUrlToFile, StoresTheBodyAndSendsTheTickCountQuery) {
    TestHttpServer server;
    const QByteArray body = pattern(70000);
    server.serve("/files/setup", body);
    server.serve("/get", QByteArray("by query"));
    QTemporaryDir dir;
    const QString path = dir.filePath("out");

    const DownloadResult result = DownloadUrlToFile(url(server, "/files/setup"), path, nullptr);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.code, 0u);
    EXPECT_EQ(fileBytes(path), body);

    EXPECT_TRUE(DownloadUrlToFile(url(server, "/get?file=setup"), path, nullptr).ok);
    EXPECT_EQ(fileBytes(path), "by query");

    const QStringList requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_TRUE(QRegularExpression("^/files/setup\\?udp=-?\\d+$").match(requests[0]).hasMatch()) << requests[0].toStdString();
    EXPECT_TRUE(QRegularExpression("^/get\\?file=setup\\?udp=-?\\d+$").match(requests[1]).hasMatch()) << requests[1].toStdString();
}

TEST(DownloadUrlToFile, FailuresGiveStableCodesAndTheNetworkLayersText) {
    TestHttpServer server;
    server.serve("/broken", TestHttpServer::Response{500, "oops"});
    QTemporaryDir dir;
    const QString out = dir.filePath("out"), local = dir.filePath("local");
    QFile secret(local);
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("local file");
    secret.close();
    QString https = server.url() + "/missing"; // HTTPS is spoken: against a plain HTTP server its handshake fails
    https.replace("http://", "https://");

    const struct {
        QString url, destination;
        std::uint32_t code;
        QString text; // a part of the error text
    } cases[] = {
        {server.url() + "/missing", out, kErrorNotFound, "Not Found"},
        {server.url() + "/broken", out, kErrorDownloadFailure, ""},
        {TestHttpServer::unreachableUrl() + "/x", out, kErrorCannotConnect, "refused"},
        {https, out, kErrorSecurity, ""},
        {"gopher://127.0.0.1/x", out, kErrorUnknownProtocol, "Protocol \"gopher\" is unknown"},
        {QUrl::fromLocalFile(local).toString(), out, kErrorUnknownProtocol, "Protocol \"file\" is unknown"},
        {server.url() + "/missing", dir.filePath("no/such/folder/out"), kErrorWriteFault, ""},
        {"", out, kErrorInvalidUrl, "No URL or no destination file."},
    };
    for (const auto &c : cases) {
        const DownloadResult result = DownloadUrlToFile(c.url.toStdString(), c.destination, nullptr);
        EXPECT_FALSE(result.ok) << c.url.toStdString();
        EXPECT_EQ(result.code, c.code) << c.url.toStdString() << ": " << result.text.toStdString();
        EXPECT_TRUE(result.text.contains(c.text)) << c.url.toStdString() << ": " << result.text.toStdString();
    }
    EXPECT_NE(fileBytes(out), "local file");
    // The TLS attempt has no readable request; the bad schemes, the bad file and the empty URL asked nothing.
    EXPECT_EQ(server.requests().size(), 2);
}

TEST(DownloadUrlToFile, AStalledTransferTimesOutWithItsOwnCode) {
    TestHttpServer server;
    server.serve("/stalled", TestHttpServer::Response{200, pattern(4096), 4096, 60000});
    QTemporaryDir dir;
    const DownloadResult result = DownloadUrlToFile(url(server, "/stalled"), dir.filePath("out"), nullptr, {.stallTimeoutMs = 300});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.code, kErrorTimeout);
    EXPECT_EQ(result.text, "No data arrived for 0.3 seconds.");
}

TEST(DownloadUrlToFile, ABodyBeyondItsBoundFailsWithoutGrowingTheFilePastIt) {
    TestHttpServer server;
    server.serve("/exact", pattern(1000));
    server.serve("/announced", pattern(1001));
    server.serve("/unannounced", TestHttpServer::Response{200, pattern(1001), 100, 0, false});
    server.serve("/endless", TestHttpServer::Response{200, pattern(4096), 0, 0, false, 1 << 20}); // 4 GiB
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const DownloadLimits limits{.maxBytes = 1000};

    EXPECT_TRUE(DownloadUrlToFile(url(server, "/exact"), out, nullptr, limits).ok);
    EXPECT_EQ(fileBytes(out), pattern(1000));
    for (const char *path : {"/announced", "/unannounced", "/endless"}) {
        const DownloadResult result = DownloadUrlToFile(url(server, path), out, nullptr, limits);
        EXPECT_FALSE(result.ok) << path;
        EXPECT_EQ(result.code, kErrorTooLarge) << path;
        EXPECT_EQ(result.text, "The file is larger than 1000 bytes.") << path;
        EXPECT_LE(fileBytes(out).size(), 1000) << path;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() >= 1; }, 20000)) << "the endless body";
}

TEST(DownloadUrlToFile, ATransferCutShortByTheProgramQuittingIsNotASuccess) {
    TestHttpServer server;
    server.serve("/slow", TestHttpServer::Response{200, pattern(64 * 1024), 1024, 20});
    QTemporaryDir dir;
    QTimer::singleShot(200, [] { QCoreApplication::exit(0); });
    const DownloadResult result = DownloadUrlToFile(url(server, "/slow"), dir.filePath("out"), nullptr);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.code, kErrorAborted);
    // Run and end the application's own loop: that clears its quitting state,
    // which would otherwise end every later event loop at once.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

TEST(DownloadUrlToFile, AnUnknownTotalKeepsTheProgressAtZero) {
    TestHttpServer server;
    server.serve("/unsized", TestHttpServer::Response{200, pattern(20 * 1024), 2048, 30, false});
    QTemporaryDir dir;
    Recorder recorder;

    ASSERT_TRUE(DownloadUrlToFile(url(server, "/unsized"), dir.filePath("out"), &recorder.observer).ok);
    EXPECT_EQ(fileBytes(dir.filePath("out")).size(), 20 * 1024);
    ASSERT_FALSE(recorder.percents.empty());
    for (int percent : recorder.percents)
        EXPECT_EQ(percent, 0);
}

TEST(DownloadUrlToFile, TheAbortFlagOrAPassedDeadlineEndsTheTransferWithEAbort) {
    TestHttpServer server;
    server.serve("/slow", TestHttpServer::Response{200, pattern(200 * 1024), 1024, 20});
    // Headers, then silence for a minute: no progress report comes before the abort.
    server.serve("/stalled", TestHttpServer::Response{200, pattern(4096), 4096, 60000});
    QTemporaryDir dir;
    const QString out = dir.filePath("out");

    Recorder reporting;
    reporting.observer.setOwner([&](const QString &, const QString &, int percent) {
        reporting.percents.push_back(percent);
        g_abortDownload = 1; // the user confirms a cancel after the first report
    });
    DownloadResult result = DownloadUrlToFile(url(server, "/slow"), out, &reporting.observer);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.code, kErrorAborted);
    EXPECT_EQ(reporting.percents.size(), 1u);
    EXPECT_LT(fileBytes(out).size(), 200 * 1024);

    Recorder stalled;
    QTimer::singleShot(300, [] { g_abortDownload = 1; });
    EXPECT_EQ(DownloadUrlToFile(url(server, "/stalled"), out, &stalled.observer).code, kErrorAborted);

    Recorder late;
    late.observer.enableDeadline(QDateTime::currentSecsSinceEpoch() - 1);
    EXPECT_EQ(DownloadUrlToFile(url(server, "/stalled"), out, &late.observer).code, kErrorAborted);
    EXPECT_TRUE(late.percents.empty());
    g_abortDownload = 0;
}
