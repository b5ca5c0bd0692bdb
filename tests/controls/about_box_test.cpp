// The About box: version, links and OK.

#include "about_box.h"
#include "about_template.h"
#include "dialog_builder.h"
#include "link_label.h"
#include "scripted_prompts.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(AboutBox, ShowsTheVersionAndTwoUnderlinedItalicLinksOfWhichTheMailOneOpensAMailtoUrl) {
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
    }
    QTest::mouseClick(about.mailLink(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(opened, QStringList{"mailto:team@glyphwerk.example.org"});
    QTest::mouseClick(res::controlById<QPushButton>(&about, 1), Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}
