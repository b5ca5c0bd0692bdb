// The link label: how it opens a URL (plain logic over a fake platform), and as
// a widget its fit, colours, font and click.

#include "link_label.h"
#include "scripted_prompts.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A desktop that answers as told and records what it was asked to open or run.
struct FakePlatform {
    int shellResult = 31, runResult = 33;
    std::optional<QString> registered;
    QStringList asked;
    controls::LinkPlatform platform() {
        return {[this](const QString &url) { asked << url; return shellResult; }, [this] { return registered; },
                [this](const QString &command) { asked << command; return runResult; }};
    }
};

// A bound label of `text` in `rect` of `parent`, with `url` set first when given.
CLinkLabel *MakeLabel(QWidget *parent, QRect rect, const QString &text, const QString &url = {},
                      Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop) {
    auto *label = new CLinkLabel(parent);
    label->setAlignment(align);
    label->setGeometry(rect);
    label->setText(text);
    if (!url.isEmpty())
        label->SetLinkUrl(url);
    label->bind();
    return label;
}

TEST(LinkOpen, TheShellFirstThenTheRegisteredCommandCutAtItsPlaceholderAndTheLastFailureIsReported) {
    const std::pair<const char *, const char *> cuts[] = {
        {R"("C:\Program Files\Browser\browser.exe" -nohome "%1")", R"("C:\Program Files\Browser\browser.exe" -nohome  )"},
        {R"(b %1x "%U" %i)", "b %1x  "}, // a quoted placeholder wins over an earlier bare one
        {"browser.exe -nohome", "browser.exe -nohome "},
    };
    for (auto [registered, cut] : cuts)
        EXPECT_EQ(controls::fallbackCommand(registered, "http://x.example/"), QString(cut) + "http://x.example/");
    FakePlatform fake;
    EXPECT_EQ(controls::openUrl("http://x.example/", fake.platform()), 31) << "no registered web command";
    fake.registered = "browser --new \"%1\"";
    EXPECT_EQ(controls::openUrl("http://x.example/", fake.platform()), 33);
    fake.shellResult = 42;
    EXPECT_EQ(controls::openUrl("http://y.example/", fake.platform()), 42);
    EXPECT_EQ(fake.asked, (QStringList{"http://x.example/", "http://x.example/", "browser --new  http://x.example/",
                                       "http://y.example/"}));
    EXPECT_EQ(controls::openErrorText(-7), "Unable to open hyperlink:\n\nUnknown Error (-7) occurred.");
}

TEST(LinkLabel, BindingFitsTheRectangleToTheTextByItsAlignmentAndTakesTheUrlOrShowsIt) {
    QWidget parent;
    const QFontMetrics metrics(parent.font());
    const QString text = "glyphwerk.example.org";
    const int cx = metrics.horizontalAdvance(text), cy = metrics.height(), dx = (300 - cx) / 2, dy = (41 - cy) / 2;
    ASSERT_LT(cx, 300);
    CLinkLabel *left = MakeLabel(&parent, QRect(10, 20, 300, 40), text);
    EXPECT_EQ(left->geometry(), QRect(10, 20, cx, cy));
    EXPECT_EQ(left->linkUrl(), text); // without a URL, the text becomes the URL
    EXPECT_EQ(MakeLabel(&parent, QRect(10, 20, 300, 40), text, {}, Qt::AlignRight)->geometry(), QRect(310 - cx, 20, cx, cy));
    EXPECT_EQ(MakeLabel(&parent, QRect(10, 20, 300, 41), text, {}, Qt::AlignCenter)->geometry(),
              QRect(10 + dx, 20 + dy, 300 - 2 * dx, 41 - 2 * dy));
    CLinkLabel *empty = MakeLabel(&parent, QRect(5, 5, 300, 30), "", "http://u.example/");
    EXPECT_EQ(empty->text(), "http://u.example/") << "an empty text shows the URL";
    EXPECT_EQ(empty->geometry(), QRect(5, 5, metrics.horizontalAdvance("http://u.example/"), cy));
}

TEST(LinkLabel, AClickThatOpensTurnsItVisitedAndAFailedOneClearsThatAndNamesTheReason) {
    ScriptedPrompts prompts;
    QWidget parent;
    CLinkLabel *label = MakeLabel(&parent, QRect(10, 10, 280, 40), "Glyphwerk web page", "https://glyphwerk.example.org/");
    FakePlatform fake;
    fake.shellResult = 42;
    label->setPlatform(fake.platform());
    parent.show();
    // How many pixels it shows in the link and in the visited colour.
    const auto inks = [&] {
        const QImage image = label->grab().toImage();
        std::pair<int, int> count;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                count.first += (image.pixel(x, y) | 0xFF000000) == CLinkLabel::kLinkColour;
                count.second += (image.pixel(x, y) | 0xFF000000) == CLinkLabel::kVisitedColour;
            }
        return count;
    };
    const std::pair<int, int> unvisited = inks();
    EXPECT_GT(unvisited.first, 0);
    EXPECT_EQ(unvisited.second, 0);
    EXPECT_FALSE(label->linkFont().has_value()) << "plain until underlined or italic";
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(inks(), std::make_pair(0, unvisited.first));
    fake.shellResult = 26;
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(inks(), unvisited);
    // A right click or a press released outside does not open.
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(3, 3));
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(500, 3));
    EXPECT_EQ(fake.asked, QStringList(2, "https://glyphwerk.example.org/"));
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(prompts.boxes[0].type, 48u);

    label->SetUnderlined(true);
    label->grab();
    label->SetItalic(true); // too late: the link font is made once, at the first paint that needs it
    label->grab();
    EXPECT_TRUE(label->linkFont() && label->linkFont()->underline() && !label->linkFont()->italic());
}

} // namespace
