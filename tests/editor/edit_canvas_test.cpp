#include "cell_colours.h"
#include "edit_canvas.h"
#include "glyph_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace cell_colours;

// The editor core on one glyph, driven by cells as the dialog forwards them.
struct Session {
    Session(const Picture &rows, const bdf_bbx &fontBox, int x = 0, int y = 0, int bpp = 1)
        : glyph(MakeGlyph(rows, x, y, bpp)) {
        canvas.SetViewSize(300, 200);
        EXPECT_EQ(canvas.SetUp(glyph.get(), fontBox, bpp), CEditCanvas::SETUP_READY);
    }
    void Mouse(int event, int k, int r) {
        const Cell cell{k, r};
        canvas.OnCanvasMouse(event, &cell);
    }
    void Click(int k, int r, bool right = false) {
        Mouse(right ? MOUSE_RIGHT_DOWN : MOUSE_LEFT_DOWN, k, r);
        Mouse(right ? MOUSE_RIGHT_UP : MOUSE_LEFT_UP, k, r);
    }
    void Drag(Cell from, Cell to) {
        Mouse(MOUSE_LEFT_DOWN, from.k, from.r);
        Mouse(MOUSE_MOVE, to.k, to.r);
        Mouse(MOUSE_LEFT_UP, to.k, to.r);
    }
    Picture Current() {
        return PictureOf(canvas.History().CurrentBitmap(), canvas.GridBox().width, canvas.GridBox().height,
                         canvas.Bpp());
    }
    int Entries() { return HistoryEntries(canvas.History()); }
    // The colour the user sees inside cell (k, r), unscrolled.
    QRgb Shown(int k, int r) const {
        const int pitch = canvas.Pitch();
        return canvas.ComposeContent().pixel(k * pitch + 1 + pitch / 2, r * pitch + 1 + pitch / 2);
    }
    GlyphPtr glyph;
    CEditCanvas canvas;
};

const bdf_bbx kBox8 = Box(8, 8, 0, 0);

TEST(EditCanvasTools, APencilClickSetsOneCellAndRecordsOneEntryAndTheRightButtonClears) {
    Session s({}, kBox8);
    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Click(2, 3);
    EXPECT_EQ(s.Entries(), 2);
    Picture expected(8, "........");
    expected[3][2] = '#';
    EXPECT_EQ(s.Current(), expected);
    s.Click(2, 3, true);
    EXPECT_EQ(s.Entries(), 3);
    EXPECT_EQ(s.Current(), Picture(8, "........"));
    // A stroke over many cells is one entry; fast moves leave gaps (nothing is interpolated).
    s.Mouse(MOUSE_LEFT_DOWN, 0, 0);
    s.Mouse(MOUSE_MOVE, 1, 0);
    s.Mouse(MOUSE_MOVE, 5, 0);
    s.Mouse(MOUSE_LEFT_UP, 5, 0);
    EXPECT_EQ(s.Entries(), 4);
    EXPECT_EQ(s.Current()[0], "##...#..");
    // Moving without a button held paints nothing and records nothing.
    s.Mouse(MOUSE_MOVE, 7, 7);
    s.Mouse(MOUSE_LEFT_UP, 7, 7);
    EXPECT_EQ(s.Entries(), 4);
    // Holding both buttons paints nothing; the right press itself clears the cell under it.
    s.Mouse(MOUSE_LEFT_DOWN, 0, 0);
    s.Mouse(MOUSE_RIGHT_DOWN, 0, 0);
    s.Mouse(MOUSE_MOVE, 4, 4);
    s.Mouse(MOUSE_MOVE, 5, 5);
    s.Mouse(MOUSE_RIGHT_UP, 5, 5);
    s.Mouse(MOUSE_LEFT_UP, 5, 5);
    EXPECT_EQ(s.Current(), (Picture{".#...#..", "........", "........", "........", "........", "........",
                                    "........", "........"}));
}

