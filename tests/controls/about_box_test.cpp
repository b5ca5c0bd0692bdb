// The About box: version, links, the Readme button and OK.

#include "about_box.h"
#include "about_template.h"
#include "dialog_builder.h"
#include "link_label.h"
#include "scripted_prompts.h"
#include "url_catcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString &path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("read me\n");
}

TEST(AboutBox, ShowsTheVersionAndTwoUnderlinedItalicLinksAndTheMailLinkOpensAMailtoUrl) {
    ScriptedPrompts prompts;
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Glyphwerk");
    EXPECT_EQ(res::controlById<QLabel>(&about, res::IDC_ABOUT_VERSION)->text(), "GlyphwerkV1.02");

    CLinkLabel *mail = about.mailLink(), *web = about.webLink();
    ASSERT_TRUE(mail && web);
    EXPECT_EQ(mail->text(), "team@glyphwerk.example.org");
    EXPECT_EQ(mail->linkUrl(), "mailto:team@glyphwerk.example.org");
    EXPECT_EQ(mail->toolTip(), "Email to ----> team@glyphwerk.example.org");
    EXPECT_EQ(mail->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(web->text(), "https://glyphwerk.example.org/");
    EXPECT_EQ(web->linkUrl(), "https://glyphwerk.example.org/");
    EXPECT_EQ(web->toolTip(), "https://glyphwerk.example.org/");
    EXPECT_EQ(web->cursor().shape(), Qt::PointingHandCursor);

    QList<QUrl> opened;
    controls::LinkPlatform platform = controls::desktopLinkPlatform();
    platform.shellOpen = [&](const QString &url) { opened << QUrl(url); return 42; };
    mail->setPlatform(platform);
    about.show();
    for (CLinkLabel *link : {mail, web}) {
        link->grab();
        ASSERT_TRUE(link->linkFont().has_value());
        EXPECT_TRUE(link->linkFont()->underline());
        EXPECT_TRUE(link->linkFont()->italic());
    }
    // Fitted to its text, from the template's left edge.
    const QRect templateRect = res::dialogUnitsToPixels(57, 61, 57, 8, res::dialogBaseUnits(&about));
    EXPECT_EQ(mail->geometry().topLeft(), templateRect.topLeft());
    EXPECT_EQ(mail->width(), QFontMetrics(mail->font()).horizontalAdvance(mail->text()));

    QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), "mailto");
    EXPECT_EQ(opened[0].path(), "team@glyphwerk.example.org");
    EXPECT_TRUE(mail->isVisited());
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST(AboutBox, FindsTheReadmeBesideTheProgramOrInTheDocumentationFolder) {
    QTemporaryDir root;
    const QString bin = root.filePath("bin");
    QDir().mkpath(bin);
    EXPECT_EQ(CAboutDlg::readmePath(bin), "");
    WriteFile(root.filePath("share/doc/glyphwerk/readme.txt"));
    EXPECT_EQ(CAboutDlg::readmePath(bin), QDir::cleanPath(root.filePath("share/doc/glyphwerk/readme.txt")));
    WriteFile(root.filePath("bin/readme.txt"));
    EXPECT_EQ(CAboutDlg::readmePath(bin), QDir::cleanPath(root.filePath("bin/readme.txt")));
}

TEST(AboutBox, TheReadmeButtonOpensTheFileOrDoesNothingWhenItIsMissingAndOkCloses) {
    ScriptedPrompts prompts;
    UrlCatcher catcher("file");
    CAboutDlg about;
    about.show();
    auto *readme = res::controlById<QPushButton>(&about, res::IDC_ABOUT_README);
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(readme->text(), "Readme");

    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath("readme.txt");
    ASSERT_FALSE(QFile::exists(besideProgram));
    QTest::mouseClick(readme, Qt::LeftButton);
    EXPECT_TRUE(catcher.urls.isEmpty());
    EXPECT_TRUE(prompts.boxes.empty());

    WriteFile(besideProgram);
    QTest::mouseClick(readme, Qt::LeftButton);
    QFile::remove(besideProgram);
    EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(besideProgram)});

    QTest::mouseClick(res::controlById<QPushButton>(&about, 1), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
