#include "cell_colours.h"
#include "edit_canvas.h"
#include "glyph_fixture.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace cell_colours;

// The editor core on one glyph, driven by cells as the dialog forwards them.
struct Session {
    Session(const Picture &rows, const bdf_bbx &fontBox, int bpp = 1) : glyph(MakeGlyph(rows, 0, 0, bpp)) {
        canvas.SetViewSize(300, 200);
        EXPECT_EQ(canvas.SetUp(glyph.get(), fontBox, bpp), CEditCanvas::SETUP_READY);
    }
    // With `tool`: mouse events at cells ("L0,0 m1,0 l1,0" is left down, move, left up; R and r the right
    // button), shifts up, down, left and right ("^ v < >") and "d" to drop a selection.
    void Use(int tool, const std::string &script) {
        if (canvas.CurrentTool() != tool)
            canvas.SelectTool(tool, true);
        std::istringstream events(script);
        for (std::string event; events >> event;) {
            const Cell cell{std::atoi(event.c_str() + 1), std::atoi(event.c_str() + event.find(',') + 1)};
            if (const size_t shift = std::string("^v<>").find(event[0]); shift != std::string::npos)
                canvas.ShiftOrMove(SHIFT_UP + int(shift));
            else if (event == "d")
                canvas.CommitSelection();
            else
                canvas.OnCanvasMouse(int(std::string("LlRrm").find(event[0])), &cell);
        }
    }
    Picture Current() { return PictureOf(canvas.History().CurrentBitmap(), Width(), Height(), canvas.Bpp()); }
    int Width() const { return canvas.GridBox().width; }
    int Height() const { return canvas.GridBox().height; }
    // Every cell as the user sees it (unscrolled): '#' black, '.' white, '?' anything else.
    std::string Seen() const {
        std::string cells;
        for (int i = 0; i < Width() * Height(); ++i) {
            const QRgb colour = canvas.ComposeContent().pixel(i % Width() * 11 + 6, i / Width() * 11 + 6);
            cells += colour == kBlack ? '#' : colour == kWhite ? '.' : '?';
        }
        return cells;
    }
    GlyphPtr glyph;
    CEditCanvas canvas;
};

TEST(EditCanvasTools, PencilEraserAndSelectionEditAtTheFontsDepthOneEntryPerStrokeKeepingUntouchedLevels) {
    Session s({"1234", "5678", "9abc", "def1"}, Box(8, 4, 0, 0), 4);
    // Fast moves leave gaps; moves without a button, or with both, paint and record nothing; a right press clears.
    s.Use(TOOL_PENCIL, "L5,2 l5,2 L6,2 l6,2 R5,2 r5,2 L4,0 m5,0 m7,0 l7,0 m7,1 l7,1 L4,1 R4,1 m6,1 m7,3 r7,3 l7,3");
    // The eraser keeps its block inside the edges; its right button does nothing.
    s.Use(TOOL_ERASER, "L0,0 l0,0 R3,3 r3,3 m3,3");
    // Leaving the grid hides its cursor, and so does another tool, so that it is not read back as cleared cells.
    s.canvas.OnCanvasMouse(MOUSE_MOVE, nullptr);
    EXPECT_EQ(s.canvas.Eraser().visible, 0);
    s.Use(TOOL_ERASER, "m3,3");
    s.Use(TOOL_SELECT, "L0,3 m1,3 l1,3 > d");
    EXPECT_EQ(std::tuple(s.Current(), HistoryEntries(s.canvas.History())),
              std::tuple(Picture{"...4ff.f", "...8....", "...c..f.", ".de1...."}, 8));
}

TEST(EditCanvasTools, ALiftedSelectionShowsAndDropsExactlyTheCellsInsideTheGridWhereverItMoves) {
    Session s({"####....", "####...."}, Box(8, 2, 0, 0));
    for (Cell corner : {Cell{1, 0}, Cell{1, 1}, Cell{3, 1}}) { // the same width and taller, the same height and wider
        s.canvas.MakeSelection({0, 0}, corner, true);
        EXPECT_EQ(s.Seen(), "####....####....") << corner.k << corner.r;
        s.canvas.CommitSelection();
    }
    s.Use(TOOL_SELECT, "L0,0 m3,1 l3,1");
    // The source shows white on the canvas, the image with a red dotted border above it.
    EXPECT_EQ(std::tuple(s.canvas.Canvas().pixel(6, 6), s.canvas.ComposeContent().pixel(0, 0),
                         s.canvas.ComposeContent().pixel(1, 0), s.canvas.Selection().lifted),
              std::tuple(kWhite, kSelectionFrame, kGridLine, 1));
    // Over the left edge, back, dragged across, over the right edge and from there over the left one.
    for (auto [script, row] : {std::pair{"<", "###....."},
                               {"<", "##......"},
                               {">", "###....."},
                               {"L0,0 m5,0 l5,0", "....####"},
                               {"L4,0 m6,0 l6,0", "......##"},
                               {"L7,0 m0,0 l0,0", "###....."}}) {
        s.Use(TOOL_SELECT, script);
        EXPECT_EQ(s.Seen(), std::string(row) + row) << script;
    }
    s.Use(TOOL_SELECT, "L0,0 m7,0 l7,0");
    s.canvas.Present(); // past the content's edge the view stays white
    EXPECT_EQ(s.canvas.BackBuffer().pixel(8 * 11 + 1, 6), kWhite);
    s.Use(TOOL_SELECT, "> > > v v v"); // it may lie just past the right or bottom edge, never further
    EXPECT_EQ(s.canvas.Selection().current, (CellRect{8, 2, 12, 4}));
    s.Use(TOOL_SELECT, "< ^ < ^ L0,0 m1,1"); // a press outside drops it where it is shown, a drag starts a band
    EXPECT_EQ(std::tuple(s.Current(), s.canvas.Selection().lifted, s.canvas.Selection().current),
              std::tuple(Picture(2, "......##"), 0, CellRect{0, 0, 2, 2}));
}

} // namespace