TEST(EditCanvasTools, TheEraserClearsAThreeByThreeBlockPushedInsideAtTheEdges) {
    const Picture full(8, "########");
    Session s(full, kBox8);
    s.canvas.SelectTool(TOOL_ERASER, true);
    s.Click(0, 0);
    EXPECT_EQ(s.Current(),
              (Picture{"...#####", "...#####", "...#####", "########", "########", "########", "########",
                       "########"}));
    s.Click(7, 7);
    EXPECT_EQ(s.Current()[5], "#####...");
    EXPECT_EQ(s.Current()[7], "#####...");
    EXPECT_EQ(s.Current()[4], "########");
    s.Click(4, 4, true); // the right button does nothing with the eraser
    EXPECT_EQ(s.Entries(), 3);
    // The cursor shows the block under the pointer: white cells in a black square.
    s.Mouse(MOUSE_MOVE, 4, 4);
    s.canvas.Present();
    const int pitch = s.canvas.Pitch();
    const QImage &view = s.canvas.BackBuffer();
    EXPECT_EQ(view.pixel(3 * pitch, 3 * pitch + 5), kBlack);      // left edge of the square
    EXPECT_EQ(view.pixel(3 * pitch + 5, 3 * pitch + 5), kWhite);  // an erased-looking cell
    EXPECT_EQ(view.pixel(7 * pitch + 5, 5), kBlack);              // an ink cell outside it
    s.canvas.OnCanvasMouse(MOUSE_MOVE, nullptr);                  // leaving the grid hides it
    EXPECT_EQ(s.canvas.Eraser().visible, 0);
}

TEST(EditCanvasTools, ARubberBandLiftsTheBlockAndDroppingItRecordsTheMove) {
    Session s({"##......", "##......"}, Box(8, 4, 0, 0), 0, 2);
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Drag({0, 0}, {1, 1});
    ASSERT_TRUE(s.canvas.Selection().lifted);
    EXPECT_EQ(s.Entries(), 1);
    // The source rectangle shows white on the canvas, the image with a red dotted border above it.
    const int pitch = s.canvas.Pitch();
    EXPECT_EQ(s.canvas.Canvas().pixel(1 + pitch / 2, 1 + pitch / 2), kWhite);
    EXPECT_EQ(s.Shown(0, 0), kBlack);
    EXPECT_EQ(s.canvas.ComposeContent().pixel(0, 0), kSelectionFrame);
    EXPECT_EQ(s.canvas.ComposeContent().pixel(1, 0), kGridLine); // dotted: every other pixel

    // Dragged one cell right and down; recorded at the release, still lifted.
    s.Drag({1, 1}, {2, 2});
    EXPECT_EQ(s.Entries(), 2);
    EXPECT_EQ(s.Current(), (Picture{"........", ".##.....", ".##.....", "........"}));
    // A press outside drops it; a drag from there starts a new rubber band at once.
    s.Mouse(MOUSE_LEFT_DOWN, 6, 0);
    EXPECT_FALSE(s.canvas.Selection().active);
    s.Mouse(MOUSE_MOVE, 7, 1);
    EXPECT_TRUE(s.canvas.Selection().active);
    EXPECT_FALSE(s.canvas.Selection().lifted);
    EXPECT_EQ(s.canvas.Selection().current, (CellRect{6, 0, 8, 2}));
    s.Mouse(MOUSE_LEFT_UP, 7, 1);
    EXPECT_TRUE(s.canvas.Selection().lifted);
}

TEST(EditCanvasTools, DirectionsMoveOnlyASelectionOrShiftTheWholeGlyph) {
    Session s({"#......#", "#......#"}, Box(8, 4, 0, 0), 0, 1);
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Drag({0, 1}, {1, 2});
    s.canvas.ShiftOrMove(SHIFT_UP);
    EXPECT_EQ(s.canvas.Selection().current, (CellRect{0, 0, 2, 2}));
    EXPECT_EQ(s.Entries(), 1); // recorded only when dropped
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Entries(), 2);
    EXPECT_EQ(s.Current(), (Picture{"#.......", "#......#", ".......#", "........"}));

    s.canvas.ShiftOrMove(SHIFT_DOWN); // no selection: the whole glyph, recorded at once
    EXPECT_EQ(s.Entries(), 3);
    EXPECT_EQ(s.Current(), (Picture{"........", "#.......", "#......#", ".......#"}));
    EXPECT_TRUE(s.canvas.Undo());
    EXPECT_EQ(s.Current(), (Picture{"#.......", "#......#", ".......#", "........"}));
    EXPECT_TRUE(s.canvas.Undo());
    EXPECT_EQ(s.Current(), (Picture{"........", "#......#", "#......#", "........"}));
    EXPECT_TRUE(s.canvas.Redo());
    EXPECT_TRUE(s.canvas.Redo());
    EXPECT_FALSE(s.canvas.Redo());
    EXPECT_EQ(s.Current()[3], ".......#");
}

