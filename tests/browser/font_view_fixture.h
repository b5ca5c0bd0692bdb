#ifndef GLYPHWERK_TESTS_BROWSER_FONT_VIEW_FIXTURE_H
#define GLYPHWERK_TESTS_BROWSER_FONT_VIEW_FIXTURE_H

// A shown 1000 x 700 font view over a stand-in document, and a hand-built font
// of 16 x 16 cells: A (65), ydieresis (255), then encodings 300 to 6299.

#include "dialog_builder.h"
#include "font_form_template.h"
#include "glyph_table_area.h"
#include "glyphwerk_view.h"
#include "keyless_scroll_bar.h"
#include "scripted_prompts.h"
#include "test_font.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

struct FakeDocument : CFontDocument {
    bdf_font *font = nullptr;
    QString path;
    bool modified = false;
    bdf_font *Font() const override { return font; }
    bool FontLoaded() const override { return font != nullptr; }
    QString PathName() const override { return path; }
    void SetModifiedFlag(bool value) override { modified = value; }
};

struct FontView : ::testing::Test {
    TestFont font{16, 16, -2};
    FakeDocument document;
    CGlyphwerkView view{&document};
    ScriptedPrompts prompts;

    void SetUp() override {
        font.setName("-Misc-Fixed-Medium-R-Normal--16-120-100-100-C-80-ISO10646-1");
        font.get()->point_size = 12;
        font.add(65, TestFont::box(8, 10, 0, 0), std::vector<unsigned char>(10, 0xFF), "A");
        font.add(255, TestFont::box(5, 3, -1, -2), {0x80, 0x40, 0x20}, "ydieresis");
        font.addMany(6000, 300);
        view.resize(1000, 700);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // The document opens the font: the view's update and initial update.
    void open() {
        document.font = font.get();
        document.path = "/fonts/test.bdf";
        view.OnUpdate(font.get());
        view.OnInitialUpdate();
        QApplication::processEvents();
        view.repaint();
    }

    QString label(int id) const { return res::controlById<QLabel>(&view, id)->text(); }
    QString glyphPanel() const { return label(res::IDC_GLYPH_INFO); }

    // The view point at the centre of cell `index` of the visible page.
    QPoint cellPoint(int index) const {
        const CGlyphTable &table = view.GlyphTable();
        const int p = index - table.FirstRow() * table.Columns();
        const QPoint client((p % table.Columns()) * 17 + 8, (p / table.Columns()) * 17 + 8);
        return client + view.TableArea()->geometry().topLeft() + view.TableArea()->contentsRect().topLeft();
    }
};

#endif
