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
    // Row r as the user sees it: '#' black, '.' white, '?' anything else.
    std::string ShownRow(int r) const {
        std::string row;
        for (int k = 0; k < canvas.GridBox().width; ++k)
            row += Shown(k, r) == kBlack ? '#' : Shown(k, r) == kWhite ? '.' : '?';
        return row;
    }
    GlyphPtr glyph;
    CEditCanvas canvas;
};

const bdf_bbx kBox8 = Box(8, 8, 0, 0);

TEST(EditCanvasTools, APencilStrokeIsOneEntryTheRightButtonClearsAndBothButtonsPaintNothing) {
    Session s({}, kBox8);
    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Click(2, 3);
    s.Click(3, 3);
    s.Click(2, 3, true);
    EXPECT_EQ(s.Entries(), 4);
    EXPECT_EQ(s.Current()[3], "...#....");
    // Fast moves leave gaps (nothing is interpolated); moves without a button paint and record nothing.
    s.Mouse(MOUSE_LEFT_DOWN, 0, 0);
    s.Mouse(MOUSE_MOVE, 1, 0);
    s.Mouse(MOUSE_MOVE, 5, 0);
    s.Mouse(MOUSE_LEFT_UP, 5, 0);
    s.Mouse(MOUSE_MOVE, 7, 7);
    s.Mouse(MOUSE_LEFT_UP, 7, 7);
    EXPECT_EQ(s.Entries(), 5);
    // Holding both buttons paints nothing; the right press itself clears the cell under it.
    s.Mouse(MOUSE_LEFT_DOWN, 0, 0);
    s.Mouse(MOUSE_RIGHT_DOWN, 0, 0);
    s.Mouse(MOUSE_MOVE, 4, 4);
    s.Mouse(MOUSE_MOVE, 5, 5);
    s.Mouse(MOUSE_RIGHT_UP, 5, 5);
    s.Mouse(MOUSE_LEFT_UP, 5, 5);
    Picture expected(8, "........");
    expected[0] = ".#...#..";
    expected[3] = "...#....";
    EXPECT_EQ(s.Current(), expected);
}

TEST(EditCanvasTools, TheEraserClearsAThreeByThreeBlockInsideTheEdgesAndItsCursorGoesWithTheTool) {
    Session s(Picture(8, "########"), kBox8);
    s.canvas.SelectTool(TOOL_ERASER, true);
    s.Click(0, 0);
    s.Click(7, 7);
    s.Click(4, 4, true); // the right button does nothing with the eraser
    EXPECT_EQ(s.Entries(), 3);
    EXPECT_EQ(s.Current(), (Picture{"...#####", "...#####", "...#####", "########", "########", "#####...",
                                    "#####...", "#####..."}));
    // The cursor shows the block under the pointer: white cells in a black square.
    s.Mouse(MOUSE_MOVE, 4, 4);
    s.canvas.Present();
    const int pitch = s.canvas.Pitch();
    EXPECT_EQ(s.canvas.BackBuffer().pixel(3 * pitch, 3 * pitch + 5), kBlack);
    EXPECT_EQ(s.canvas.BackBuffer().pixel(3 * pitch + 5, 3 * pitch + 5), kWhite);
    EXPECT_EQ(s.canvas.BackBuffer().pixel(7 * pitch + 5, 5), kBlack);
    s.canvas.OnCanvasMouse(MOUSE_MOVE, nullptr); // leaving the grid hides it
    EXPECT_EQ(s.canvas.Eraser().visible, 0);
    // Switching to the selection hides it too, so a dropped selection cannot read it back as cleared cells.
    s.Mouse(MOUSE_MOVE, 4, 4);
    s.canvas.SelectTool(TOOL_SELECT, true);
    EXPECT_EQ(s.canvas.Eraser().visible, 0);
    s.Drag({0, 0}, {1, 1});
    s.canvas.ShiftOrMove(SHIFT_RIGHT);
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Current()[4], "########");
    s.canvas.SelectTool(TOOL_SELECT, false); // the chosen tool clicked again: no tool
    s.Click(3, 3);
    EXPECT_EQ(s.Entries(), 4);
}

