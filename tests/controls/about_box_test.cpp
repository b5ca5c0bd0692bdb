// The About box: version, links, and the Readme button.

#include "about_box.h"
#include "about_template.h"
#include "dialog_builder.h"
#include "link_label.h"
#include "scripted_prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FileUrlCatcher : public QObject {
    Q_OBJECT
public:
    FileUrlCatcher() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~FileUrlCatcher() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

void writeFile(const QString &path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("read me\n");
}

} // namespace

TEST(AboutBox, ShowsTheVersionAndTwoUnderlinedItalicLinks) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Glyphwerk");
    EXPECT_EQ(res::controlById<QLabel>(&about, res::IDC_ABOUT_VERSION)->text(), "GlyphwerkV1.02");

    CLinkLabel *mail = about.mailLink();
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->text(), "team@glyphwerk.example.org");
    EXPECT_EQ(mail->linkUrl(), "mailto:team@glyphwerk.example.org");
    EXPECT_EQ(mail->toolTip(), "Email to ----> team@glyphwerk.example.org");
    EXPECT_EQ(mail->cursor().shape(), Qt::PointingHandCursor);

    CLinkLabel *web = about.webLink();
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->text(), "https://glyphwerk.example.org/");
    EXPECT_EQ(web->linkUrl(), "https://glyphwerk.example.org/");
    EXPECT_EQ(web->toolTip(), "https://glyphwerk.example.org/");

    about.show();
    mail->grab();
    ASSERT_TRUE(mail->linkFont().has_value());
    EXPECT_TRUE(mail->linkFont()->underline());
    EXPECT_TRUE(mail->linkFont()->italic());
    // Fitted to its text, from the template's left edge.
    const QRect templateRect = res::dialogUnitsToPixels(57, 61, 57, 8, res::dialogBaseUnits(&about));
    EXPECT_EQ(mail->geometry().topLeft(), templateRect.topLeft());
    EXPECT_EQ(mail->width(), QFontMetrics(mail->font()).horizontalAdvance(mail->text()));
}

TEST(AboutBox, TheMailLinkOpensAMailtoUrl) {
    ScriptedPrompts prompts;
    CAboutDlg about;
    QList<QUrl> opened;
    controls::LinkPlatform platform = controls::desktopLinkPlatform();
    platform.shellOpen = [&](const QString &url) {
        opened << QUrl(url);
        return 42;
    };
    about.mailLink()->setPlatform(platform);
    about.show();
    QTest::mouseClick(about.mailLink(), Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), "mailto");
    EXPECT_EQ(opened[0].path(), "team@glyphwerk.example.org");
    EXPECT_TRUE(about.mailLink()->isVisited());
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST(AboutBox, FindsTheReadmeBesideTheProgramOrInTheDocumentationFolder) {
    QTemporaryDir root;
    const QString bin = root.filePath("bin");
    QDir().mkpath(bin);
    EXPECT_EQ(CAboutDlg::readmePath(bin), "");
    writeFile(root.filePath("share/doc/glyphwerk/readme.txt"));
    EXPECT_EQ(CAboutDlg::readmePath(bin), QDir::cleanPath(root.filePath("share/doc/glyphwerk/readme.txt")));
    writeFile(root.filePath("bin/readme.txt"));
    EXPECT_EQ(CAboutDlg::readmePath(bin), QDir::cleanPath(root.filePath("bin/readme.txt")));
}

TEST(AboutBox, TheReadmeButtonOpensTheFileAndShowsNothingWhenItIsMissing) {
    ScriptedPrompts prompts;
    FileUrlCatcher catcher;
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

    writeFile(besideProgram);
    QTest::mouseClick(readme, Qt::LeftButton);
    QFile::remove(besideProgram);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(besideProgram));
}

TEST(AboutBox, OkClosesIt) {
    CAboutDlg about;
    about.show();
    QTest::mouseClick(res::controlById<QPushButton>(&about, 1), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

#include "about_box_test.moc"