TEST(EditCanvasTools, ASelectionDroppedPastTheEdgeLosesOnlyWhatLiesOutside) {
    Session s({"###.....", "###....."}, Box(8, 2, 0, 0), 0, 0);
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Drag({0, 0}, {2, 1});
    s.Drag({1, 0}, {7, 0}); // three columns wide, now from column 6: one column hangs over
    EXPECT_EQ(s.canvas.Selection().current, (CellRect{6, 0, 9, 2}));
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Current(), (Picture{"......##", "......##"}));
    // A selection may hang over the edge but never leave the grid entirely.
    s.Drag({6, 0}, {7, 1});
    for (int i = 0; i < 5; ++i)
        s.canvas.ShiftOrMove(SHIFT_RIGHT);
    EXPECT_EQ(s.canvas.Selection().current.left, 8);
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Current(), Picture(2, "........"));
}

TEST(EditCanvasTools, ClickingTheChosenToolAgainLeavesNoToolAndTheEraserCursorGoesWithIt) {
    Session s(Picture(8, "########"), kBox8);
    s.canvas.SelectTool(TOOL_ERASER, true);
    s.Mouse(MOUSE_MOVE, 4, 4);
    EXPECT_EQ(s.canvas.Eraser().visible, 1);
    // Switching to the selection hides the cursor, so dropping a selection cannot read it back as cleared cells.
    s.canvas.SelectTool(TOOL_SELECT, true);
    EXPECT_EQ(s.canvas.Eraser().visible, 0);
    s.Drag({0, 0}, {1, 1});
    s.canvas.ShiftOrMove(SHIFT_RIGHT);
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Current()[4], "########");
    s.canvas.SelectTool(TOOL_SELECT, false);
    EXPECT_EQ(s.canvas.CurrentTool(), TOOL_NONE);
    s.Click(3, 3);
    EXPECT_EQ(s.Current()[3], "########");
}

TEST(EditCanvasDrawing, GridAxesAdvanceBoxAndCellsAtTwoZoomLevels) {
    // Font box 6 x 5 with x_offset -1 and ascent 4: origin column 1, baseline row 4.
    Session s({"##", "#."}, Box(6, 5, -1, -1), 0, 0);
    s.glyph->dwidth = 3;
    s.canvas.Rebuild();
    for (int zoom : {10, 4}) {
        while (s.canvas.Zoom() > zoom)
            s.canvas.ZoomOut();
        const int pitch = zoom + 1;
        const QImage &image = s.canvas.Canvas();
        ASSERT_EQ(image.width(), 6 * pitch + 1);
        ASSERT_EQ(image.height(), 5 * pitch + 1);
        EXPECT_EQ(image.pixel(0, 1), kGridLine);
        EXPECT_EQ(image.pixel(6 * pitch, 5 * pitch - 1), kGridLine);
        EXPECT_EQ(image.pixel(pitch, 2), kAxes);              // origin line
        EXPECT_EQ(image.pixel(3, 4 * pitch), kAxes);          // baseline
        EXPECT_EQ(image.pixel(4 * pitch, 4 * pitch + 2), kAdvanceBox); // right side of the advance box, dotted
        EXPECT_EQ(image.pixel(4 * pitch, 4 * pitch + 1), kGridLine);
        // Glyph rows 0..1 sit at grid rows 2..3, columns 1..2.
        EXPECT_EQ(image.pixel(1 * pitch + 1, 2 * pitch + 1), kBlack);
        EXPECT_EQ(image.pixel(2 * pitch + zoom, 2 * pitch + zoom), kBlack);
        EXPECT_EQ(image.pixel(2 * pitch + 1, 3 * pitch + 1), kWhite);
        EXPECT_EQ(image.pixel(1 * pitch + 1, 3 * pitch + 1), kBlack);
        EXPECT_EQ(image.pixel(0 + 1, 0 + 1), kWhite);
    }
    s.glyph->dwidth = 0;
    s.canvas.Rebuild();
    const int pitch = s.canvas.Pitch();
    EXPECT_EQ(s.canvas.Canvas().pixel(4 * pitch, 4 * pitch + 2), kGridLine); // no advance box
}

