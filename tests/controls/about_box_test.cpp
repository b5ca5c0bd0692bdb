// The About box: version, links, the Readme button and OK.

#include "about_box.h"
#include "about_template.h"
#include "dialog_builder.h"
#include "link_label.h"
#include "scripted_prompts.h"
#include "url_catcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString &path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(AboutBox, ShowsTheVersionAndTwoUnderlinedItalicLinksTheMailOneOpeningAMailtoUrlAndReadmeOpensTheFile) {
    ScriptedPrompts prompts; // a failed link would ask
    CAboutDlg about;
    EXPECT_EQ(res::controlById<QLabel>(&about, res::IDC_ABOUT_VERSION)->text(), "GlyphwerkV1.02");
    QStringList opened;
    controls::LinkPlatform platform = controls::desktopLinkPlatform();
    platform.shellOpen = [&](const QString &url) { opened << url; return 42; };
    about.mailLink()->setPlatform(platform);
    about.show();
    for (CLinkLabel *link : {about.mailLink(), about.webLink()}) {
        link->grab();
        EXPECT_TRUE(link->linkFont() && link->linkFont()->underline() && link->linkFont()->italic());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    // Fitted to its text, from the template's left edge.
    const QRect templateRect = res::dialogUnitsToPixels(57, 61, 57, 8, res::dialogBaseUnits(&about));
    const QFontMetrics metrics(about.mailLink()->font());
    EXPECT_EQ(about.mailLink()->geometry(),
              QRect(templateRect.topLeft(), QSize(metrics.horizontalAdvance(about.mailLink()->text()), metrics.height())));
    QTest::mouseClick(about.mailLink(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(opened, QStringList{"mailto:team@glyphwerk.example.org"});

    // The readme beside the program, else in the documentation folder, else nothing.
    UrlCatcher catcher("file");
    auto *readme = res::controlById<QPushButton>(&about, res::IDC_ABOUT_README);
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath("readme.txt");
    ASSERT_FALSE(QFile::exists(besideProgram));
    QTest::mouseClick(readme, Qt::LeftButton);
    WriteFile(besideProgram);
    QTest::mouseClick(readme, Qt::LeftButton);
    QFile::remove(besideProgram);
    EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(besideProgram)});
    QTemporaryDir root;
    QDir().mkpath(root.filePath("bin"));
    WriteFile(root.filePath("share/doc/glyphwerk/readme.txt"));
    EXPECT_EQ(CAboutDlg::readmePath(root.filePath("bin")), root.filePath("share/doc/glyphwerk/readme.txt"));
    WriteFile(root.filePath("bin/readme.txt"));
    EXPECT_EQ(CAboutDlg::readmePath(root.filePath("bin")), root.filePath("bin/readme.txt"));

    QTest::mouseClick(res::controlById<QPushButton>(&about, 1), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
