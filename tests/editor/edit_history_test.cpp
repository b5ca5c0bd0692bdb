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
    ASSERT_EQ(history.Undo(), 1);
    ASSERT_EQ(history.Push(GridFrom({"#...", "...#"})), 1);
    ASSERT_EQ(history.Undo(), 1);
    ASSERT_EQ(history.ShiftGrid(SHIFT_RIGHT_DOWN), 1); // moves the state shown, not the one undone
    EXPECT_EQ(std::tuple(history.CanRedo(), HistoryEntries(history), history.List()->tail == history.List()->current),
              std::tuple(0, 4, true));
    const std::vector<Picture> states{{".#..", "..#."}, {".#..", "..#."}, {"##..", "..#."}, {"....", ".##."}};
    const auto current = [&] { return PictureOf(history.CurrentBitmap(), 4, 2); };
    for (size_t i = states.size() - 1; i > 0; --i) {
        EXPECT_EQ(current(), states[i]);
        ASSERT_EQ(history.Undo(), 1);
        ASSERT_EQ(history.Redo(), 1); // undo then redo changes nothing
        EXPECT_EQ(current(), states[i]);
        ASSERT_EQ(history.Undo(), 1);
    }
    EXPECT_EQ(current(), states[0]);
    EXPECT_EQ(history.Undo(), 0);
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_EQ(history.Redo(), 1);
        EXPECT_EQ(current(), states[i]);
    }
    EXPECT_EQ(history.Redo(), 0);
    ASSERT_EQ(history.Create(nullptr, Box(4, 2, 0, 0)), 1); // another glyph releases every entry of the last
    EXPECT_EQ(std::tuple(current(), HistoryEntries(history)), std::tuple(Picture{"....", "...."}, 1));
}

} // namespace
