#include "cell_colours.h"
#include "edit_canvas.h"
#include "glyph_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

using namespace cell_colours;

// The editor core on one glyph, driven by cells as the dialog forwards them.
struct Session {
    Session(const Picture &rows, const bdf_bbx &fontBox, int x = 0, int y = 0, int bpp = 1)
        : glyph(MakeGlyph(rows, x, y, bpp)) {
        canvas.SetViewSize(300, 200);
        EXPECT_EQ(canvas.SetUp(glyph.get(), fontBox, bpp), CEditCanvas::SETUP_READY);
    }
    // Mouse events, each at a cell, as in "L0,0 m1,0 l" (L/l left down/up, R/r right, m move).
    void Mouse(const std::string &script) {
        std::istringstream events(script);
        for (std::string event; events >> event;) {
            const Cell cell{std::atoi(event.c_str() + 1), std::atoi(event.c_str() + event.find(',') + 1)};
            canvas.OnCanvasMouse(int(std::string("LlRrm").find(event[0])), &cell);
        }
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
    // What the user sees: '#' black, '.' white, '?' anything else.
    std::string ShownRows() const {
        std::string rows;
        for (int r = 0; r < canvas.GridBox().height; ++r)
            for (int k = 0; k < canvas.GridBox().width; ++k)
                rows += Shown(k, r) == kBlack ? '#' : Shown(k, r) == kWhite ? '.' : '?';
        return rows;
    }
    GlyphPtr glyph;
    CEditCanvas canvas;
};

TEST(EditCanvasTools, APencilStrokeIsOneEntryTheRightButtonClearsAndBothButtonsPaintNothing) {
    Session s({}, Box(8, 3, 0, 0));
    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Mouse("L2,2 l2,2 L3,2 l3,2 R2,2 r2,2");
    // Fast moves leave gaps (nothing is interpolated); moves without a button paint and record nothing.
    s.Mouse("L0,0 m1,0 m5,0 l5,0 m7,1 l7,1");
    EXPECT_EQ(s.Entries(), 5);
    // Holding both buttons paints nothing; the right press itself clears the cell under it.
    s.Mouse("L0,0 R0,0 m4,1 m5,1 r5,1 l5,1");
    EXPECT_EQ(s.Current(), (Picture{".#...#..", "........", "...#...."}));
}

TEST(EditCanvasTools, TheEraserClearsAThreeByThreeBlockInsideTheEdgesAndItsCursorGoesWithTheTool) {
    Session s(Picture(8, "########"), Box(8, 8, 0, 0));
    s.canvas.SelectTool(TOOL_ERASER, true);
    s.Mouse("L0,0 l0,0 L7,7 l7,7 R4,4 r4,4"); // the right button does nothing with the eraser
    EXPECT_EQ(s.Entries(), 3);
    EXPECT_EQ(s.Current(), (Picture{"...#####", "...#####", "...#####", "########", "########", "#####...",
                                    "#####...", "#####..."}));
    // The cursor shows the block under the pointer: white cells in a black square.
    s.Mouse("m4,4");
    const int pitch = s.canvas.Pitch();
    const QImage &view = s.canvas.BackBuffer();
    EXPECT_EQ(std::tuple(view.pixel(3 * pitch, 3 * pitch + 5), view.pixel(3 * pitch + 5, 3 * pitch + 5),
                         view.pixel(7 * pitch + 5, 5)),
              std::tuple(kBlack, kWhite, kBlack));
    s.canvas.OnCanvasMouse(MOUSE_MOVE, nullptr); // leaving the grid hides it
    EXPECT_EQ(s.canvas.Eraser().visible, 0);
    // So does another tool, so that a dropped selection cannot read it back as cleared cells.
    s.Mouse("m4,4");
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Mouse("L0,0 m1,1 l1,1");
    s.canvas.ShiftOrMove(SHIFT_RIGHT);
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Current()[4], "########");
    s.canvas.SelectTool(TOOL_SELECT, false); // the chosen tool clicked again: no tool
    s.Mouse("L3,3 l3,3");
    EXPECT_EQ(s.Entries(), 4);
}

