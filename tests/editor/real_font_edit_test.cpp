// The editor on fonts read by the library and written back: a real X11 font
// edited and saved is still accepted by bdftopcf, an untouched glyph saves
// byte for byte as before, and a 2-bit font keeps the levels it had.

#include "editor_window.h"
#include "font_ptr.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The library, set up for one test, with the fonts it read.
struct Library {
    Library() { bdf_setup(); }
    ~Library() { bdf_cleanup(); }
    FontPtr Load(const QString &path) { return FontPtr(bdf_load_font_path(path.toLocal8Bit().constData())); }
    static bool Save(const QString &path, bdf_font *font) {
        return bdf_save_font_path(path.toLocal8Bit().constData(), font) == 1;
    }
    static bdf_glyph *Encoded(bdf_font *font, int encoding) {
        for (uint32_t i = 0; i < font->glyphs_used; ++i)
            if (font->glyphs[i].encoding == encoding)
                return &font->glyphs[i];
        return nullptr;
    }
};

QByteArray Contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(RealFontEdit, AnEditedX11FontIsStillReadByBdftopcf) {
    const QString source = QStringLiteral(GLYPHWERK_CORPUS_DIR "/misc-9x15.bdf");
    if (!QFile::exists(source))
        GTEST_SKIP() << "no corpus font at " << source.toStdString() << " (run scripts/corpus)";
    Library library;
    QTemporaryDir dir;
    auto font = library.Load(source);
    ASSERT_TRUE(font);
    const QString before = dir.filePath("before.bdf"), after = dir.filePath("after.bdf");
    ASSERT_TRUE(Library::Save(before, font.get()));

    bdf_glyph *glyph = Library::Encoded(font.get(), 'A');
    ASSERT_NE(glyph, nullptr);
    Editor e(glyph, font->bbx, font->bpp);
    ASSERT_TRUE(e.ready);
    EXPECT_FALSE(e.dialog.OnOK());
    ASSERT_TRUE(Library::Save(after, font.get()));
    EXPECT_EQ(Contents(after), Contents(before)); // opening and OK change nothing

    e.ClickButton(res::IDC_PENCIL);
    e.Click(0, 0); // the font box's top-left pixel, outside A's ink
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.changed.count(), 1);
    ASSERT_TRUE(Library::Save(after, font.get()));
    EXPECT_NE(Contents(after), Contents(before));

    const QString pcf = dir.filePath("after.pcf"), errors = dir.filePath("errors.txt");
    const QString command = QStringLiteral("bdftopcf -o '%1' '%2' 2>'%3'").arg(pcf, after, errors);
    EXPECT_EQ(std::system(command.toLocal8Bit().constData()), 0);
    EXPECT_EQ(Contents(errors), QByteArray());

    auto reread = library.Load(after);
    ASSERT_TRUE(reread);
    const bdf_glyph *saved = Library::Encoded(reread.get(), 'A');
    ASSERT_NE(saved, nullptr);
    // The new pixel sits at the font box's left edge, in its top row.
    EXPECT_EQ(saved->bbx.x_offset, font->bbx.x_offset);
    EXPECT_EQ(saved->bbx.ascent, font->bbx.ascent);
    EXPECT_EQ(saved->bitmap[0] & 0x80, 0x80);
}

TEST(RealFontEdit, TwoBitFontsSaveWithTheirLevelsKept) {
    Library library;
    QTemporaryDir dir;
    const QString path = dir.filePath("grey.bdf"), saved = dir.filePath("saved.bdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("STARTFONT 2.1\nFONT grey\nSIZE 8 75 75 2\nFONTBOUNDINGBOX 4 2 0 0\n"
               "STARTPROPERTIES 2\nFONT_ASCENT 2\nFONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\n"
               "STARTCHAR g\nENCODING 65\nSWIDTH 500 0\nDWIDTH 4 0\nBBX 4 2 0 0\nBITMAP\n1B\n00\nENDCHAR\nENDFONT\n");
    file.close();
    auto font = library.Load(path);
    ASSERT_TRUE(font);
    ASSERT_EQ(font->bpp, 2);
    bdf_glyph *glyph = Library::Encoded(font.get(), 65);
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(GlyphPicture(*glyph, 2), (Picture{".123", "...."}));

    Editor e(glyph, font->bbx, font->bpp);
    e.ClickButton(res::IDC_PENCIL);
    e.Click(0, 1);
    ASSERT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(glyph->bytes, 2u);
    ASSERT_TRUE(Library::Save(saved, font.get()));
    auto reread = library.Load(saved);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->bpp, 2);
    EXPECT_EQ(GlyphPicture(*Library::Encoded(reread.get(), 65), 2), (Picture{".123", "3..."}));
}

} // namespace
