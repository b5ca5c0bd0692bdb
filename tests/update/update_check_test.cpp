// The check sequence against a real HTTP server on 127.0.0.1.

#include "test_http_server.h"
#include "update_check.h"
#include "update_protocol.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QThread>
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>
#include <thread>

using namespace update;

namespace {

constexpr char kDescriptionPath[] = "/Glyphwerk/Update.txt";

QByteArray description(const QByteArray &version, const TestHttpServer &server) {
    return "[Update]\r\nAppname=Glyphwerk\r\nVersion=" + version + "\r\nUrlNote=" + server.url().toLatin1() +
           "/notes.txt\r\nUrlUpdate=" + server.url().toLatin1() + "/setup\r\n";
}

CheckOutcome check(const TestHttpServer &server, const std::atomic<bool> *cancel = nullptr,
                   int deadlineMs = kCheckDeadlineMs) {
    return checkForUpdate(descriptionUrl(server.url()), cancel, deadlineMs);
}

// The check against `server` at a glance: the state, the version when known,
// the notes (their size when long) and the paths it asked for, each checked to
// carry the tick-count query.
std::string checked(const TestHttpServer &server, int deadlineMs = kCheckDeadlineMs) {
    const int before = server.requests().size();
    const CheckOutcome outcome = check(server, nullptr, deadlineMs);
    QStringList asked;
    for (const QString &request : server.requests().mid(before)) {
        EXPECT_TRUE(QRegularExpression("^[^?]*\\?udp=-?\\d+$").match(request).hasMatch()) << request.toStdString();
        asked << request.section('?', 0, 0);
    }
    const char *states[] = {"failed", "available", "downloading", "up to date", "downloaded"};
    const QString version = outcome.versionKnown ? " " + QString::fromStdString(outcome.info.version) : "";
    const QString notes = outcome.notes.size() > 64 ? QString("<%1 bytes>").arg(outcome.notes.size())
                                                    : QString::fromUtf8(outcome.notes);
    return QString("%1%2, notes \"%3\", asked %4")
        .arg(states[outcome.state], version, notes, asked.join(' '))
        .toStdString();
}

QStringList temporaryFiles() { return QDir::temp().entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

} // namespace

TEST(CheckForUpdate, FailsWhenTheDescriptionCannotBeFetchedOrIsIncomplete) {
    const CheckOutcome outcome = checkForUpdate(descriptionUrl(TestHttpServer::unreachableUrl()));
    EXPECT_EQ(outcome.state, UPDATE_CHECK_FAILED);
    EXPECT_FALSE(outcome.versionKnown);

    TestHttpServer server;
    const std::string failed = "failed, notes \"\", asked /Glyphwerk/Update.txt";
    EXPECT_EQ(checked(server), failed) << "404";
    const QByteArray base = server.url().toLatin1();
    const QByteArray incomplete[] = {
        "[Update]\nVersion=V9\nUrlNote=" + base + "/notes.txt\n",                    // no UrlUpdate
        "[Update]\nVersion=V9\nUrlNote=" + base + "/notes.txt\nUrlUpdate=\n",        // empty UrlUpdate
        "[Update]\nUrlNote=" + base + "/notes.txt\nUrlUpdate=" + base + "/setup\n",  // no Version
        "[Update]\nVersion=V9\nUrlNote=\"\"\nUrlUpdate=" + base + "/setup\n",        // empty UrlNote
        "",                                                                          // empty file
        "<html>a web page instead</html>",
    };
    for (const QByteArray &text : incomplete) {
        server.serve(kDescriptionPath, text);
        EXPECT_EQ(checked(server), failed) << text.toStdString();
    }
    EXPECT_EQ(temporaryFiles(), QStringList());
}

TEST(CheckForUpdate, ComparesTheVersionsAndFetchesNotesOnlyForANewerOne) {
    TestHttpServer server;
    server.serve("/notes.txt", QByteArray("Release notes\r\nline two\n"));
    const std::pair<QByteArray, std::string> cases[] = {
        {"V1.02", "up to date V1.02, notes \"\", asked /Glyphwerk/Update.txt"},
        {"V1.010", "up to date V1.010, notes \"\", asked /Glyphwerk/Update.txt"},
        {"1.03", "up to date 1.03, notes \"\", asked /Glyphwerk/Update.txt"},
        {"Vbeta", "up to date Vbeta, notes \"\", asked /Glyphwerk/Update.txt"},
        {"V1.1", "available V1.1, notes \"Release notes\r\nline two\n\", asked /Glyphwerk/Update.txt /notes.txt"},
        {"V2", "available V2, notes \"Release notes\r\nline two\n\", asked /Glyphwerk/Update.txt /notes.txt"},
        {"V1.0300000", // cut to seven characters
         "available V1.0300, notes \"Release notes\r\nline two\n\", asked /Glyphwerk/Update.txt /notes.txt"},
    };
    for (const auto &[version, outcome] : cases) {
        server.serve(kDescriptionPath, description(version, server));
        EXPECT_EQ(checked(server), outcome);
    }
    EXPECT_EQ(temporaryFiles(), QStringList());
}

TEST(CheckForUpdate, MissingEmptyOrZeroHoldingNotesStillFindTheUpdate) {
    TestHttpServer server;
    server.serve(kDescriptionPath, description("V1.03", server));
    const std::string asked = ", asked /Glyphwerk/Update.txt /notes.txt";
    EXPECT_EQ(checked(server), "available V1.03, notes \"\"" + asked) << "404";
    server.serve("/notes.txt", QByteArray());
    EXPECT_EQ(checked(server), "available V1.03, notes \"\"" + asked);
    server.serve("/notes.txt", QByteArray("shown\0hidden", 12));
    EXPECT_EQ(checked(server), "available V1.03, notes \"shown\"" + asked);
    EXPECT_EQ(temporaryFiles(), QStringList());
}

TEST(CheckForUpdate, KeepsItsCopiesInPrivateUniqueTemporaryFiles) {
    TestHttpServer server;
    server.serve(kDescriptionPath, description("V1.03", server));
    server.serve("/notes.txt", QByteArray("notes"));
    QMutex mutex;
    QList<QFileInfoList> seen; // the temporary folder at each request
    server.onRequest([&](const QString &) {
        QMutexLocker lock(&mutex);
        seen << QDir::temp().entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    });

    check(server);
    check(server);
    QMutexLocker lock(&mutex);
    ASSERT_EQ(seen.size(), 4);
    for (const QFileInfoList &files : seen)
        for (const QFileInfo &file : files)
            EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                      QFile::Permissions())
                << file.fileName().toStdString();
    ASSERT_EQ(seen[0].size(), 1); // the description's copy
    ASSERT_EQ(seen[1].size(), 2); // and the notes
    ASSERT_EQ(seen[2].size(), 1);
    const QString copy = seen[1][1].fileName(), notes = seen[1][0].fileName();
    EXPECT_TRUE(copy.startsWith("~upd")) << copy.toStdString();
    EXPECT_TRUE(notes.startsWith("releasenote")) << notes.toStdString();
    EXPECT_EQ(seen[0][0].fileName(), copy);
    EXPECT_NE(seen[2][0].fileName(), copy); // a new unique name for every check
    lock.unlock();
    EXPECT_EQ(temporaryFiles(), QStringList());
}

