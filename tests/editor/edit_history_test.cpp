#include "edit_history.h"
#include "glyph_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(EditHistory, WithoutAListEveryQueryAnswersNothingAndAPushedBitmapIsReleased) {
    CEditHistory history;
    EXPECT_EQ(history.CurrentBitmap(), nullptr);
    EXPECT_EQ(history.CanUndo() + history.CanRedo() + history.Undo() + history.Redo() + history.ShiftGrid(SHIFT_UP) +
                  history.Push(GridFrom({"#"})) + history.Push(nullptr),
              0);
}

TEST(EditHistory, RecordingAfterAnUndoDropsTheUndoneEntriesAndUndoAndRedoWalkEveryStateBothWays) {
    CEditHistory history;
    const auto current = [&] { return PictureOf(history.CurrentBitmap(), 4, 2); };
    ASSERT_EQ(history.Create(MakeGlyph({"#.", ".#"}, 1, 0).get(), Box(4, 2, 0, 0)), 1);
    EXPECT_EQ(history.Undo() + history.Redo(), 0);
    // The same state painted again is an entry too.
    for (const Picture &step : {Picture{".#..", "..#."}, Picture{"##..", "..#."}, Picture{"###.", "...."}})
        ASSERT_EQ(history.Push(GridFrom(step)), 1);
    ASSERT_EQ(history.Undo(), 1);
    ASSERT_EQ(history.Push(GridFrom({"#...", "...#"})), 1);
    EXPECT_EQ(std::tuple(history.CanRedo(), HistoryEntries(history)), std::tuple(0, 4));
    EXPECT_EQ(history.List()->tail, history.List()->current);
    ASSERT_EQ(history.Undo(), 1); // a shift after an undo moves the state shown, not the one undone
    ASSERT_EQ(history.ShiftGrid(SHIFT_RIGHT_DOWN), 1);
    EXPECT_EQ(HistoryEntries(history), 4);
    const std::vector<Picture> states{{".#..", "..#."}, {".#..", "..#."}, {"##..", "..#."}, {"....", ".##."}};
    for (size_t i = states.size() - 1; i > 0; --i) {
        EXPECT_EQ(current(), states[i]);
        ASSERT_EQ(history.Undo() + history.Redo(), 2); // undo then redo changes nothing
        EXPECT_EQ(current(), states[i]);
        ASSERT_EQ(history.Undo(), 1);
    }
    EXPECT_EQ(std::tuple(current(), history.Undo()), std::tuple(states[0], 0));
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_EQ(history.Redo(), 1);
        EXPECT_EQ(current(), states[i]);
    }
    EXPECT_EQ(history.Redo(), 0);
    ASSERT_EQ(history.Create(nullptr, Box(4, 2, 0, 0)), 1); // another glyph releases every entry of the last
    EXPECT_EQ(std::tuple(current(), HistoryEntries(history)), std::tuple(Picture{"....", "...."}, 1));
}

} // namespace