TEST(EditCanvasTools, ALiftedSelectionShowsAndDropsExactlyTheCellsInsideTheGridWhereverItMoves) {
    Session s({"###.....", "###....."}, Box(8, 2, 0, 0));
    s.canvas.SelectTool(TOOL_SELECT, true);
    // Blocks of new sizes: the same width and taller, then the same height and wider.
    for (Cell corner : {Cell{1, 0}, Cell{1, 1}, Cell{2, 1}}) {
        s.canvas.MakeSelection({0, 0}, corner, true);
        EXPECT_EQ(s.ShownRow(0) + s.ShownRow(1), "###.....###.....") << corner.k << corner.r;
        s.canvas.CommitSelection();
    }
    s.Drag({0, 0}, {2, 1});
    ASSERT_TRUE(s.canvas.Selection().lifted);
    EXPECT_EQ(s.Entries(), 1);
    // The source shows white on the canvas, the image with a red dotted border above it.
    const int pitch = s.canvas.Pitch();
    EXPECT_EQ(s.canvas.Canvas().pixel(1 + pitch / 2, 1 + pitch / 2), kWhite);
    EXPECT_EQ(s.canvas.ComposeContent().pixel(0, 0), kSelectionFrame);
    EXPECT_EQ(s.canvas.ComposeContent().pixel(1, 0), kGridLine); // dotted: every other pixel

    // Over the left edge, back, dragged across and over the right edge: never off the grid entirely.
    const std::pair<std::function<void()>, const char *> moves[] = {
        {[&] { s.canvas.ShiftOrMove(SHIFT_LEFT); }, "##......"},
        {[&] { s.canvas.ShiftOrMove(SHIFT_LEFT); }, "#......."},
        {[&] { s.canvas.ShiftOrMove(SHIFT_RIGHT); }, "##......"},
        {[&] { s.Drag({0, 0}, {6, 0}); }, ".....###"},
        {[&] { s.Drag({5, 0}, {7, 0}); }, ".......#"},
    };
    for (const auto &[move, row] : moves) {
        move();
        EXPECT_EQ(s.ShownRow(0) + s.ShownRow(1), std::string(row) + row);
    }
    EXPECT_EQ(s.canvas.Selection().current, (CellRect{7, 0, 10, 2}));
    s.canvas.Present(); // past the content's edge the view stays white
    EXPECT_EQ(s.canvas.BackBuffer().pixel(8 * pitch + 1, 1 + pitch / 2), kWhite);
    for (int i = 0; i < 3; ++i)
        s.canvas.ShiftOrMove(SHIFT_RIGHT);
    EXPECT_EQ(s.canvas.Selection().current.left, 8);
    s.canvas.ShiftOrMove(SHIFT_LEFT);
    // A press outside drops it where it is shown; a drag from there starts a new rubber band at once.
    s.Mouse(MOUSE_LEFT_DOWN, 0, 0);
    EXPECT_EQ(s.Current(), Picture(2, ".......#"));
    s.Mouse(MOUSE_MOVE, 1, 1);
    EXPECT_FALSE(s.canvas.Selection().lifted);
    EXPECT_EQ(s.canvas.Selection().current, (CellRect{0, 0, 2, 2}));
    s.Mouse(MOUSE_LEFT_UP, 1, 1);
    EXPECT_TRUE(s.canvas.Selection().lifted);
}

TEST(EditCanvasTools, DirectionsMoveOnlyASelectionOrShiftTheWholeGlyphAndUndoWalksBack) {
    Session s({"#......#", "#......#"}, Box(8, 4, 0, 0), 0, 1);
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Drag({0, 1}, {1, 2});
    s.canvas.ShiftOrMove(SHIFT_UP);
    EXPECT_EQ(s.Entries(), 1); // recorded only when dropped
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Entries(), 2);
    EXPECT_EQ(s.Current(), (Picture{"#.......", "#......#", ".......#", "........"}));

    s.canvas.ShiftOrMove(SHIFT_DOWN); // no selection: the whole glyph, recorded at once
    EXPECT_EQ(s.Entries(), 3);
    EXPECT_EQ(s.Current(), (Picture{"........", "#.......", "#......#", ".......#"}));
    EXPECT_TRUE(s.canvas.Undo());
    EXPECT_TRUE(s.canvas.Undo());
    EXPECT_EQ(s.Current(), (Picture{"........", "#......#", "#......#", "........"}));
    EXPECT_TRUE(s.canvas.Redo());
    EXPECT_TRUE(s.canvas.Redo());
    EXPECT_FALSE(s.canvas.Redo());
    EXPECT_EQ(s.Current()[3], ".......#");
}