TEST(CheckForUpdate, AHostileServerCannotHoldTheCheckFillTheDiskOrOutliveACancel) {
    TestHttpServer server;
    const QByteArray head = description("V1.03", server);
    const auto padded = [&](qsizetype size) { // the description grown to `size` bytes by a comment
        return head + "; " + QByteArray(size - head.size() - 4, 'x') + "\r\n";
    };
    const QByteArray comment = "; and so on\r\n";
    using R = TestHttpServer::Response;
    const R endless{200, comment, 64 * 1024, 0, false, 1 << 24}; // 224 MiB without a length
    const R drip{200, head, 1, 100};                      // one byte every 100 ms: about 15 s in all
    const std::string asked = ", asked /Glyphwerk/Update.txt", askedBoth = asked + " /notes.txt";
    const struct {
        const char *name;
        R description, notes;
        int deadlineMs;
        std::string outcome;
    } cases[] = {
        {"description of 64 KiB", R{200, padded(64 * 1024)}, R{200, "notes"}, kCheckDeadlineMs,
         "available V1.03, notes \"notes\"" + askedBoth},
        {"description one byte over", R{200, padded(64 * 1024 + 1)}, R{200, "notes"}, kCheckDeadlineMs,
         "failed, notes \"\"" + asked},
        {"endless description", R{200, head + comment, 64 * 1024, 0, false, 1 << 24}, R{200, "notes"}, kCheckDeadlineMs,
         "failed, notes \"\"" + asked},
        {"notes of 1 MiB", R{200, head}, R{200, QByteArray(1 << 20, 'n')}, kCheckDeadlineMs,
         "available V1.03, notes \"<1048576 bytes>\"" + askedBoth},
        {"notes one byte over", R{200, head}, R{200, QByteArray((1 << 20) + 1, 'n')}, kCheckDeadlineMs,
         "failed, notes \"\"" + askedBoth},
        {"endless notes", R{200, head}, endless, kCheckDeadlineMs, "failed, notes \"\"" + askedBoth},
        {"dripping description", drip, R{200, "notes"}, 1000, "failed, notes \"\"" + asked},
        {"dripping notes", R{200, head}, R{200, comment.repeated(20), 1, 100}, 1000, "failed, notes \"\"" + askedBoth},
    };
    int cutShort = 0;
    for (const auto &c : cases) {
        server.serve(kDescriptionPath, c.description);
        server.serve("/notes.txt", c.notes);
        EXPECT_EQ(checked(server, c.deadlineMs), c.outcome) << c.name;
        EXPECT_EQ(temporaryFiles(), QStringList()) << c.name;
        const bool streamed = c.description.repeat > 1 || c.description.chunkSize > 0 || c.notes.repeat > 1 ||
                              c.notes.chunkSize > 0;
        if (streamed) { // the server finds its endless or slow transfer ended by the program
            EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() > cutShort; }, 20000)) << c.name;
        }
        cutShort = server.transfersCutShort();
    }

    // A cancel from another thread ends a check that would find the update in 15 s.
    server.serve(kDescriptionPath, drip);
    server.serve("/notes.txt", QByteArray("notes"));
    std::atomic<bool> cancel = false;
    std::thread user([&] {
        QThread::msleep(300);
        cancel = true;
    });
    const CheckOutcome cancelled = check(server, &cancel);
    user.join();
    EXPECT_EQ(cancelled.state, UPDATE_CHECK_FAILED);
    EXPECT_FALSE(cancelled.versionKnown);
    EXPECT_EQ(temporaryFiles(), QStringList());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() > cutShort; }, 20000));
}