TEST(EditCanvasTools, ALiftedSelectionShowsAndDropsExactlyTheCellsInsideTheGridWhereverItMoves) {
    Session s({"###.....", "###....."}, Box(8, 2, 0, 0));
    s.canvas.SelectTool(TOOL_SELECT, true);
    // Blocks of new sizes: the same width and taller, then the same height and wider.
    for (Cell corner : {Cell{1, 0}, Cell{1, 1}, Cell{2, 1}}) {
        s.canvas.MakeSelection({0, 0}, corner, true);
        EXPECT_EQ(s.ShownRows(), "###.....###.....") << corner.k << corner.r;
        s.canvas.CommitSelection();
    }
    s.Mouse("L0,0 m2,1 l2,1");
    ASSERT_TRUE(s.canvas.Selection().lifted);
    EXPECT_EQ(s.Entries(), 1);
    // The source shows white on the canvas, the image with a red dotted border above it.
    const int pitch = s.canvas.Pitch();
    EXPECT_EQ(s.canvas.Canvas().pixel(1 + pitch / 2, 1 + pitch / 2), kWhite);
    EXPECT_EQ(std::tuple(s.canvas.ComposeContent().pixel(0, 0), s.canvas.ComposeContent().pixel(1, 0)),
              std::tuple(kSelectionFrame, kGridLine));
    // Over the left edge, back, dragged across, over the right and the bottom edge, never off the grid.
    const std::pair<std::function<void()>, const char *> moves[] = {
        {[&] { s.canvas.ShiftOrMove(SHIFT_LEFT); }, "##......"},
        {[&] { s.canvas.ShiftOrMove(SHIFT_LEFT); }, "#......."},
        {[&] { s.canvas.ShiftOrMove(SHIFT_RIGHT); }, "##......"},
        {[&] { s.Mouse("L0,0 m6,0 l6,0"); }, ".....###"},
        {[&] { s.Mouse("L5,0 m7,0 l7,0"); }, ".......#"},
    };
    for (const auto &[move, row] : moves) {
        move();
        EXPECT_EQ(s.ShownRows(), std::string(row) + row);
    }
    s.canvas.Present(); // past the content's edge the view stays white
    EXPECT_EQ(s.canvas.BackBuffer().pixel(8 * pitch + 1, 1 + pitch / 2), kWhite);
    for (int direction : {SHIFT_RIGHT, SHIFT_RIGHT, SHIFT_DOWN, SHIFT_DOWN, SHIFT_DOWN})
        s.canvas.ShiftOrMove(direction);
    EXPECT_EQ(s.canvas.Selection().current, (CellRect{8, 2, 11, 4}));
    s.canvas.ShiftOrMove(SHIFT_LEFT_UP);
    s.canvas.ShiftOrMove(SHIFT_LEFT_UP);
    // A press outside drops it where it is shown; a drag from there starts a new rubber band at once.
    s.Mouse("L0,0");
    EXPECT_EQ(s.Current(), Picture(2, "......##"));
    s.Mouse("m1,1");
    EXPECT_EQ(std::tuple(s.canvas.Selection().lifted, s.canvas.Selection().current), std::tuple(0, CellRect{0, 0, 2, 2}));
    s.Mouse("l1,1");
    EXPECT_TRUE(s.canvas.Selection().lifted);
}

TEST(EditCanvasDrawing, GridAxesAdvanceBoxAndCellsAtTwoZoomLevelsAndTheCellUnderAPixel) {
    // Font box 6 x 5 with x_offset -1 and ascent 4: origin column 1, baseline row 4.
    Session s({"##", "#."}, Box(6, 5, -1, -1));
    s.glyph->dwidth = 3;
    for (int zoom : {10, 4}) {
        while (s.canvas.Zoom() > zoom)
            s.canvas.ZoomOut();
        const int p = zoom + 1;
        ASSERT_EQ(s.canvas.Canvas().size(), QSize(6 * p + 1, 5 * p + 1));
        const std::pair<QPoint, QRgb> expected[] = {
            {{0, 1}, kGridLine}, {{6 * p, 5 * p - 1}, kGridLine}, {{p, 2}, kAxes}, {{3, 4 * p}, kAxes},
            {{4 * p, 4 * p + 2}, kAdvanceBox}, {{4 * p, 4 * p + 1}, kGridLine}, // dotted
            // Glyph rows 0..1 sit at grid rows 2..3, columns 1..2.
            {{p + 1, 2 * p + 1}, kBlack}, {{2 * p + zoom, 2 * p + zoom}, kBlack}, {{2 * p + 1, 3 * p + 1}, kWhite},
            {{p + 1, 3 * p + 1}, kBlack}, {{1, 1}, kWhite}};
        for (const auto &[point, colour] : expected)
            EXPECT_EQ(s.canvas.Canvas().pixel(point), colour) << zoom << " at " << point.x() << "," << point.y();
    }
    s.glyph->dwidth = 0;
    s.canvas.Rebuild();
    const int p = s.canvas.Pitch();
    EXPECT_EQ(s.canvas.Canvas().pixel(4 * p, 4 * p + 2), kGridLine); // no advance box
    // A pixel on a grid line belongs to the cell right of or below it; the last lines to none.
    Cell cell;
    EXPECT_TRUE(s.canvas.CellAtContent(p, 2 * p, &cell) && cell == (Cell{1, 2}));
    EXPECT_FALSE(s.canvas.CellAtContent(6 * p, 5, &cell) || s.canvas.CellAtContent(-1, 5, &cell));
}

