#ifndef GLYPHWERK_TESTS_EDITOR_EDITOR_WINDOW_H
#define GLYPHWERK_TESTS_EDITOR_EDITOR_WINDOW_H

// The editor window on one glyph, shown and active, driven by Qt events on grid cells and controls found by id.

#include "canvas_frame.h"
#include "dialog_builder.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "glyph_fixture.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

struct Editor {
    // A glyph of `rows` at (x, y) that the editor owns, or one of a font read by the library.
    explicit Editor(const Picture &rows, const bdf_bbx &fontBox = Box(8, 8, 0, -2), int x = 1, int y = 0)
        : owned(MakeGlyph(rows, x, y, 1, "A")) {
        Open(owned.get(), fontBox);
    }
    Editor(bdf_glyph *fontGlyph, const bdf_bbx &fontBox, int bpp) { Open(fontGlyph, fontBox, bpp); }
    void Open(bdf_glyph *target, const bdf_bbx &fontBox, int bpp = 1) {
        EXPECT_TRUE(dialog.SetGlyph(glyph = target, fontBox, bpp));
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    template <typename T = QWidget> T *Control(int id) { return res::controlById<T>(&dialog, id); }
    CCanvasFrame *Frame() { return Control<CCanvasFrame>(res::IDC_CANVAS); }
    QPoint CellPoint(int k, int r) {
        const int pitch = dialog.Canvas().Pitch();
        return dialog.GetViewRect().topLeft() + QPoint(k * pitch + 1 + pitch / 2 - dialog.Canvas().ScrollX(),
                                                       r * pitch + 1 + pitch / 2 - dialog.Canvas().ScrollY());
    }
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
        QMouseEvent event(type, QPointF(at), Frame()->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &event);
    }
    void Drag(int k0, int r0, int k1, int r1, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, button, button, CellPoint(k0, r0));
        Send(QEvent::MouseMove, Qt::NoButton, button, CellPoint(k1, r1));
        Send(QEvent::MouseButtonRelease, button, Qt::NoButton, CellPoint(k1, r1));
    }
    void Click(int k, int r, Qt::MouseButton button = Qt::LeftButton) { Drag(k, r, k, r, button); }
    void ClickButton(int id) { QTest::mouseClick(Control<QAbstractButton>(id), Qt::LeftButton); }
    // A text typed over the whole text of control `id`.
    void Type(int id, const QString &text) {
        Control(id)->setFocus();
        QTest::keyClick(Control(id), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Control(id), text);
    }
    QString Text(int id) { return Control(id)->property("text").toString(); }

    QWidget view;
    GlyphPtr owned;
    bdf_glyph *glyph = nullptr;
    CGlyphEditDlg dialog{&view};
    QSignalSpy changed{&dialog, &CGlyphEditDlg::glyphChanged};
};

#endif
