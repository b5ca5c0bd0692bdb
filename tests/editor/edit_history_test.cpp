#include "edit_history.h"
#include "glyph_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(EditHistory, UndoAndRedoWalkEveryRecordedStateBothWaysAndRecordingDropsWhatWasUndone) {
    CEditHistory history; // without a list every query answers nothing and a pushed bitmap is released
    EXPECT_EQ(history.CanUndo() + history.CanRedo() + history.Undo() + history.Redo() + history.ShiftGrid(SHIFT_UP) +
                  history.Push(GridFrom({"#"})) + history.Push(nullptr) + bool(history.CurrentBitmap()),
              0);
    ASSERT_EQ(history.Create(MakeGlyph({"#.", ".#"}, 1, 0).get(), Box(4, 2, 0, 0)), 1);
    for (const Picture &step : {Picture{".#..", "..#."}, Picture{"##..", "..#."}, Picture{"###.", "...."}})
        ASSERT_EQ(history.Push(GridFrom(step)), 1); // the same state painted again is an entry too
    ASSERT_TRUE(history.Undo() && history.Push(GridFrom({"#...", "...#"})) && history.Undo());
    ASSERT_EQ(history.ShiftGrid(SHIFT_RIGHT_DOWN), 1); // moves the state shown, not the one undone
    EXPECT_EQ(std::tuple(history.CanRedo(), HistoryEntries(history)), std::tuple(0, 4));
    const Picture states[] = {{".#..", "..#."}, {".#..", "..#."}, {"##..", "..#."}, {"....", ".##."}};
    for (int i = 3; i >= 0; --i) { // undo then redo changes nothing
        EXPECT_EQ(PictureOf(history.CurrentBitmap(), 4, 2), states[i]);
        EXPECT_TRUE(i == 0 || (history.Undo() && history.Redo() && history.Undo()));
    }
    EXPECT_EQ(history.Undo(), 0);
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(history.Redo() && PictureOf(history.CurrentBitmap(), 4, 2) == states[i]) << i;
    EXPECT_EQ(history.Redo(), 0);
    ASSERT_EQ(history.Create(nullptr, Box(4, 2, 0, 0)), 1); // another glyph releases every entry of the last
    EXPECT_EQ(std::tuple(PictureOf(history.CurrentBitmap(), 4, 2), HistoryEntries(history)),
              std::tuple(Picture{"....", "...."}, 1));
}

} // namespace
