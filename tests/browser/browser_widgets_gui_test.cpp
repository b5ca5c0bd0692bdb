// The browser's widgets: the table's area, the information panels' text and the Find dialog.

#include "dialog_builder.h"
#include "find_glyph_dialog.h"
#include "find_glyph_template.h"
#include "font_form_template.h"
#include "glyph_table_area.h"
#include "info_text.h"
#include "scripted_prompts.h"
#include "test_font.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(GlyphTableArea, DrawsTheTableOnItsFirstPaintAfterAResizeOrInvalidateAndElseShowsTheLastPage) {
    TestFont font{4, 4, 0, 2}; // 2 bits a pixel: the glyphs' set pixels (value 2) are a level between paper and ink
    font.addMany(3);
    CGlyphTable table;
    int draws = 0;
    CGlyphTableArea area(nullptr, table, [&] { draws += table.Draw(&area, font.get(), nullptr); });
    area.resize(40, 12);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    // The draws a repaint made, and the top row of the first cell and the next on the screen.
    const auto repaint = [&] {
        const int before = draws;
        const QImage shot = area.grab().toImage();
        QString text = QString::number(draws - before);
        for (int x = 1; x < 7; ++x)
            text += " " + QColor(shot.pixel(x, 1)).name();
        return text.toStdString();
    };
    EXPECT_EQ(repaint().substr(1), " #aaaad4 #000080 #000080 #000080 #c0c0c0 #555555") << "navy to white; a grid dot";
    EXPECT_EQ(std::pair(draws, repaint().front()), std::pair(1, '0')) << "drawn once";
    area.resize(60, 12);
    EXPECT_EQ(repaint().front(), '1') << "after a resize";
    area.Invalidate();
    EXPECT_EQ(repaint().front(), '1') << "after Invalidate";
}

TEST(FontForm, ThePanelsStartWithTheirTitlesAndTexts) {
    QWidget form;
    res::buildDialog(res::fontFormTemplate(), &form);
    QStringList seen;
    for (const QWidget *control : form.findChildren<QWidget *>())
        seen << control->property(control->inherits("QGroupBox") ? "title" : "text").toString();
    EXPECT_EQ(seen.join('|'), "Selected Glyph Information|Font Information||No glyph is selected.|No file is opened.|");
}

TEST(InfoText, EachTabbedValueOfAColumnStartsInOnePlaceWhateverTheLabelsWidth) {
    CInfoText text(nullptr);
    text.setText("DWidth:\t5\r\nWidth:\t5\r\nSize: \t\t5\r\nGlyphs Num: \t5\r\n");
    const QFontMetrics metrics(text.font());
    const int spacing = metrics.lineSpacing(), narrowEnd = metrics.horizontalAdvance("DWidth:"),
              wideEnd = metrics.horizontalAdvance("Glyphs Num:"),
              digitEnd = narrowEnd + 2 * metrics.averageCharWidth() + metrics.horizontalAdvance('5');
    text.resize(wideEnd * 3, 5 * spacing);
    const QImage shot = text.grab().toImage();
    const auto band = [&](int line, int x, int to = 0) {
        return shot.copy(x, line * spacing, (to ? to : shot.width()) - x, spacing);
    };
    EXPECT_EQ(band(1, narrowEnd), band(0, narrowEnd));
    EXPECT_EQ(band(3, wideEnd), band(2, wideEnd));
    // The first column's values start right of the widest label and within two letters of it.
    EXPECT_NE(band(0, narrowEnd, digitEnd), band(4, narrowEnd, digitEnd));
    EXPECT_EQ(band(0, digitEnd), band(4, digitEnd));
}

TEST(FindGlyphDlg, StartsInHexadecimalAndChecksTheTextInTheBaseChosenWhenFindIsPressed) {
    // A new dialog's title and range, Decimal clicked when asked, its range, Enter; found or open, its messages.
    const auto find = [](const QString &text, bool decimal) {
        ScriptedPrompts prompts;
        CFindGlyphDlg dialog;
        dialog.open();
        QStringList seen{dialog.windowTitle(), res::controlById<QLabel>(&dialog, res::IDC_RANGE)->text()};
        res::controlById<QLineEdit>(&dialog, res::IDC_ENCODING)->setText(text);
        if (decimal)
            QTest::mouseClick(res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_DEC), Qt::LeftButton);
        seen << res::controlById<QLabel>(&dialog, res::IDC_RANGE)->text();
        QTest::keyClick(res::controlById(&dialog, res::IDC_ENCODING), Qt::Key_Return);
        seen << (dialog.result() == QDialog::Accepted ? "found " + QString::number(dialog.GetEncoding()) : "open");
        for (const auto &box : prompts.boxes)
            seen << QString::number(box.type) + ": " + box.text;
        return seen.join(" | ").toStdString();
    };
    EXPECT_EQ(find("FFFF", false), "Find | (0-FFFF) | (0-FFFF) | found 65535");
    EXPECT_EQ(find("10000", false), "Find | (0-FFFF) | (0-FFFF) | open | 64: Parameter error!");
    EXPECT_EQ(find("41", true), "Find | (0-FFFF) | (0-65535) | found 41") << "the text is not converted";
    EXPECT_EQ(find("-5", true), "Find | (0-FFFF) | (0-65535) | open | 64: Parameter error!");
    EXPECT_EQ(find("", false), "Find | (0-FFFF) | (0-FFFF) | open | 64: Glyph encoding is NULL!");
}
