// The editor on a real X11 font read by the library: opening and OK change no
// byte of what Save writes, and a glyph edited and saved is still read by bdftopcf.

#include "editor_window.h"
#include "font_ptr.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QByteArray Saved(bdf_font *font, const QString &path) {
    QFile file(path);
    EXPECT_EQ(bdf_save_font_path(path.toLocal8Bit().constData(), font), 1);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bdf_glyph *Encoded(bdf_font *font, int encoding) {
    for (uint32_t i = 0; i < font->glyphs_used; ++i)
        if (font->glyphs[i].encoding == encoding)
            return &font->glyphs[i];
    return nullptr;
}

TEST(RealFontEdit, AnEditedX11FontSavesOnlyTheEditAndIsStillReadByBdftopcf) {
    const QString source = QStringLiteral(GLYPHWERK_CORPUS_DIR "/misc-9x15.bdf");
    if (!QFile::exists(source))
        GTEST_SKIP() << "no corpus font at " << source.toStdString() << " (run scripts/corpus)";
    struct Library {
        Library() { bdf_setup(); }
        ~Library() { bdf_cleanup(); }
    } library;
    QTemporaryDir dir;
    const QString path = dir.filePath("font.bdf"), pcf = dir.filePath("font.pcf"), errors = dir.filePath("errors");
    FontPtr font(bdf_load_font_path(source.toLocal8Bit().constData()));
    ASSERT_TRUE(font);
    const QByteArray before = Saved(font.get(), path);
    bdf_glyph *glyph = Encoded(font.get(), 'A');
    ASSERT_NE(glyph, nullptr);
    Editor e(glyph, font->bbx, font->bpp);
    ASSERT_TRUE(e.ready);
    EXPECT_FALSE(e.dialog.OnOK());
    EXPECT_EQ(Saved(font.get(), path), before);

    e.ClickButton(res::IDC_PENCIL);
    e.Click(0, 0); // the font box's top-left pixel, outside A's ink
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.changed.count(), 1);
    EXPECT_NE(Saved(font.get(), path), before);
    const QString command = QStringLiteral("bdftopcf -o '%1' '%2' 2>'%3'").arg(pcf, path, errors);
    EXPECT_EQ(std::system(command.toLocal8Bit().constData()), 0);
    QFile errorFile(errors);
    EXPECT_TRUE(errorFile.open(QIODevice::ReadOnly) && errorFile.readAll().isEmpty());

    FontPtr reread(bdf_load_font_path(path.toLocal8Bit().constData()));
    ASSERT_TRUE(reread);
    const bdf_glyph *saved = Encoded(reread.get(), 'A');
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(std::tie(saved->bbx.x_offset, saved->bbx.ascent), std::tie(font->bbx.x_offset, font->bbx.ascent));
    EXPECT_EQ(saved->bitmap[0] & 0x80, 0x80); // the new pixel, at the box's left edge in its top row
}

} // namespace