TEST(EditCanvasGeometry, CellsAndTheScrolledView) {
    Session s({}, Box(16, 16, 0, 0));
    Cell cell;
    ASSERT_TRUE(s.canvas.CellAtContent(0, 0, &cell));
    EXPECT_EQ(cell, (Cell{0, 0}));
    ASSERT_TRUE(s.canvas.CellAtContent(11, 21, &cell)); // on grid lines: the cell right and below
    EXPECT_EQ(cell, (Cell{1, 1}));
    EXPECT_FALSE(s.canvas.CellAtContent(16 * 11, 5, &cell)); // the rightmost grid line
    EXPECT_FALSE(s.canvas.CellAtContent(-1, 5, &cell));
    EXPECT_EQ(s.canvas.ContentWidth(), 177);

    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Click(15, 15);
    s.canvas.SetViewSize(50, 40);
    s.canvas.SetScroll(177 - 50, 177 - 40);
    s.canvas.Present();
    EXPECT_EQ(s.canvas.BackBuffer().size(), QSize(50, 40));
    EXPECT_EQ(s.canvas.BackBuffer().pixel(49 - 5, 39 - 5), kBlack);
    EXPECT_EQ(s.canvas.BackBuffer().pixel(49, 38), kGridLine); // the corner pixel itself: lines exclude their end
    s.canvas.Rebuild(); // every rebuild shows the top-left corner again
    EXPECT_EQ(s.canvas.ScrollX(), 0);
    EXPECT_EQ(s.canvas.ScrollY(), 0);
}

TEST(EditCanvasLimits, LargeBoxesAndSelectionsLoseNoPixels) {
    // 120 cells at zoom 20 need 2521 pixels: more than a fixed 2048 raster, less than the limit.
    Picture rows(120, std::string(120, '.'));
    rows[119][119] = '#';
    rows[0][0] = '#';
    Session s(rows, Box(120, 120, 0, 0));
    while (s.canvas.ZoomIn()) {
    }
    EXPECT_EQ(s.canvas.Zoom(), 20);
    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Click(60, 60);
    Picture expected = rows;
    expected[60][60] = '#';
    EXPECT_EQ(s.Current(), expected);

    // A 40 x 40 selection at zoom 20 is 841 pixels: larger than a fixed 400 image. Moved and dropped whole.
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Drag({80, 80}, {119, 119});
    s.canvas.ShiftOrMove(SHIFT_LEFT_UP);
    s.canvas.CommitSelection();
    expected[119][119] = '.';
    expected[118][118] = '#';
    EXPECT_EQ(s.Current(), expected);

    // A box too large for the zoom limit lowers it rather than clipping the canvas.
    Session big({}, Box(400, 300, 0, 0));
    EXPECT_EQ(big.canvas.MaxZoom(), 8);
    EXPECT_EQ(big.canvas.Zoom(), 8);
    EXPECT_FALSE(big.canvas.ZoomIn());
    EXPECT_EQ(big.canvas.Canvas().width(), 400 * 9 + 1);
}

TEST(EditCanvasLimits, GlyphsTooLargeOrOfUnknownDepthAreRefused) {
    CEditCanvas canvas;
    auto glyph = MakeGlyph({"#"}, 0, 0);
    EXPECT_EQ(canvas.SetUp(nullptr, kBox8, 1), CEditCanvas::SETUP_NO_GLYPH);
    EXPECT_EQ(canvas.SetUp(glyph.get(), kBox8, 3), CEditCanvas::SETUP_BAD_DEPTH);
    ASSERT_EQ(canvas.SetUp(glyph.get(), kBox8, 1), CEditCanvas::SETUP_READY);
    EXPECT_EQ(canvas.SetUp(glyph.get(), Box(6000, 10, 0, 0), 1), CEditCanvas::SETUP_TOO_LARGE);
    EXPECT_FALSE(canvas.Ready());
    EXPECT_EQ(canvas.Glyph(), nullptr); // a refused glyph leaves nothing of the one before
    EXPECT_EQ(canvas.History().CurrentBitmap(), nullptr);
    ASSERT_EQ(canvas.SetUp(glyph.get(), kBox8, 1), CEditCanvas::SETUP_READY);
    canvas.Detach();
    EXPECT_FALSE(canvas.Ready());
    EXPECT_EQ(canvas.Glyph(), nullptr);
    EXPECT_EQ(canvas.History().CurrentBitmap(), nullptr);
}

TEST(EditCanvasDepth, DeeperFontsAreEditedAtTheirDepthAndUntouchedPixelsKeepTheirLevels) {
    Session s({"1234", "5678", "9abc", "def."}, Box(4, 4, 0, 0), 0, 0, 4);
    EXPECT_EQ(s.Shown(1, 0), LevelColour(2, 4));
    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Click(3, 3);
    s.Click(0, 0, true);
    EXPECT_EQ(s.Current(), (Picture{".234", "5678", "9abc", "deff"}));
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Drag({1, 1}, {2, 2});
    s.canvas.ShiftOrMove(SHIFT_UP);
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Current(), (Picture{".674", "5ab8", "9..c", "deff"}));
    s.canvas.SelectTool(TOOL_ERASER, true);
    s.Click(3, 3);
    EXPECT_EQ(s.Current(), (Picture{".674", "5...", "9...", "d..."}));
}

} // namespace
