// The example folder that scripts/update-server serves: its description must
// stay readable, newer than this program, and match its installer.

#include "installer_check.h"
#include "update_info.h"
#include "update_protocol.h"

#include <QFileInfo>
#include <QUrl>
#include <gtest/gtest.h>

using namespace update;

TEST(UpdateExample, DescribesANewerReleaseWhoseFilesAndChecksumMatch) {
    const QString folder = QStringLiteral(GLYPHWERK_SOURCE_DIR "/packaging/update-example");
    UpdateInfo info;
    ASSERT_TRUE(ReadUpdateInfo(info, folder + "/Glyphwerk/Update.txt"));
    EXPECT_TRUE(isNewerThanLocal(info.version));
    const QUrl notes(QString::fromStdString(info.noteUrl));
    const QUrl installer(QString::fromStdString(info.updateUrl));
    EXPECT_EQ(notes.host(), "127.0.0.1");
    EXPECT_EQ(notes.port(), 8765); // the server script's default port
    EXPECT_EQ(installer.port(), 8765);
    EXPECT_TRUE(QFileInfo(folder + notes.path()).isFile());
    ASSERT_TRUE(QFileInfo(folder + installer.path()).isFile());
    EXPECT_EQ(checkSha256(folder + installer.path(), info.sha256), ChecksumCheck::Match);
}
