// A real X11 font read by the library: opening and OK change no byte of what
// Save writes, and a glyph edited and saved is still read by bdftopcf.

#include "editor_window.h"
#include "font_ptr.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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
    const QString path = dir.filePath("font.bdf"), errors = dir.filePath("errors");
    const auto load = [](const QString &file) { return FontPtr(bdf_load_font_path(file.toLocal8Bit().constData())); };
    const auto saved = [&](bdf_font *font) {
        QFile file(path);
        EXPECT_EQ(bdf_save_font_path(path.toLocal8Bit().constData(), font), 1);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto glyphA = [](bdf_font *font) {
        bdf_glyph *end = font->glyphs + font->glyphs_used;
        bdf_glyph *a = std::find_if(font->glyphs, end, [](const bdf_glyph &glyph) { return glyph.encoding == 'A'; });
        return a == end ? nullptr : a;
    };
    FontPtr font = load(source);
    ASSERT_TRUE(font);
    const QByteArray before = saved(font.get());
    ASSERT_NE(glyphA(font.get()), nullptr);
    Editor e(glyphA(font.get()), font->bbx, font->bpp);
    ASSERT_TRUE(e.ready);
    EXPECT_FALSE(e.dialog.OnOK());
    EXPECT_EQ(saved(font.get()), before);
    e.ClickButton(res::IDC_PENCIL);
    e.Click(0, 0); // the font box's top-left pixel, outside A's ink
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.changed.count(), 1);
    EXPECT_NE(saved(font.get()), before);
    const QString command = QStringLiteral("bdftopcf -o '%1.pcf' '%1' 2>'%2'").arg(path, errors);
    EXPECT_EQ(std::system(command.toLocal8Bit().constData()), 0);
    EXPECT_EQ(QFileInfo(errors).size(), 0);
    FontPtr reread = load(path);
    ASSERT_TRUE(reread);
    const bdf_glyph *a = glyphA(reread.get()); // the new pixel, at the box's left edge in its top row
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(std::tuple(a->bbx.x_offset, a->bbx.ascent, a->bitmap[0] & 0x80),
              std::tuple(font->bbx.x_offset, font->bbx.ascent, 0x80));
}

} // namespace
