// The preview's line: glyphs placed by BBX and DWIDTH, stand-ins for missing characters, zoom, greys.

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
        for (const PreviewPlacement &p : layout.Placements())
            text += QStringLiteral(" | %1 %2,%3 %4x%5").arg(p.glyph ? QString::number(p.glyph->encoding) : "box")
                        .arg(p.box.left()).arg(p.box.top()).arg(p.box.width()).arg(p.box.height());
        return text.toStdString();
    }
    // The image's rows, space-separated: '.' white, '#' black, a grey g as the hex digit of g / 17.
    static std::string picture(const QImage &image) {
        QStringList rows(image.height());
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y) & 0xFFFFFF;
                rows[y] += c == 0xFFFFFF ? '.' : c == 0 ? '#' : qGray(c) % 17 ? '?' : "0123456789abcdef"[qGray(c) / 17];
            }
        return rows.join(' ').toStdString();
    }
};

TEST_F(PreviewLayoutTest, RealFontsSetGlyphsByBoxAndDeviceWidthAtEveryZoomAndFallBackToDefaultCharOrAnEmptyBox) {
    const FontPtr helvetica = corpus("75dpi-helvR12.bdf"); // box 14 20 -1 -5; DEFAULT_CHAR 0: DWIDTH 9, BBX 7 9 1 0
    const FontPtr charter = corpus("75dpi-charR12.bdf");   // DEFAULT_CHAR 0 names no glyph; box 13 15 -1 -3
    if (!helvetica || !charter)
        GTEST_SKIP() << "the corpus lacks 75dpi-helvR12.bdf or 75dpi-charR12.bdf (scripts/corpus makes them)";
    // T: DWIDTH 7, BBX 7 9 0 0; h: 7, 5 9 1 0; g: 7, 5 10 1 -3; j: 3, 2 12 0 -3.
    EXPECT_EQ(describe(CPreviewLayout(helvetica.get(), u"Thgj")),
              "24x20 baseline 15 | 84 0,6 7x9 | 104 8,6 5x9 | 103 15,8 5x10 | 106 21,6 2x12");
    const CPreviewLayout tj(helvetica.get(), u"Tj");
    const QImage one = tj.Render(1);
    EXPECT_EQ(picture(one), ".......... .......... .......... .......... .......... .......... #######.#. "
                            "...#...... ...#....#. ...#....#. ...#....#. ...#....#. ...#....#. ...#....#. "
                            "...#....#. ........#. ........#. .......#.. .......... ..........");
    // Each font pixel is a square of zoom x zoom equal pixels; zooms beyond 1..8 are taken as its ends.
    for (int zoom : {0, 1, 2, 3, 5, 8, 9}) {
        const int scale = qBound(1, zoom, 8);
        const QImage zoomed = tj.Render(zoom);
        ASSERT_EQ(zoomed.size(), one.size() * scale) << zoom;
        for (int y = 0; y < zoomed.height(); ++y)
            for (int x = 0; x < zoomed.width(); ++x)
                ASSERT_EQ(zoomed.pixel(x, y), one.pixel(x / scale, y / scale)) << zoom << ": " << x << "," << y;
    }

    // Characters the font lacks: a CJK one, and one beyond U+FFFF (a surrogate pair: one character).
    EXPECT_EQ(describe(CPreviewLayout(helvetica.get(), u"T\u4E2D\U0001F600T")),
              "32x20 baseline 15 | 84 0,6 7x9 | 0 8,6 7x9 | 0 17,6 7x9 | 84 25,6 7x9");
    // Charter's j: DWIDTH 3, BBX 3 12 -1 -3 (left of the pen); A: 8, 8 9 0 0; the box: the font box's size, y offset.
    EXPECT_EQ(describe(CPreviewLayout(charter.get(), u"jA\u4E2DA")),
              "33x15 baseline 12 | 106 0,3 3x12 | 65 4,3 8x9 | box 12,0 13x15 | 65 25,3 8x9");
    QStringList box(15, QStringLiteral("#...........#"));
    box.front() = box.back() = QStringLiteral("#############");
    EXPECT_EQ(picture(CPreviewLayout(charter.get(), u"\u4E2D").Render(1)), box.join(' ').toStdString());
    helvetica->default_glyph = 1; // names no glyph: Helvetica draws the box too
    EXPECT_EQ(describe(CPreviewLayout(helvetica.get(), u"\u4E2D")), "14x20 baseline 15 | box 0,0 14x20");
}

TEST_F(PreviewLayoutTest, GreyLevelsEmptyLinesFontsWithoutABoxAndLinesTooLargeToDraw) {
    const FontPtr two = load(QStringLiteral(GLYPHWERK_TEST_DATA "/gray2.bdf"));
    const FontPtr four = load(QStringLiteral(GLYPHWERK_TEST_DATA "/gray4.bdf"));
    ASSERT_TRUE(two && four);
    // 2 bits: ramp (A) 0 1 2 3 0 / 3 3 0 0 1 / 0..., padded (C) on the baseline 0 1 2 3 0; 4 bits: 15 7 10 / 0 0 1.
    EXPECT_EQ(picture(CPreviewLayout(two.get(), u"AC").Render(1)),
              ".a5#........ ##..a....... .......a5#.. ............");
    EXPECT_EQ(picture(CPreviewLayout(four.get(), u"a").Render(1)), ".#85.. ...e.. ......");
    // An empty line is the font box high; a font without a box still gives one pixel.
    const CPreviewLayout empty(four.get(), u"");
    EXPECT_EQ(describe(empty), "1x3 baseline 2");
    EXPECT_EQ(picture(empty.Render(2)), ".. .. .. .. .. ..");
    four->bbx = bdf_bbx{};
    EXPECT_EQ(describe(CPreviewLayout(four.get(), u"")), "1x1 baseline 0");
    // 4096 x 4096 boxes of characters it lacks: one fits at zoom 1 (2^24 pixels), two do not.
    four->bbx.width = four->bbx.height = 4096;
    EXPECT_FALSE(CPreviewLayout(four.get(), u"\u4E2D").Render(1).isNull());
    EXPECT_TRUE(CPreviewLayout(four.get(), u"\u4E2D").Render(2).isNull());
    EXPECT_TRUE(CPreviewLayout(four.get(), u"\u4E2D\u4E2D").Render(1).isNull());
}

} // namespace
