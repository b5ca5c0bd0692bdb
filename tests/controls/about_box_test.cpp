#include "about_box.h"
#include "about_template.h"
#include "dialog_builder.h"
#include "link_label.h"
#include "scripted_prompts.h"

#include <QTest>
#include <gtest/gtest.h>

TEST(AboutBox, ShowsTheVersionAndItsMailLinkOpensAMailtoUrl) {
    ScriptedPrompts prompts; // a failed link would ask
    CAboutDlg about;
    EXPECT_EQ(res::controlById<QLabel>(&about, res::IDC_ABOUT_VERSION)->text(), "GlyphwerkV1.02");
    QStringList opened;
    controls::LinkPlatform platform = controls::desktopLinkPlatform();
    platform.shellOpen = [&](const QString &url) { opened << url; return 42; };
    about.mailLink()->setPlatform(platform);
    about.show();
    QTest::mouseClick(about.mailLink(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(opened, QStringList{"mailto:team@glyphwerk.example.org"});
}
