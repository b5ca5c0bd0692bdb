// The check sequence against a real HTTP server on 127.0.0.1.

#include "test_http_server.h"
#include "update_check.h"
#include "update_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <optional>
#include <gtest/gtest.h>

using namespace update;

namespace {

constexpr char kDescriptionPath[] = "/Glyphwerk/Update.txt";

QByteArray description(const QByteArray &version, const TestHttpServer &server) {
    return "[Update]\r\nAppname=Glyphwerk\r\nVersion=" + version + "\r\nUrlNote=" + server.url().toLatin1() +
           "/notes.txt\r\nUrlUpdate=" + server.url().toLatin1() + "/setup\r\n";
}

CheckOutcome check(const TestHttpServer &server) { return checkForUpdate(descriptionUrl(server.url())); }

QStringList temporaryFiles() { return QDir::temp().entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

} // namespace

TEST(CheckForUpdate, FailsWhenTheDescriptionCannotBeFetchedOrIsIncomplete) {
    CheckOutcome outcome = checkForUpdate(descriptionUrl(TestHttpServer::unreachableUrl()));
    EXPECT_EQ(outcome.state, UPDATE_CHECK_FAILED);
    EXPECT_FALSE(outcome.versionKnown);

    TestHttpServer server;
    outcome = check(server); // 404
    EXPECT_EQ(outcome.state, UPDATE_CHECK_FAILED);

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
        outcome = check(server);
        EXPECT_EQ(outcome.state, UPDATE_CHECK_FAILED) << text.toStdString();
        EXPECT_FALSE(outcome.versionKnown);
    }
    for (const QString &request : server.requests())
        EXPECT_TRUE(request.startsWith(QString(kDescriptionPath) + "?udp=")) << request.toStdString();
    EXPECT_EQ(temporaryFiles(), QStringList());
}

TEST(CheckForUpdate, ComparesTheVersionsAndFetchesNotesOnlyForANewerOne) {
    TestHttpServer server;
    server.serve("/notes.txt", QByteArray("Release notes\r\nline two\n"));
    struct Case {
        QByteArray version;
        UpdateState state;
    };
    const Case cases[] = {
        {"V1.02", UPDATE_UP_TO_DATE}, {"V1.1", UPDATE_AVAILABLE},   {"V2", UPDATE_AVAILABLE},
        {"V1.010", UPDATE_UP_TO_DATE}, {"1.03", UPDATE_UP_TO_DATE}, {"Vbeta", UPDATE_UP_TO_DATE},
        {"V1.0300000", UPDATE_AVAILABLE},
    };
    for (const Case &c : cases) {
        server.serve(kDescriptionPath, description(c.version, server));
        const int before = server.requests().size();
        const CheckOutcome outcome = check(server);
        EXPECT_EQ(outcome.state, c.state) << c.version.toStdString();
        EXPECT_TRUE(outcome.versionKnown);
        EXPECT_EQ(outcome.info.version, c.version.left(7).toStdString());
        const QStringList requests = server.requests().mid(before);
        if (c.state == UPDATE_AVAILABLE) {
            EXPECT_EQ(outcome.notes, "Release notes\r\nline two\n");
            ASSERT_EQ(requests.size(), 2);
            EXPECT_TRUE(requests[1].startsWith("/notes.txt?udp="));
        } else {
            EXPECT_TRUE(outcome.notes.isEmpty());
            EXPECT_EQ(requests.size(), 1);
        }
    }
    EXPECT_EQ(temporaryFiles(), QStringList());
}

TEST(CheckForUpdate, MissingEmptyOrZeroHoldingNotesStillFindTheUpdate) {
    TestHttpServer server;
    server.serve(kDescriptionPath, description("V1.03", server));
    const std::pair<std::optional<QByteArray>, QByteArray> cases[] = {
        {std::nullopt, ""}, // 404
        {QByteArray(), ""},
        {QByteArray("shown\0hidden", 12), "shown"},
    };
    for (const auto &[served, shown] : cases) {
        if (served)
            server.serve("/notes.txt", *served);
        const CheckOutcome outcome = check(server);
        EXPECT_EQ(outcome.state, UPDATE_AVAILABLE);
        EXPECT_EQ(outcome.notes, shown);
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
