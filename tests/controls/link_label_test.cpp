// The link label: how it opens a URL (plain logic over a fake platform), its
// error texts, and as a widget its colours, fonts, fit, tool tip, cursor and click.

#include "link_label.h"
#include "scripted_prompts.h"
#include "url_catcher.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A desktop that answers as told and records what it was asked.
struct FakePlatform {
    int shellResult = 42;
    std::optional<QString> registered;
    int runResult = 33;
    QStringList shellCalls, commands;
    int registryLookups = 0;

    controls::LinkPlatform platform() {
        return {[this](const QString &url) { shellCalls << url; return shellResult; },
                [this] { ++registryLookups; return registered; },
                [this](const QString &command) { commands << command; return runResult; }};
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

int CountPixels(const QImage &image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) | 0xFF000000) == colour;
    return count;
}

TEST(LinkFallbackCommand, CutsAtThePlaceholderAndAppendsTheUrl) {
    const std::pair<const char *, const char *> cases[] = {
        {R"("C:\Program Files\Browser\browser.exe" -nohome "%1")", R"("C:\Program Files\Browser\browser.exe" -nohome  )"},
        {"browser.exe %1 -new", "browser.exe  "},
        {"browser.exe -nohome", "browser.exe -nohome "},
        {"firefox %u", "firefox  "},
        {R"(/opt/web/browser --new-window "%U" %i)", "/opt/web/browser --new-window  "},
        {R"(b %1x "%1")", "b %1x  "}, // the quoted placeholder wins over an earlier bare one
        {"", " "},
    };
    for (auto [registered, cut] : cases)
        EXPECT_EQ(controls::fallbackCommand(registered, "http://glyphwerk.example.org/"),
                  QString(cut) + "http://glyphwerk.example.org/")
            << registered;
}

TEST(LinkOpenUrl, FallsBackToTheRegisteredCommandAndReportsTheLastFailingStep) {
    FakePlatform fake;
    EXPECT_EQ(controls::openUrl("mailto:a@b.example", fake.platform()), 42);
    EXPECT_EQ(fake.registryLookups, 0);
    EXPECT_EQ(fake.shellCalls, QStringList{"mailto:a@b.example"});

    fake.shellResult = 31; // no association, and no registered web command
    EXPECT_EQ(controls::openUrl("http://x.example/", fake.platform()), 31);
    EXPECT_TRUE(fake.commands.isEmpty());

    fake.registered = "browser --new \"%1\"";
    EXPECT_EQ(controls::openUrl("http://x.example/", fake.platform()), 33);
    EXPECT_EQ(fake.commands, QStringList{"browser --new  http://x.example/"});

    fake.runResult = 2;
    EXPECT_EQ(controls::openUrl("http://x.example/", fake.platform()), 2);
}

TEST(LinkOpenErrorText, HasATextForEveryShellCode) {
    const std::pair<int, const char *> table[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {-7, "Unknown Error (-7) occurred."},
    };
    for (const auto &[code, text] : table)
        EXPECT_EQ(controls::openErrorText(code), QString("Unable to open hyperlink:\n\n") + text) << code;
}