TEST(EditCanvasLimits, LargeBoxesAndSelectionsLoseNoPixelsAndEditsOfTheGridKeepTheScroll) {
    // 120 cells at zoom 20 need 2521 pixels: more than a fixed 2048 raster, less than the limit.
    Picture rows(120, std::string(120, '.'));
    rows[0][0] = rows[119][119] = '#';
    Session s(rows, Box(120, 120, 0, 0));
    while (s.canvas.ZoomIn()) {
    }
    EXPECT_EQ(s.canvas.Zoom(), 20);
    s.canvas.SetScroll(s.canvas.ContentWidth() - 300, s.canvas.ContentHeight() - 200);
    const QPoint far(s.canvas.ScrollX(), s.canvas.ScrollY());
    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Mouse("L60,60 l60,60");
    // A 40 x 40 selection at zoom 20 is 841 pixels: larger than a fixed 400 image. Moved and dropped whole.
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Mouse("L80,80 m119,119 l119,119");
    s.canvas.ShiftOrMove(SHIFT_LEFT_UP);
    s.canvas.CommitSelection();
    s.canvas.Undo();
    s.canvas.Redo();
    rows[119][119] = '.';
    rows[60][60] = rows[118][118] = '#';
    EXPECT_EQ(s.Current(), rows);
    EXPECT_EQ(QPoint(s.canvas.ScrollX(), s.canvas.ScrollY()), far);
    s.canvas.Present();
    EXPECT_EQ(s.canvas.BackBuffer().pixel(299 - 21 - 5, 199 - 21 - 5), kBlack); // cell (118, 118)
    EXPECT_EQ(s.canvas.BackBuffer().pixel(299, 198), kGridLine); // the corner pixel itself: lines exclude their end
    s.canvas.Rebuild(); // any other rebuild shows the top-left corner again
    EXPECT_EQ(QPoint(s.canvas.ScrollX(), s.canvas.ScrollY()), QPoint(0, 0));
    // A box too large for the zoom limit lowers it rather than clipping the canvas.
    Session big({}, Box(400, 300, 0, 0));
    EXPECT_FALSE(big.canvas.ZoomIn());
    EXPECT_EQ(std::tuple(big.canvas.Zoom(), big.canvas.Canvas().width()), std::tuple(8, 400 * 9 + 1));
}

TEST(EditCanvasDepth, DeeperFontsAreEditedAtTheirDepthAndUntouchedPixelsKeepTheirLevels) {
    Session s({"1234", "5678", "9abc", "def."}, Box(4, 4, 0, 0), 0, 0, 4);
    EXPECT_EQ(s.Shown(1, 0), LevelColour(2, 4));
    s.canvas.SelectTool(TOOL_PENCIL, true);
    s.Mouse("L3,3 l3,3 R0,0 r0,0");
    EXPECT_EQ(s.Current(), (Picture{".234", "5678", "9abc", "deff"}));
    s.canvas.SelectTool(TOOL_SELECT, true);
    s.Mouse("L1,1 m2,2 l2,2");
    s.canvas.ShiftOrMove(SHIFT_UP);
    s.canvas.CommitSelection();
    EXPECT_EQ(s.Current(), (Picture{".674", "5ab8", "9..c", "deff"}));
    s.canvas.SelectTool(TOOL_ERASER, true);
    s.Mouse("L3,3 l3,3");
    EXPECT_EQ(s.Current(), (Picture{".674", "5...", "9...", "d..."}));
}

} // namespace
