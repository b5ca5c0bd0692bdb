// The download and the check sequence against a real HTTP server on 127.0.0.1.

#include "download.h"
#include "test_http_server.h"
#include "update_check.h"
#include "update_protocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>
#include <thread>

using namespace update;
using R = TestHttpServer::Response;

namespace {

constexpr char kDescriptionPath[] = "/Glyphwerk/Update.txt";

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray pattern(int size) { return QByteArray("0123456789\0\xff\x80", 13).repeated(size / 13 + 1).left(size); }

// The check against `server` at a glance: the state, the version when known,
// the notes (their size when long) and the paths it asked for, each checked to
// carry the tick-count query.
std::string checked(const TestHttpServer &server, int deadlineMs = kCheckDeadlineMs) {
    const int before = server.requests().size();
    const CheckOutcome outcome = checkForUpdate(descriptionUrl(server.url()), nullptr, deadlineMs);
    QStringList asked;
    for (const QString &request : server.requests().mid(before)) {
        EXPECT_TRUE(QRegularExpression("^[^?]*\\?udp=-?\\d+$").match(request).hasMatch()) << request.toStdString();
        asked << request.section('?', 0, 0);
    }
    const char *states[] = {"failed", "available", "downloading", "up to date", "downloaded"};
    const QString version = outcome.versionKnown ? " " + QString::fromStdString(outcome.info.version) : "";
    const QString notes = outcome.notes.size() > 64 ? QString("<%1 bytes>").arg(outcome.notes.size())
                                                    : QString::fromUtf8(outcome.notes);
    return QString("%1%2, notes \"%3\", asked %4").arg(states[outcome.state], version, notes, asked.join(' ')).toStdString();
}

QStringList temporaryFiles() { return QDir::temp().entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

} // namespace

TEST(DownloadUrlToFile, FailuresGiveStableCodesAndTheNetworkLayersTextWithoutGrowingTheFilePastItsBound) {
    TestHttpServer server;
    server.serve("/exact", pattern(1000));
    server.serve("/endless", R{200, pattern(4096), 0, 0, false, 1 << 20}); // 4 GiB
    server.serve("/stalled", R{200, pattern(4096), 4096, 60000});
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const DownloadLimits none, bound{.maxBytes = 1000};
    const struct { QString url, destination; DownloadLimits limits; QString code, text; /* a part */ } cases[] = {
        {server.url() + "/exact", out, bound, "ok", ""},
        {server.url() + "/endless", out, bound, "0x8000000B", "The file is larger than 1000 bytes."},
        {server.url() + "/stalled", out, {.stallTimeoutMs = 300}, "0x800C000B", "No data arrived for 0.3 seconds."},
        {server.url() + "/missing", out, none, "0x800C0006", "Not Found"},
        {TestHttpServer::unreachableUrl() + "/x", out, none, "0x800C0004", "refused"},
        {QUrl::fromLocalFile(QCoreApplication::applicationFilePath()).toString(), out, none, "0x800C000D",
         "Protocol \"file\" is unknown"},
        {server.url() + "/missing", dir.filePath("no/such/folder/out"), none, "0x8003001D", ""},
    };
    for (const auto &c : cases) {
        const DownloadResult result = DownloadUrlToFile(c.url.toStdString(), c.destination, nullptr, c.limits);
        const QString shown = result.ok ? "ok" : "0x" + QString::number(result.code, 16).toUpper() + " " + result.text;
        EXPECT_TRUE(shown.startsWith(c.code) && result.text.contains(c.text)) << shown.toStdString();
        EXPECT_EQ(fileBytes(out), result.ok ? pattern(1000) : fileBytes(out).left(1000)) << shown.toStdString();
    }
    EXPECT_EQ(fileBytes(out), ""); // nothing of the local file
    EXPECT_EQ(server.requests().size(), 4); // none for the bad scheme and the bad file
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() >= 1; }, 20000)) << "the endless body";
}

TEST(CheckForUpdate, FindsANewerVersionWithItsNotesAndAHostileServerCannotHoldItFillTheDiskOrOutliveACancel) {
    EXPECT_EQ(checkForUpdate(descriptionUrl(TestHttpServer::unreachableUrl())).state, UPDATE_CHECK_FAILED);
    TestHttpServer server;
    const QByteArray head = server.description("V1.03"), comment = "; and so on\r\n";
    const auto padded = [&](qsizetype size) { // the description grown to `size` bytes by a comment
        return head + "; " + QByteArray(size - head.size() - 4, 'x') + "\r\n";
    };
    const auto endless = [](const QByteArray &body) { return R{200, body.repeated(5000), 0, 0, false, 1 << 12}; };
    const R drip{200, head, 1, 100}; // one byte every 100 ms: about 15 s in all
    const R notes{200, "notes"}, missing{404, "not here"};
    const std::string asked = ", asked /Glyphwerk/Update.txt", both = asked + " /notes.txt";
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
        {"endless description", endless(head + comment), notes, full, "failed, notes \"\"" + asked},
        {"notes of 1 MiB", R{200, head}, R{200, QByteArray(1 << 20, 'n')}, full,
         "available V1.03, notes \"<1048576 bytes>\"" + both},
        {"notes one byte over", R{200, head}, R{200, QByteArray((1 << 20) + 1, 'n')}, full, "failed, notes \"\"" + both},
        {"endless notes", R{200, head}, endless(comment), full, "failed, notes \"\"" + both},
        {"dripping description", drip, notes, 1000, "failed, notes \"\"" + asked},
        {"dripping notes", R{200, head}, R{200, comment.repeated(20), 1, 100}, 1000, "failed, notes \"\"" + both},
    };
    int cutShort = 0;
    for (const auto &c : cases) {
        server.serve(kDescriptionPath, c.description);
        server.serve("/notes.txt", c.notes);
        EXPECT_EQ(checked(server, c.deadlineMs), c.outcome) << c.name;
        EXPECT_EQ(temporaryFiles(), QStringList()) << c.name;
        if (c.description.chunkSize > 0 || c.notes.chunkSize > 0) { // an endless or slow transfer, ended by the program
            EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() > cutShort; }, 20000)) << c.name;
        }
        cutShort = server.transfersCutShort();
    }

    // A cancel from another thread ends a check that would find the update in 15 s.
    server.serve(kDescriptionPath, drip);
    std::atomic<bool> cancel = false;
    std::thread user([&] { QThread::msleep(300); cancel = true; });
    const CheckOutcome cancelled = checkForUpdate(descriptionUrl(server.url()), &cancel);
    user.join();
    EXPECT_TRUE(cancelled.state == UPDATE_CHECK_FAILED && !cancelled.versionKnown);
    EXPECT_EQ(temporaryFiles(), QStringList());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() > cutShort; }, 20000));
}
