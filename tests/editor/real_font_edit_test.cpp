// The editor on fonts read by the library and written back: a real X11 font
// edited and saved is still accepted by bdftopcf, an untouched glyph saves
// byte for byte as before, and a 2-bit font keeps the levels it had.

#include "bdf.h"
#include "dialog_builder.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "glyph_fixture.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

struct FontDeleter {
    void operator()(bdf_font *font) const { bdf_free_font(font); }
};
using FontPtr = std::unique_ptr<bdf_font, FontDeleter>;

struct Library {
    Library() { bdf_setup(); }
    ~Library() { bdf_cleanup(); }
};

bdf_glyph *Encoded(bdf_font *font, int encoding) {
    for (uint32_t i = 0; i < font->glyphs_used; ++i)
        if (font->glyphs[i].encoding == encoding)
            return &font->glyphs[i];
    return nullptr;
}

QByteArray Contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A click of the pencil on grid cell (k, r).
void PencilClick(CGlyphEditDlg &dialog, int k, int r) {
    QWidget *frame = res::controlById(&dialog, res::IDC_CANVAS);
    const int pitch = dialog.Canvas().Pitch();
    const QPoint at = dialog.GetViewRect().topLeft() + QPoint(k * pitch + 2, r * pitch + 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), frame->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &event);
    }
}

TEST(RealFontEdit, AnEditedX11FontIsStillReadByBdftopcf) {
    const QString source = QStringLiteral(GLYPHWERK_CORPUS_DIR "/misc-9x15.bdf");
    if (!QFile::exists(source))
        GTEST_SKIP() << "no corpus font at " << source.toStdString() << " (run scripts/corpus)";
    Library library;
    QTemporaryDir dir;
    FontPtr font(bdf_load_font_path(source.toLocal8Bit().constData()));
    ASSERT_TRUE(font);
    const QString before = dir.filePath("before.bdf"), after = dir.filePath("after.bdf");
    ASSERT_EQ(bdf_save_font_path(before.toLocal8Bit().constData(), font.get()), 1);

    bdf_glyph *glyph = Encoded(font.get(), 'A');
    ASSERT_NE(glyph, nullptr);
    QWidget view;
    CGlyphEditDlg dialog(&view);
    QSignalSpy changed(&dialog, &CGlyphEditDlg::glyphChanged);
    ASSERT_TRUE(dialog.SetGlyph(glyph, font->bbx, font->bpp));
    dialog.show();
    EXPECT_FALSE(dialog.OnOK());
    ASSERT_EQ(bdf_save_font_path(after.toLocal8Bit().constData(), font.get()), 1);
    EXPECT_EQ(Contents(after), Contents(before)); // opening and OK change nothing

    res::controlById<QAbstractButton>(&dialog, res::IDC_PENCIL)->click();
    PencilClick(dialog, 0, 0); // the font box's top-left pixel, outside A's ink
    EXPECT_TRUE(dialog.OnOK());
    EXPECT_EQ(changed.count(), 1);
    ASSERT_EQ(bdf_save_font_path(after.toLocal8Bit().constData(), font.get()), 1);
    EXPECT_NE(Contents(after), Contents(before));

    const QString pcf = dir.filePath("after.pcf"), errors = dir.filePath("errors.txt");
    const QString command = QStringLiteral("bdftopcf -o '%1' '%2' 2>'%3'").arg(pcf, after, errors);
    EXPECT_EQ(std::system(command.toLocal8Bit().constData()), 0);
    EXPECT_EQ(Contents(errors), QByteArray());

    FontPtr reread(bdf_load_font_path(after.toLocal8Bit().constData()));
    ASSERT_TRUE(reread);
    const bdf_glyph *saved = Encoded(reread.get(), 'A');
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
    FontPtr font(bdf_load_font_path(path.toLocal8Bit().constData()));
    ASSERT_TRUE(font);
    ASSERT_EQ(font->bpp, 2);
    bdf_glyph *glyph = Encoded(font.get(), 65);
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(GlyphPicture(*glyph, 2), (Picture{".123", "...."}));

    QWidget view;
    CGlyphEditDlg dialog(&view);
    ASSERT_TRUE(dialog.SetGlyph(glyph, font->bbx, font->bpp));
    dialog.show();
    res::controlById<QAbstractButton>(&dialog, res::IDC_PENCIL)->click();
    PencilClick(dialog, 0, 1);
    ASSERT_TRUE(dialog.OnOK());
    ASSERT_EQ(bdf_save_font_path(saved.toLocal8Bit().constData(), font.get()), 1);
    FontPtr reread(bdf_load_font_path(saved.toLocal8Bit().constData()));
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->bpp, 2);
    EXPECT_EQ(GlyphPicture(*Encoded(reread.get(), 65), 2), (Picture{".123", "3..."}));
}

} // namespace
