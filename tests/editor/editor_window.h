#ifndef GLYPHWERK_TESTS_EDITOR_EDITOR_WINDOW_H
#define GLYPHWERK_TESTS_EDITOR_EDITOR_WINDOW_H

// The editor window on one glyph, shown and active, driven by Qt events on
// grid cells and controls found by id.

#include "canvas_frame.h"
#include "dialog_builder.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "glyph_fixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

struct Editor {
    // A glyph of `rows` at (x, y) that the editor owns.
    explicit Editor(const Picture &rows, const bdf_bbx &fontBox = Box(8, 8, 0, -2), int x = 1, int y = 0,
                    const char *name = "A", int bpp = 1)
        : owned(MakeGlyph(rows, x, y, bpp, name)) {
        Open(owned.get(), fontBox, bpp);
    }
    // A glyph of a font read by the library.
    Editor(bdf_glyph *fontGlyph, const bdf_bbx &fontBox, int bpp) { Open(fontGlyph, fontBox, bpp); }

    void Open(bdf_glyph *target, const bdf_bbx &fontBox, int bpp) {
        glyph = target;
        view.resize(100, 100);
        view.show();
        ready = dialog.SetGlyph(glyph, fontBox, bpp);
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    template <typename T = QWidget> T *Control(int id) { return res::controlById<T>(&dialog, id); }
    CCanvasFrame *Frame() { return Control<CCanvasFrame>(res::IDC_CANVAS); }
    // The frame pixel at the centre of cell (k, r), as scrolled now.
    QPoint CellPoint(int k, int r) {
        const int pitch = dialog.Canvas().Pitch();
        return dialog.GetViewRect().topLeft() + QPoint(k * pitch + 1 + pitch / 2 - dialog.Canvas().ScrollX(),
                                                       r * pitch + 1 + pitch / 2 - dialog.Canvas().ScrollY());
    }
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint at) {
        QMouseEvent event(type, QPointF(at), Frame()->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &event);
    }
    void Press(int k, int r, Qt::MouseButton button = Qt::LeftButton) {
        held |= button;
        Send(QEvent::MouseButtonPress, button, held, CellPoint(k, r));
    }
    void Release(int k, int r, Qt::MouseButton button = Qt::LeftButton) {
        held &= ~Qt::MouseButtons(button);
        Send(QEvent::MouseButtonRelease, button, held, CellPoint(k, r));
    }
    void MoveTo(int k, int r) { Send(QEvent::MouseMove, Qt::NoButton, held, CellPoint(k, r)); }
    void Click(int k, int r, Qt::MouseButton button = Qt::LeftButton) {
        Press(k, r, button);
        Release(k, r, button);
    }
    void Drag(int k0, int r0, int k1, int r1) {
        Press(k0, r0);
        MoveTo(k1, r1);
        Release(k1, r1);
    }
    void ClickButton(int id) { QTest::mouseClick(Control<QAbstractButton>(id), Qt::LeftButton); }
    // A key typed while the focus is in control `id`.
    void KeyIn(int id, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Control(id)->setFocus();
        QTest::keyClick(Control(id), key, modifiers);
    }
    QString Text(int id) {
        if (auto *edit = Control<QLineEdit>(id))
            return edit->text();
        return Control<QLabel>(id)->text();
    }
    void Type(int id, const QString &text) {
        auto *edit = Control<QLineEdit>(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    QRgb ShownAt(QPoint framePoint) { return Frame()->grab().toImage().pixel(framePoint); }

    QWidget view;
    GlyphPtr owned;
    bdf_glyph *glyph = nullptr;
    CGlyphEditDlg dialog{&view};
    QSignalSpy changed{&dialog, &CGlyphEditDlg::glyphChanged};
    bool ready = false;
    Qt::MouseButtons held;
};

#endif
