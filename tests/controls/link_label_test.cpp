// The link label: how it opens a URL (plain logic over a fake platform), its
// error texts, and as a widget its colours, fonts, fit, tool tip, cursor and click.

#include "link_label.h"
#include "scripted_prompts.h"

#include <QDesktopServices>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

using controls::LinkPlatform;

namespace {

struct FakePlatform {
    int shellResult = 42;
    std::optional<QString> registered;
    int runResult = 33;
    QStringList shellCalls, commands;
    int registryLookups = 0;

    LinkPlatform platform() {
        return {[this](const QString &url) {
                    shellCalls << url;
                    return shellResult;
                },
                [this] {
                    ++registryLookups;
                    return registered;
                },
                [this](const QString &command) {
                    commands << command;
                    return runResult;
                }};
    }
};

int countPixels(const QImage &image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) | 0xFF000000) == colour;
    return count;
}

// Receives what QDesktopServices would hand to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit UrlCatcher(const QString &scheme) : m_scheme(scheme) {
        QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(m_scheme); }
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }

private:
    QString m_scheme;
};

} // namespace

TEST(LinkFallbackCommand, CutsAtThePlaceholderAndAppendsTheUrl) {
    const QString url = "http://glyphwerk.example.org/";
    EXPECT_EQ(controls::fallbackCommand(R"("C:\Program Files\Browser\browser.exe" -nohome "%1")", url),
              R"("C:\Program Files\Browser\browser.exe" -nohome  http://glyphwerk.example.org/)");
    EXPECT_EQ(controls::fallbackCommand(R"(browser.exe %1 -new)", url), "browser.exe  http://glyphwerk.example.org/");
    EXPECT_EQ(controls::fallbackCommand("browser.exe -nohome", url), "browser.exe -nohome http://glyphwerk.example.org/");
    EXPECT_EQ(controls::fallbackCommand("firefox %u", url), "firefox  http://glyphwerk.example.org/");
    EXPECT_EQ(controls::fallbackCommand(R"(/opt/web/browser --new-window "%U" %i)", url),
              "/opt/web/browser --new-window  http://glyphwerk.example.org/");
    // The quoted placeholder wins over an earlier bare one.
    EXPECT_EQ(controls::fallbackCommand(R"(b %1x "%1")", url), "b %1x  http://glyphwerk.example.org/");
    EXPECT_EQ(controls::fallbackCommand("", url), " http://glyphwerk.example.org/");
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

TEST(LinkLabel, FitsItsRectangleToTheTextByItsAlignment) {
    QWidget parent;
    parent.resize(400, 200);
    const auto make = [&](Qt::Alignment align, QRect rect, const QString &text) {
        auto *label = new CLinkLabel(&parent);
        label->setAlignment(align);
        label->setGeometry(rect);
        label->setText(text);
        label->bind();
        return label;
    };
    const QFontMetrics metrics(parent.font());
    const QString text = "glyphwerk.example.org";
    const int cx = metrics.horizontalAdvance(text), cy = metrics.height();
    ASSERT_LT(cx, 300);

    CLinkLabel *left = make(Qt::AlignLeft | Qt::AlignTop, QRect(10, 20, 300, 40), text);
    EXPECT_EQ(left->geometry(), QRect(10, 20, cx, cy));

    CLinkLabel *right = make(Qt::AlignRight | Qt::AlignTop, QRect(10, 20, 300, 40), text);
    EXPECT_EQ(right->geometry(), QRect(310 - cx, 20, cx, cy));

    CLinkLabel *centred = make(Qt::AlignHCenter | Qt::AlignVCenter, QRect(10, 20, 300, 41), text);
    const int dx = (300 - cx) / 2, dy = (41 - cy) / 2;
    EXPECT_EQ(centred->geometry(), QRect(10 + dx, 20 + dy, 300 - 2 * dx, 41 - 2 * dy));
    EXPECT_LE(std::abs(centred->geometry().center().x() - QRect(10, 20, 300, 41).center().x()), 1);

    // An empty text shows the URL set before binding, and is fitted to it.
    auto *empty = new CLinkLabel(&parent);
    empty->setGeometry(5, 5, 300, 30);
    empty->SetLinkUrl("http://u.example/");
    empty->bind();
    EXPECT_EQ(empty->text(), "http://u.example/");
    EXPECT_EQ(empty->geometry(), QRect(5, 5, metrics.horizontalAdvance("http://u.example/"), cy));
    EXPECT_EQ(empty->toolTip(), "http://u.example/");

    // Without a URL, the text becomes the URL.
    EXPECT_EQ(left->linkUrl(), text);
    EXPECT_EQ(left->cursor().shape(), Qt::ArrowCursor);
    left->setLinkCursor(Qt::PointingHandCursor);
    EXPECT_EQ(left->cursor().shape(), Qt::PointingHandCursor);
    left->SetTip("Email to ----> x");
    EXPECT_EQ(left->toolTip(), "Email to ----> x");
}

TEST(LinkLabel, DrawsInTheLinkColourThenTheVisitedColourAfterASuccessfulClick) {
    ScriptedPrompts prompts;
    QWidget parent;
    parent.resize(300, 60);
    auto *label = new CLinkLabel(&parent);
    label->setGeometry(10, 10, 280, 40);
    label->setText("Glyphwerk web page");
    label->SetLinkUrl("https://glyphwerk.example.org/");
    label->bind();
    UrlCatcher catcher("https");
    parent.show();

    QImage image = label->grab().toImage();
    EXPECT_GT(countPixels(image, CLinkLabel::kLinkColour), 0);
    EXPECT_EQ(countPixels(image, CLinkLabel::kVisitedColour), 0);

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl("https://glyphwerk.example.org/"));
    EXPECT_TRUE(label->isVisited());
    EXPECT_TRUE(prompts.boxes.empty());
    image = label->grab().toImage();
    EXPECT_GT(countPixels(image, CLinkLabel::kVisitedColour), 0);
    EXPECT_EQ(countPixels(image, CLinkLabel::kLinkColour), 0);
}

TEST(LinkLabel, AFailedOpenClearsVisitedAndNamesTheReason) {
    ScriptedPrompts prompts;
    QWidget parent;
    auto *label = new CLinkLabel(&parent);
    label->setGeometry(0, 0, 200, 30);
    label->setText("mailto:nobody@glyphwerk.example.org");
    label->bind();
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
    auto *label = new CLinkLabel(&parent);
    label->setGeometry(0, 0, 200, 30);
    label->setText("link");
    label->bind();
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

#include "link_label_test.moc"
