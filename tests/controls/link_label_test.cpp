// The link label: its fit, colours, font and click, over a fake desktop.

#include "link_label.h"
#include "scripted_prompts.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

// A bound label of `text` in `rect` of `parent`, with `url` set first when given.
static CLinkLabel *MakeLabel(QWidget *parent, QRect rect, const QString &text, const QString &url = {},
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
    EXPECT_EQ(MakeLabel(&parent, QRect(5, 5, 300, 30), "", "http://u.example/")->text(), "http://u.example/")
        << "an empty text shows the URL";
}

TEST(LinkLabel, AClickOpensByTheShellElseByTheRegisteredCommandCutAtItsPlaceholderAndAFailureNamesTheReason) {
    ScriptedPrompts prompts;
    QWidget parent;
    CLinkLabel *label = MakeLabel(&parent, QRect(10, 10, 280, 40), "Glyphwerk web page", "https://glyphwerk.example.org/");
    int shellResult = 42, runResult = 33;
    std::optional<QString> registered;
    QStringList asked;
    label->setPlatform({[&](const QString &url) { asked << url; return shellResult; }, [&] { return registered; },
                        [&](const QString &command) { asked << command; return runResult; }});
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
    EXPECT_TRUE(unvisited.first > 0 && unvisited.second == 0);
    EXPECT_FALSE(label->linkFont().has_value()) << "plain until underlined or italic";
    const auto click = [&](int shell, std::optional<QString> command, int run) {
        std::tie(shellResult, registered, runResult) = std::tie(shell, command, run);
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
        return inks();
    };
    EXPECT_EQ(click(42, {}, 0), std::make_pair(0, unvisited.first));
    EXPECT_EQ(click(31, "b %1x \"%U\" %i", 33), std::make_pair(0, unvisited.first)); // cut at the quoted placeholder
    EXPECT_EQ(click(31, "browser %1", 26), unvisited);
    EXPECT_EQ(click(31, std::nullopt, 0), unvisited);
    const QString url = "https://glyphwerk.example.org/";
    EXPECT_EQ(asked, (QStringList{url, url, "b %1x  " + url, url, "browser  " + url, url}));
    ASSERT_EQ(prompts.boxes.size(), 2u);
    EXPECT_EQ(prompts.boxes[0].text + prompts.boxes[1].text,
              "Unable to open hyperlink:\n\nA sharing violation occurred. Unable to open hyperlink:\n\n"
              "There is no application associated\nwith the given filename extension.");

    label->SetUnderlined(true);
    label->grab();
    label->SetItalic(true); // too late: the link font is made once, at the first paint that needs it
    label->grab();
    EXPECT_TRUE(label->linkFont() && label->linkFont()->underline() && !label->linkFont()->italic());
}
