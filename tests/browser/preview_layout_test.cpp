// The preview's line with real fonts: where each glyph goes by its BBX and
// DWIDTH, what stands for a character the font lacks, the zoom, grey levels.

#include "font_ptr.h"
#include "preview_layout.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct PreviewLayoutTest : ::testing::Test {
    static void SetUpTestSuite() { bdf_setup(); }
    static void TearDownTestSuite() { bdf_cleanup(); }

    // A font of the corpus (the test is skipped without it) or of tests/data.
    static FontPtr load(const QString &path) {
        return FontPtr(QFileInfo::exists(path) ? bdf_load_font_path(path.toUtf8().constData()) : nullptr);
    }
    static FontPtr corpus(const char *name) { return load(QStringLiteral(GLYPHWERK_CORPUS_DIR "/") + name); }

    // "<size> baseline <row>" and, per character, "<encoding of its glyph or box> <box>".
    static std::string describe(const CPreviewLayout &layout) {
        QString text = QString::asprintf("%dx%d baseline %d", layout.Size().width(), layout.Size().height(),
                                         layout.Baseline());
        for (const PreviewPlacement &placement : layout.Placements()) {
            const QRect &box = placement.box;
            text += QString::asprintf(" | %s %d,%d %dx%d",
                                      placement.glyph ? qPrintable(QString::number(placement.glyph->encoding))
                                                      : "box",
                                      box.left(), box.top(), box.width(), box.height());
        }
        return text.toStdString();
    }
    // The image one line a row: '.' white, '#' black, '?' anything else.
    static std::string picture(const QImage &image) {
        std::string text;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y) & 0xFFFFFF;
                text += c == 0xFFFFFF ? '.' : c == 0 ? '#' : '?';
            }
            text += '\n';
        }
        return text;
    }
    // The grey values of one image row.
    static std::string greys(const QImage &image, int y) {
        QStringList values;
        for (int x = 0; x < image.width(); ++x)
            values << QString::number(qGray(image.pixel(x, y)));
        return values.join(' ').toStdString();
    }
};

TEST_F(PreviewLayoutTest, GlyphsStandOnOneBaselineByTheirBoxOffsetsAndAdvanceByTheirDeviceWidths) {
    const FontPtr font = corpus("75dpi-helvR12.bdf"); // font box 14 20 -1 -5
    if (!font)
        GTEST_SKIP() << "the corpus has no 75dpi-helvR12.bdf (scripts/corpus makes it)";
    // T: DWIDTH 7, BBX 7 9 0 0; h: 7, 5 9 1 0; g: 7, 5 10 1 -3; j: 3, 2 12 0 -3.
    EXPECT_EQ(describe(CPreviewLayout(font.get(), u"Thgj")),
              "24x20 baseline 15 | 84 0,6 7x9 | 104 8,6 5x9 | 103 15,8 5x10 | 106 21,6 2x12");

    const CPreviewLayout tj(font.get(), u"Tj");
    EXPECT_EQ(picture(tj.Render(1)), ".........." "\n"
                                     ".........." "\n"
                                     ".........." "\n"
                                     ".........." "\n"
                                     ".........." "\n"
                                     ".........." "\n"
                                     "#######.#." "\n"
                                     "...#......" "\n"
                                     "...#....#." "\n"
                                     "...#....#." "\n"
                                     "...#....#." "\n"
                                     "...#....#." "\n"
                                     "...#....#." "\n"
                                     "...#....#." "\n"
                                     "...#....#." "\n"
                                     "........#." "\n"
                                     "........#." "\n"
                                     ".......#.." "\n"
                                     ".........." "\n"
                                     ".........." "\n");

    // Every zoom from 1 to 8 makes each font pixel a square of zoom x zoom
    // equal pixels; zooms beyond the range are taken as its ends.
    const QImage one = tj.Render(1);
    for (int zoom : {1, 2, 3, 5, 8}) {
        const QImage zoomed = tj.Render(zoom);
        ASSERT_EQ(zoomed.size(), one.size() * zoom) << zoom;
        int differing = 0;
        for (int y = 0; y < zoomed.height(); ++y)
            for (int x = 0; x < zoomed.width(); ++x)
                differing += zoomed.pixel(x, y) != one.pixel(x / zoom, y / zoom);
        EXPECT_EQ(differing, 0) << zoom;
    }
    EXPECT_EQ(tj.Render(0), one);
    EXPECT_EQ(tj.Render(9), tj.Render(8));
}

