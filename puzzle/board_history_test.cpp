// The undo history: what it brings back, what a step is, and its bound.
#include "puzzle/board_history.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// State number n, told apart by the values of the first four cells.
BoardState Numbered(int n) {
  BoardState state;
  for (int i = 0; i < 4; ++i, n /= 9) state.board.SetValue(0, i, n % 9 + 1);
  return state;
}

int NumberOf(const BoardState& state) {
  int n = 0;
  for (int i = 3; i >= 0; --i) n = n * 9 + state.board.GetValue(0, i) - 1;
  return n;
}

// Records the steps from state `from` to state `to` and returns the last.
BoardState Play(BoardHistory& history, int from, int to) {
  for (int n = from; n < to; ++n) EXPECT_TRUE(history.Record(Numbered(n), Numbered(n + 1))) << n;
  return Numbered(to);
}

TEST(BoardHistory, UndoBringsBackGivensAndTheMarksUnderValues) {
  auto history = std::make_unique<BoardHistory>();
  BoardState before;
  before.board.SetValue(2, 3, 7);
  before.board.SetGiven(2, 3);
  before.board.SetCandidate(4, 4, 2, true);
  before.board.SetValue(4, 4, 6);  // the mark stays under the value
  BoardState shown;
  ASSERT_TRUE(history->Record(before, shown));
  ASSERT_TRUE(history->Undo(shown));
  EXPECT_TRUE(shown.board.IsGiven(2, 3));
  shown.board.ClearValue(4, 4);
  EXPECT_TRUE(shown.board.HasCandidate(4, 4, 2));
}

TEST(BoardHistory, UndoRedoAndANewStepThatDropsTheRedoSteps) {
  auto history = std::make_unique<BoardHistory>();
  BoardState shown = Numbered(0);
  EXPECT_FALSE(history->Undo(shown));
  EXPECT_FALSE(history->Redo(shown));
  shown = Play(*history, 0, 4);
  ASSERT_TRUE(history->Undo(shown) && history->Undo(shown));
  EXPECT_EQ(NumberOf(shown), 2);
  ASSERT_TRUE(history->Redo(shown));
  EXPECT_EQ(NumberOf(shown), 3);
  ASSERT_TRUE(history->Undo(shown));

  // A step that changes nothing is none, and keeps what can be redone.
  EXPECT_FALSE(history->Record(shown, shown));
  EXPECT_EQ(history->RedoCount(), 2);
  BoardState editing = shown;
  editing.editing = true;  // the flag alone is a change
  ASSERT_TRUE(history->Record(shown, editing));
  EXPECT_FALSE(history->CanRedo());
  EXPECT_FALSE(history->Redo(editing));
  ASSERT_TRUE(history->Undo(editing));
  EXPECT_EQ(NumberOf(editing), 2);
  EXPECT_FALSE(editing.editing);
}

TEST(BoardHistory, AFullHistoryDropsTheOldestStepsFirst) {
  auto history = std::make_unique<BoardHistory>();
  const int steps = BoardHistory::kMaxSteps + 5;
  BoardState shown = Play(*history, 0, steps);
  EXPECT_EQ(history->UndoCount(), BoardHistory::kMaxSteps);
  while (history->Undo(shown)) {
  }
  EXPECT_EQ(NumberOf(shown), 5);  // states 0 to 4 are gone
  while (history->Redo(shown)) {
  }
  EXPECT_EQ(NumberOf(shown), steps);

  // Back a little and on again: the ring stays in order past its end.
  for (int i = 0; i < 10; ++i) history->Undo(shown);
  shown = Play(*history, steps - 10, steps + 20);
  for (int n = steps + 19; n >= steps + 20 - BoardHistory::kMaxSteps; --n) {
    ASSERT_TRUE(history->Undo(shown));
    ASSERT_EQ(NumberOf(shown), n);
  }
  EXPECT_FALSE(history->CanUndo());
}

}  // namespace
