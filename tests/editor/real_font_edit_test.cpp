// A real X11 font read by the library: opening and OK change no byte of what
// Save writes, and a glyph edited and saved is still read by bdftopcf.

#include "editor_window.h"
#include "font_ptr.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(RealFontEdit, AnEditedX11FontSavesOnlyTheEditAndIsStillReadByBdftopcf) {
    const QString source = QStringLiteral(GLYPHWERK_CORPUS_DIR "/misc-9x15.bdf");
    if (!QFile::exists(source))
        GTEST_SKIP() << "no corpus font at " << source.toStdString() << " (run scripts/corpus)";
    struct Library {
        Library() { bdf_setup(); }
        ~Library() { bdf_cleanup(); }
    } library;
    QTemporaryDir dir;
    const QString path = dir.filePath("font.bdf");
    const auto saved = [&](bdf_font *font) {
        EXPECT_EQ(bdf_save_font_path(path.toLocal8Bit().constData(), font), 1);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto glyphA = [](bdf_font *font) {
        bdf_glyph *end = font->glyphs + font->glyphs_used;
        bdf_glyph *a = std::find_if(font->glyphs, end, [](const bdf_glyph &glyph) { return glyph.encoding == 'A'; });
        return a == end ? nullptr : a;
    };
    FontPtr font(bdf_load_font_path(source.toLocal8Bit().constData()));
    ASSERT_TRUE(font && glyphA(font.get()));
    const QByteArray before = saved(font.get());
    Editor e(glyphA(font.get()), font->bbx, font->bpp);
    ASSERT_TRUE(e.ready);
    EXPECT_FALSE(e.dialog.OnOK());
    EXPECT_EQ(saved(font.get()), before);
    e.ClickButton(res::IDC_PENCIL);
    e.Click(0, 0); // the font box's top-left pixel, outside A's ink
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_NE(saved(font.get()), before);
    QProcess bdftopcf;
    bdftopcf.start("bdftopcf", {"-o", path + ".pcf", path});
    ASSERT_TRUE(bdftopcf.waitForFinished());
    EXPECT_EQ(std::tuple(bdftopcf.exitCode(), bdftopcf.readAllStandardError(), e.changed.count()),
              std::tuple(0, QByteArray(), 1));
    FontPtr reread(bdf_load_font_path(path.toLocal8Bit().constData()));
    const bdf_glyph *a = reread ? glyphA(reread.get()) : nullptr; // the new pixel: left edge, top row of the box
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(std::tuple(a->bbx.x_offset, a->bbx.ascent, a->bitmap[0] & 0x80),
              std::tuple(font->bbx.x_offset, font->bbx.ascent, 0x80));
}

} // namespace
