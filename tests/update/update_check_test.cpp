// The check sequence against a real HTTP server on 127.0.0.1.

#include "test_http_server.h"
#include "update_check.h"
#include "update_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace update;

namespace {

constexpr char kDescriptionPath[] = "/Glyphwerk/Update.txt";

QByteArray description(const QByteArray &version, const TestHttpServer &server) {
    return "[Update]\r\nAppname=Glyphwerk\r\nVersion=" + version + "\r\nUrlNote=" + server.url().toLatin1() +
           "/notes.txt\r\nUrlUpdate=" + server.url().toLatin1() + "/setup\r\n";
}

CheckOutcome check(const TestHttpServer &server) { return checkForUpdate(descriptionUrl(server.url())); }

// The check against `server` at a glance: the state, the version when known,
// the notes and the paths it asked for, each checked to carry the tick-count query.
std::string checked(const TestHttpServer &server) {
    const int before = server.requests().size();
    const CheckOutcome outcome = check(server);
    QStringList asked;
    for (const QString &request : server.requests().mid(before)) {
        EXPECT_TRUE(QRegularExpression("^[^?]*\\?udp=-?\\d+$").match(request).hasMatch()) << request.toStdString();
        asked << request.section('?', 0, 0);
    }
    const char *states[] = {"failed", "available", "downloading", "up to date", "downloaded"};
    const QString version = outcome.versionKnown ? " " + QString::fromStdString(outcome.info.version) : "";
    return QString("%1%2, notes \"%3\", asked %4")
        .arg(states[outcome.state], version, QString::fromUtf8(outcome.notes), asked.join(' '))
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