TEST(LinkLabel, BindingFitsTheRectangleToTheTextByItsAlignmentAndTakesTheUrlOrShowsIt) {
    QWidget parent;
    parent.resize(400, 200);
    const QFontMetrics metrics(parent.font());
    const QString text = "glyphwerk.example.org";
    const int cx = metrics.horizontalAdvance(text), cy = metrics.height();
    ASSERT_LT(cx, 300);

    CLinkLabel *left = MakeLabel(&parent, QRect(10, 20, 300, 40), text);
    EXPECT_EQ(left->geometry(), QRect(10, 20, cx, cy));
    EXPECT_EQ(left->linkUrl(), text); // without a URL, the text becomes the URL
    EXPECT_EQ(left->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(MakeLabel(&parent, QRect(10, 20, 300, 40), text, {}, Qt::AlignRight | Qt::AlignTop)->geometry(),
              QRect(310 - cx, 20, cx, cy));
    CLinkLabel *centred = MakeLabel(&parent, QRect(10, 20, 300, 41), text, {}, Qt::AlignHCenter | Qt::AlignVCenter);
    const int dx = (300 - cx) / 2, dy = (41 - cy) / 2;
    EXPECT_EQ(centred->geometry(), QRect(10 + dx, 20 + dy, 300 - 2 * dx, 41 - 2 * dy));
    EXPECT_LE(std::abs(centred->geometry().center().x() - QRect(10, 20, 300, 41).center().x()), 1);

    // An empty text shows the URL set before binding, and is fitted to it.
    CLinkLabel *empty = MakeLabel(&parent, QRect(5, 5, 300, 30), "", "http://u.example/");
    EXPECT_EQ(empty->text(), "http://u.example/");
    EXPECT_EQ(empty->geometry(), QRect(5, 5, metrics.horizontalAdvance("http://u.example/"), cy));
    EXPECT_EQ(empty->toolTip(), "http://u.example/");
}

TEST(LinkLabel, DrawsInTheLinkColourThenTheVisitedColourAfterASuccessfulClick) {
    ScriptedPrompts prompts;
    QWidget parent;
    parent.resize(300, 60);
    CLinkLabel *label = MakeLabel(&parent, QRect(10, 10, 280, 40), "Glyphwerk web page", "https://glyphwerk.example.org/");
    UrlCatcher catcher("https");
    parent.show();

    QImage image = label->grab().toImage();
    EXPECT_GT(CountPixels(image, CLinkLabel::kLinkColour), 0);
    EXPECT_EQ(CountPixels(image, CLinkLabel::kVisitedColour), 0);

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl("https://glyphwerk.example.org/")});
    EXPECT_TRUE(label->isVisited());
    EXPECT_TRUE(prompts.boxes.empty());
    image = label->grab().toImage();
    EXPECT_GT(CountPixels(image, CLinkLabel::kVisitedColour), 0);
    EXPECT_EQ(CountPixels(image, CLinkLabel::kLinkColour), 0);
}

TEST(LinkLabel, AFailedOpenClearsVisitedAndNamesTheReason) {
    ScriptedPrompts prompts;
    QWidget parent;
    CLinkLabel *label = MakeLabel(&parent, QRect(0, 0, 200, 30), "mailto:nobody@glyphwerk.example.org");
    label->MarkVisited(true);
    FakePlatform fake;
    fake.shellResult = 31;
    label->setPlatform(fake.platform());
    parent.show();

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(label->isVisited());
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text,
              "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
    EXPECT_EQ(prompts.boxes[0].type, 48u);

    fake.shellResult = 26;
    fake.registered = "browser %1";
    fake.runResult = 26;
    label->setPlatform(fake.platform());
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(prompts.boxes.size(), 2u);
    EXPECT_EQ(prompts.boxes[1].text, "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(fake.commands, QStringList{"browser  mailto:nobody@glyphwerk.example.org"});

    // A right click or a press released outside does not open.
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(2, 2));
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(500, 2));
    EXPECT_EQ(prompts.boxes.size(), 2u);
}

TEST(LinkLabel, MakesItsUnderlinedItalicFontOnceAtTheFirstPaintThatNeedsIt) {
    QWidget parent;
    CLinkLabel *label = MakeLabel(&parent, QRect(0, 0, 200, 30), "link");
    parent.show();
    label->grab();
    EXPECT_FALSE(label->linkFont().has_value());

    label->SetUnderlined(true);
    label->grab();
    ASSERT_TRUE(label->linkFont().has_value());
    EXPECT_TRUE(label->linkFont()->underline());
    EXPECT_FALSE(label->linkFont()->italic());

    label->SetItalic(true); // too late: the font is made once
    label->grab();
    EXPECT_FALSE(label->linkFont()->italic());
}

} // namespace
