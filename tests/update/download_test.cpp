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
    const QString path = dir.filePath("out");

    DownloadResult result = DownloadUrlToFile(url(server, "/missing"), path, nullptr);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.code, kErrorNotFound);
    EXPECT_TRUE(result.text.contains("Not Found")) << result.text.toStdString();

    result = DownloadUrlToFile(url(server, "/broken"), path, nullptr);
    EXPECT_EQ(result.code, kErrorDownloadFailure);

    result = DownloadUrlToFile((TestHttpServer::unreachableUrl() + "/x").toStdString(), path, nullptr);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.code, kErrorCannotConnect);
    EXPECT_TRUE(result.text.contains("refused", Qt::CaseInsensitive)) << result.text.toStdString();

    // HTTPS is spoken: against a plain HTTP server its handshake fails.
    QString https = server.url() + "/missing";
    https.replace("http://", "https://");
    result = DownloadUrlToFile(https.toStdString(), path, nullptr);
    EXPECT_EQ(result.code, kErrorSecurity) << result.text.toStdString();

    result = DownloadUrlToFile("gopher://127.0.0.1/x", path, nullptr);
    EXPECT_EQ(result.code, kErrorUnknownProtocol);
    const QString local = dir.filePath("local");
    QFile secret(local);
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("local file");
    secret.close();
    result = DownloadUrlToFile(QUrl::fromLocalFile(local).toString().toStdString(), path, nullptr);
    EXPECT_EQ(result.code, kErrorUnknownProtocol);
    EXPECT_EQ(result.text, "Protocol \"file\" is unknown");
    EXPECT_NE(fileBytes(path), "local file");

    result = DownloadUrlToFile(url(server, "/missing"), dir.filePath("no/such/folder/out"), nullptr);
    EXPECT_EQ(result.code, kErrorWriteFault);

    result = DownloadUrlToFile("", path, nullptr);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(server.requests().size(), 2); // the TLS attempt has no readable request; neither the bad scheme, the bad file nor the empty URL asked
}

TEST(DownloadUrlToFile, AStalledTransferTimesOutWithItsOwnCode) {
    TestHttpServer server;
    server.serve("/stalled", TestHttpServer::Response{200, pattern(4096), 4096, 60000});
    QTemporaryDir dir;
    const DownloadResult result = DownloadUrlToFile(url(server, "/stalled"), dir.filePath("out"), nullptr, 300);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.code, kErrorTimeout);
    EXPECT_EQ(result.text, "No data arrived for 0.3 seconds.");
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

TEST(DownloadUrlToFile, ReportsRisingPercentagesOfASlowTransfer) {
    TestHttpServer server;
    const QByteArray body = pattern(40 * 1024);
    server.serve("/slow", TestHttpServer::Response{200, body, 2048, 30});
    QTemporaryDir dir;
    Recorder recorder;

    const DownloadResult result = DownloadUrlToFile(url(server, "/slow"), dir.filePath("out"), &recorder.observer);
    ASSERT_TRUE(result.ok) << result.text.toStdString();
    EXPECT_EQ(fileBytes(dir.filePath("out")), body);
    ASSERT_GE(recorder.percents.size(), 3u);
    EXPECT_TRUE(std::is_sorted(recorder.percents.begin(), recorder.percents.end()));
    EXPECT_EQ(recorder.percents.back(), 100);
    EXPECT_LT(recorder.percents.front(), 100);
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

TEST(DownloadUrlToFile, TheAbortFlagEndsTheTransferWithEAbort) {
    TestHttpServer server;
    server.serve("/slow", TestHttpServer::Response{200, pattern(200 * 1024), 1024, 20});
    QTemporaryDir dir;
    Recorder recorder;
    recorder.observer.setOwner([&](const QString &, const QString &, int percent) {
        recorder.percents.push_back(percent);
        g_abortDownload = 1; // the user confirms a cancel after the first report
    });

    const DownloadResult result = DownloadUrlToFile(url(server, "/slow"), dir.filePath("out"), &recorder.observer);
    g_abortDownload = 0;
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.code, 0x80004004u);
    EXPECT_EQ(downloadFailedMessage(result.code, result.text),
              "Download failed.  Error = 0x80004004\n\n" + result.text);
    EXPECT_EQ(recorder.percents.size(), 1u);
    EXPECT_LT(fileBytes(dir.filePath("out")).size(), 200 * 1024);
}

TEST(DownloadUrlToFile, AnAbortReachesAStalledTransferAndAPassedDeadlineStopsIt) {
    TestHttpServer server;
    // The server answers with its headers and then stays silent for a minute.
    server.serve("/stalled", TestHttpServer::Response{200, pattern(4096), 4096, 60000});
    QTemporaryDir dir;
    Recorder recorder;
    QTimer::singleShot(300, [] { g_abortDownload = 1; });
    DownloadResult result = DownloadUrlToFile(url(server, "/stalled"), dir.filePath("out"), &recorder.observer);
    g_abortDownload = 0;
    EXPECT_EQ(result.code, kErrorAborted);

    Recorder late;
    late.observer.enableDeadline(QDateTime::currentSecsSinceEpoch() - 1);
    result = DownloadUrlToFile(url(server, "/stalled"), dir.filePath("out"), &late.observer);
    EXPECT_EQ(result.code, kErrorAborted);
    EXPECT_TRUE(late.percents.empty());
}