TEST(EditCanvasDrawing, GridAxesAdvanceBoxAndCellsAtTwoZoomLevelsAndTheCellUnderAPixel) {
    // Font box 6 x 5 with x_offset -1 and ascent 4: origin column 1, baseline row 4.
    Session s({"##", "#."}, Box(6, 5, -1, -1), 0, 0);
    s.glyph->dwidth = 3;
    s.canvas.Rebuild();
    for (int zoom : {10, 4}) {
        while (s.canvas.Zoom() > zoom)
            s.canvas.ZoomOut();
        const int pitch = zoom + 1;
        const QImage &image = s.canvas.Canvas();
        ASSERT_EQ(image.size(), QSize(6 * pitch + 1, 5 * pitch + 1));
        const std::pair<QPoint, QRgb> expected[] = {
            {{0, 1}, kGridLine},         {{6 * pitch, 5 * pitch - 1}, kGridLine},
            {{pitch, 2}, kAxes},         {{3, 4 * pitch}, kAxes}, // origin line, baseline
            {{4 * pitch, 4 * pitch + 2}, kAdvanceBox}, {{4 * pitch, 4 * pitch + 1}, kGridLine}, // dotted
            // Glyph rows 0..1 sit at grid rows 2..3, columns 1..2.
            {{pitch + 1, 2 * pitch + 1}, kBlack}, {{2 * pitch + zoom, 2 * pitch + zoom}, kBlack},
            {{2 * pitch + 1, 3 * pitch + 1}, kWhite}, {{pitch + 1, 3 * pitch + 1}, kBlack}, {{1, 1}, kWhite},
        };
        for (const auto &[point, colour] : expected)
            EXPECT_EQ(image.pixel(point), colour) << zoom << " at " << point.x() << "," << point.y();
    }
    s.glyph->dwidth = 0;
    s.canvas.Rebuild();
    const int pitch = s.canvas.Pitch();
    EXPECT_EQ(s.canvas.Canvas().pixel(4 * pitch, 4 * pitch + 2), kGridLine); // no advance box

    // A pixel on a grid line belongs to the cell right of or below it; the last lines to none.
    Cell cell;
    ASSERT_TRUE(s.canvas.CellAtContent(pitch, 2 * pitch, &cell));
    EXPECT_EQ(cell, (Cell{1, 2}));
    EXPECT_FALSE(s.canvas.CellAtContent(6 * pitch, 5, &cell));
    EXPECT_FALSE(s.canvas.CellAtContent(-1, 5, &cell));
}

TEST(EditCanvasLimits, LargeBoxesAndSelectionsLoseNoPixelsAndScrollToTheirFarCorner) {
    // 120 cells at zoom 20 need 2521 pixels: more than a fixed 2048 raster, less than the limit.
    Picture rows(120, std::string(120, '.'));
    rows[0][0] = rows[119][119] = '#';
    Session s(rows, Box(120, 120, 0, 0));
    while (s.canvas.ZoomIn()) {
    }
    EXPECT_EQ(s.canvas.Zoom(), 20);
    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Click(60, 60);
    // A 40 x 40 selection at zoom 20 is 841 pixels: larger than a fixed 400 image. Moved and dropped whole.
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Drag({80, 80}, {119, 119});
    s.canvas.ShiftOrMove(SHIFT_LEFT_UP);
    s.canvas.CommitSelection();
    rows[119][119] = '.';
    rows[60][60] = rows[118][118] = '#';
    EXPECT_EQ(s.Current(), rows);
    s.canvas.SetViewSize(50, 40);
    s.canvas.SetScroll(s.canvas.ContentWidth() - 50, s.canvas.ContentHeight() - 40);
    s.canvas.Present();
    EXPECT_EQ(s.canvas.BackBuffer().size(), QSize(50, 40));
    EXPECT_EQ(s.canvas.BackBuffer().pixel(49 - 21 - 5, 39 - 21 - 5), kBlack); // cell (118, 118)
    EXPECT_EQ(s.canvas.BackBuffer().pixel(49, 38), kGridLine); // the corner pixel itself: lines exclude their end
    s.canvas.Rebuild(); // every rebuild shows the top-left corner again
    EXPECT_EQ(QPoint(s.canvas.ScrollX(), s.canvas.ScrollY()), QPoint(0, 0));

    // A box too large for the zoom limit lowers it rather than clipping the canvas.
    Session big({}, Box(400, 300, 0, 0));
    EXPECT_EQ(big.canvas.Zoom(), 8);
    EXPECT_FALSE(big.canvas.ZoomIn());
    EXPECT_EQ(big.canvas.Canvas().width(), 400 * 9 + 1);
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