TEST_F(PreviewLayoutTest, ACharacterTheFontLacksTakesTheDefaultCharOrElseAnEmptyBoxOfTheFontBox) {
    const FontPtr helvetica = corpus("75dpi-helvR12.bdf"); // DEFAULT_CHAR 0: DWIDTH 9, BBX 7 9 1 0
    const FontPtr charter = corpus("75dpi-charR12.bdf");   // DEFAULT_CHAR 0 names no glyph; box 13 15 -1 -3
    if (!helvetica || !charter)
        GTEST_SKIP() << "the corpus lacks 75dpi-helvR12.bdf or 75dpi-charR12.bdf (scripts/corpus makes them)";
    // A CJK character, and one beyond U+FFFF (a surrogate pair: one character).
    EXPECT_EQ(describe(CPreviewLayout(helvetica.get(), u"T\u4E2D\U0001F600T")),
              "32x20 baseline 15 | 84 0,6 7x9 | 0 8,6 7x9 | 0 17,6 7x9 | 84 25,6 7x9");
    // Charter's A: DWIDTH 8, BBX 8 9 0 0; the box takes the font box's height and offset and its width.
    EXPECT_EQ(describe(CPreviewLayout(charter.get(), u"A\u4E2DA")),
              "29x15 baseline 12 | 65 0,3 8x9 | box 8,0 13x15 | 65 21,3 8x9");
    const std::string row = "#...........#\n";
    std::string box = "#############\n";
    for (int i = 0; i < 13; ++i)
        box += row;
    box += "#############\n";
    EXPECT_EQ(picture(CPreviewLayout(charter.get(), u"\u4E2D").Render(1)), box);

    // With the glyph of DEFAULT_CHAR removed from the font, Helvetica draws the box too.
    helvetica->default_glyph = 1; // no glyph has encoding 1
    EXPECT_EQ(describe(CPreviewLayout(helvetica.get(), u"\u4E2D")), "14x20 baseline 15 | box 0,0 14x20");
}

TEST_F(PreviewLayoutTest, PixelsOfTwoAndFourBitsAreGreysFromWhiteToBlack) {
    const FontPtr two = load(QStringLiteral(GLYPHWERK_TEST_DATA "/gray2.bdf"));
    const FontPtr four = load(QStringLiteral(GLYPHWERK_TEST_DATA "/gray4.bdf"));
    ASSERT_TRUE(two && four);
    // ramp (A): levels 0 1 2 3 0 / 3 3 0 0 1 / 0...; padded (C) on the baseline: 0 1 2 3 0.
    const QImage ramp = CPreviewLayout(two.get(), u"AC").Render(1);
    ASSERT_EQ(ramp.size(), QSize(12, 4));
    EXPECT_EQ(greys(ramp, 0), "255 170 85 0 255 255 255 255 255 255 255 255");
    EXPECT_EQ(greys(ramp, 1), "0 0 255 255 170 255 255 255 255 255 255 255");
    EXPECT_EQ(greys(ramp, 2), "255 255 255 255 255 255 255 170 85 0 255 255");
    // levels (a), BBX 3 2 1 0: 15 7 10 / 0 0 1.
    const QImage levels = CPreviewLayout(four.get(), u"a").Render(1);
    ASSERT_EQ(levels.size(), QSize(6, 3));
    EXPECT_EQ(greys(levels, 0), "255 0 136 85 255 255");
    EXPECT_EQ(greys(levels, 1), "255 255 255 238 255 255");
}

TEST_F(PreviewLayoutTest, AnEmptyLineIsTheFontBoxHighAndAHugeLineIsNotDrawn) {
    const FontPtr four = load(QStringLiteral(GLYPHWERK_TEST_DATA "/gray4.bdf"));
    ASSERT_TRUE(four);
    const CPreviewLayout empty(four.get(), u"");
    EXPECT_EQ(describe(empty), "1x3 baseline 2");
    EXPECT_EQ(picture(empty.Render(2)), "..\n..\n..\n..\n..\n..\n");
    const bdf_bbx box = four->bbx;
    four->bbx = bdf_bbx{}; // a font without a box still gives a pixel to show
    EXPECT_EQ(describe(CPreviewLayout(four.get(), u"")), "1x1 baseline 0");
    four->bbx = box;

    // 4096 x 4096 boxes of characters it lacks: one fits at zoom 1 (2^24 pixels), two do not.
    four->bbx.width = four->bbx.height = 4096;
    EXPECT_FALSE(CPreviewLayout(four.get(), u"\u4E2D").Render(1).isNull());
    EXPECT_TRUE(CPreviewLayout(four.get(), u"\u4E2D").Render(2).isNull());
    EXPECT_TRUE(CPreviewLayout(four.get(), u"\u4E2D\u4E2D").Render(1).isNull());
}

} // namespace
