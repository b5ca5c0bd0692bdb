#include "edit_history.h"
#include "glyph_fixture.h"

#include <gtest/gtest.h>

namespace {

const bdf_bbx kBox = Box(4, 2, 0, 0);

Picture Current(const CEditHistory &history) { return PictureOf(history.CurrentBitmap(), 4, 2); }

TEST(EditHistory, WithoutAListEveryQueryAnswersNothing) {
    CEditHistory history;
    EXPECT_EQ(history.CurrentBitmap(), nullptr);
    EXPECT_EQ(history.CanUndo() + history.CanRedo() + history.Undo() + history.Redo(), 0);
    EXPECT_EQ(history.ShiftGrid(SHIFT_UP), 0);
    EXPECT_EQ(history.Push(GridFrom({"#...", "...."})), 0); // the bitmap is released, not leaked
    EXPECT_EQ(history.Push(nullptr), 0);
}

TEST(EditHistory, RecordingAfterAnUndoDropsTheUndoneEntriesAndUndoAndRedoWalkEveryStateBothWays) {
    CEditHistory history;
    ASSERT_EQ(history.Create(MakeGlyph({"#.", ".#"}, 1, 0).get(), kBox), 1);
    EXPECT_EQ(history.List()->bitmap_bytes, 2u);
    std::vector<Picture> states{{".#..", "..#."}};
    EXPECT_EQ(history.Undo() + history.Redo(), 0);
    // The same state painted again is an entry too.
    for (const Picture &step : {Picture{".#..", "..#."}, Picture{"##..", "..#."}, Picture{"###.", "...."}})
        ASSERT_EQ(history.Push(GridFrom(step)), 1);
    ASSERT_EQ(history.Undo(), 1);
    ASSERT_EQ(history.Push(GridFrom({"#...", "...#"})), 1);
    EXPECT_EQ(history.CanRedo(), 0);
    EXPECT_EQ(HistoryEntries(history), 4);
    EXPECT_EQ(history.List()->tail, history.List()->current);
    // A shift after an undo moves the state shown, not the one undone.
    ASSERT_EQ(history.Undo(), 1);
    ASSERT_EQ(history.ShiftGrid(SHIFT_RIGHT_DOWN), 1);
    states.insert(states.end(), {{".#..", "..#."}, {"##..", "..#."}, {"....", ".##."}});
    EXPECT_EQ(HistoryEntries(history), 4);

    for (size_t i = states.size() - 1; i > 0; --i) {
        EXPECT_EQ(Current(history), states[i]);
        ASSERT_EQ(history.Undo(), 1);
        ASSERT_EQ(history.Redo(), 1); // undo then redo changes nothing
        EXPECT_EQ(Current(history), states[i]);
        ASSERT_EQ(history.Undo(), 1);
    }
    EXPECT_EQ(Current(history), states[0]);
    EXPECT_EQ(history.Undo(), 0);
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_EQ(history.Redo(), 1);
        EXPECT_EQ(Current(history), states[i]);
    }
    EXPECT_EQ(history.Redo(), 0);

    ASSERT_EQ(history.Create(nullptr, kBox), 1); // another glyph releases every entry of the previous one
    EXPECT_EQ(Current(history), (Picture{"....", "...."}));
    EXPECT_EQ(HistoryEntries(history), 1);
}

} // namespace
