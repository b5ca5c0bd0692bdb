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

TEST(CheckForUpdate, FindsANewerVersionWithWhateverNotesItsServerHasAndFailsWithoutAFullDescription) {
    EXPECT_EQ(checkForUpdate(descriptionUrl(TestHttpServer::unreachableUrl())).state, UPDATE_CHECK_FAILED);
    TestHttpServer server;
    const std::string failed = "failed, notes \"\", asked /Glyphwerk/Update.txt";
    EXPECT_EQ(checked(server), failed) << "404";
    const QByteArray base = server.url().toLatin1();
    const TestHttpServer::Response notes{200, "Release notes\r\nline two\n"};
    const std::string both = ", asked /Glyphwerk/Update.txt /notes.txt";
    const struct {
        QByteArray description;
        TestHttpServer::Response notes;
        std::string outcome;
    } cases[] = {
        {description("V1.02", server), notes, "up to date V1.02, notes \"\", asked /Glyphwerk/Update.txt"},
        {description("V1.1", server), notes, "available V1.1, notes \"Release notes\r\nline two\n\"" + both},
        {description("V1.03", server), {404, "not here"}, "available V1.03, notes \"\"" + both},
        {description("V1.03", server), {200, ""}, "available V1.03, notes \"\"" + both},
        {description("V1.03", server), {200, QByteArray("shown\0hidden", 12)}, "available V1.03, notes \"shown\"" + both},
        {"[Update]\nVersion=V9\nUrlNote=" + base + "/notes.txt\n", notes, failed}, // no UrlUpdate
        {"<html>a web page instead</html>", notes, failed},
    };
    for (const auto &c : cases) {
        server.serve(kDescriptionPath, c.description);
        server.serve("/notes.txt", c.notes);
        EXPECT_EQ(checked(server), c.outcome) << c.description.toStdString();
    }
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
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    for (const QFileInfoList &files : seen)
        for (const QFileInfo &file : files)
            EXPECT_EQ(file.permissions() & others, QFile::Permissions()) << file.fileName().toStdString();
    // The description's copy, then with the notes; a new unique name for every check.
    ASSERT_EQ(QList<qsizetype>({seen[0].size(), seen[1].size(), seen[2].size()}), QList<qsizetype>({1, 2, 1}));
    const QString copy = seen[1][1].fileName(), notes = seen[1][0].fileName();
    EXPECT_TRUE(copy.startsWith("~upd") && notes.startsWith("releasenote")) << copy.toStdString() << notes.toStdString();
    EXPECT_EQ(seen[0][0].fileName(), copy);
    EXPECT_NE(seen[2][0].fileName(), copy);
    lock.unlock();
    EXPECT_EQ(temporaryFiles(), QStringList());
}

TEST(CheckForUpdate, AHostileServerCannotHoldTheCheckFillTheDiskOrOutliveACancel) {
    TestHttpServer server;
    const QByteArray head = description("V1.03", server), comment = "; and so on\r\n";
    const auto padded = [&](qsizetype size) { // the description grown to `size` bytes by a comment
        return head + "; " + QByteArray(size - head.size() - 4, 'x') + "\r\n";
    };
    using R = TestHttpServer::Response;
    const auto endless = [](const QByteArray &body) { return R{200, body, 64 * 1024, 0, false, 1 << 24}; }; // no length
    const R drip{200, head, 1, 100}; // one byte every 100 ms: about 15 s in all
    const R notes{200, "notes"};
    const std::string asked = ", asked /Glyphwerk/Update.txt", both = asked + " /notes.txt";
    const int full = kCheckDeadlineMs;
    const struct {
        const char *name;
        R description, notes;
        int deadlineMs;
        std::string outcome;
    } cases[] = {
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
    server.serve("/notes.txt", notes);
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
