// The rules of play in detail, without a window: a press on every kind of
// cell, each key against the press it stands for, what is an undo step and
// what an undo brings back, and the aids with their options file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/test_files.h"
#include "session/game_session.h"
#include "session/session_test_boards.h"
#include "stock/puzzle_stock.h"

namespace {

// A session on its own board, with its verdicts recorded and the scratch
// folder's files, the settings file read.
struct Player {
  Player(const ScratchFolder& folder, const Board& start, PuzzleStock* stock = nullptr) : board(start) {
    settings = folder.Path("Kubri.dat");
    SessionLinks links;
    links.board = &board;
    links.stock = stock;
    links.settingsPath = settings.c_str();
    links.verdict = [this](bool correct) { verdicts.push_back(correct); };
    session.SetLinks(links);
    session.NoteSettingsFileRead();
  }
  int Left(int row, int col, int digit, int times = 1) {
    int acted = 0;
    for (int i = 0; i < times; ++i) acted += session.LeftPress(row, col, digit);
    return acted;
  }
  int Right(int row, int col, int digit) { return session.RightPress(row, col, digit); }
  int Steps() const { return session.History().UndoCount(); }

  std::wstring settings;
  Board board;
  GameSession session;
  std::vector<bool> verdicts;
};

class SessionPlayTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  // Open: r1c1, r1c2, r1c3 and r2c2 (5 3 4 / 7).
  Player player{folder, GridExcept({0, 1, 2, 10})};
  Board& board = player.board;
  GameSession& session = player.session;
};

// --- Presses -------------------------------------------------------------------

TEST_F(SessionPlayTest, SettersIgnoreValuesOutsideTheirRanges) {
  session.SetHighlight(4);
  session.SetHighlight(0);
  session.SetHighlight(10);
  EXPECT_EQ(session.HighlightDigit(), 4);
  session.ClearHighlight();
  EXPECT_FALSE(session.HasHighlight());
  session.Select(3, 5);
  session.Select(9, 0);
  session.Select(0, -1);
  EXPECT_TRUE(session.IsSelected(3, 5));
  EXPECT_FALSE(session.IsSelected(-1, -1));
  session.ClearSelection();
  EXPECT_FALSE(session.IsSelected(3, 5));
  EXPECT_FALSE(session.IsSelected(-1, -1)) << "no selection is no cell";
}

TEST_F(SessionPlayTest, AnEnteredDigitKeepsTheOtherMarksUnderItForTheRightButton) {
  player.Left(0, 0, 1);
  player.Left(0, 0, 3);
  player.Left(0, 0, 7);
  player.Left(0, 0, 3);  // marked: enters 3
  EXPECT_EQ(board.GetValue(0, 0), 3);
  EXPECT_FALSE(session.IsSelected(0, 0));
  player.Left(0, 0, 5);
  EXPECT_EQ(player.Right(0, 0, 5), 1);  // the player's digit goes, the selection stays
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_TRUE(session.IsSelected(0, 0));
  EXPECT_EQ(CellMarks(board, 0, 0), "37");
}

TEST_F(SessionPlayTest, TheHighlightTogglesSwitchesDigitAndOutlivesTheSelection) {
  board.SetValue(0, 0, 5);  // the player's own digit; r2c2 is open
  player.Left(1, 2, 9, 2);  // the given 2
  EXPECT_EQ(session.HighlightDigit(), 2);
  EXPECT_TRUE(session.IsSelected(1, 2));
  player.Left(1, 2, 1);
  EXPECT_FALSE(session.HasHighlight());
  player.Left(1, 2, 1);
  EXPECT_EQ(session.HighlightDigit(), 2);
  player.Left(0, 0, 1);  // selecting another cell keeps it
  EXPECT_EQ(session.HighlightDigit(), 2);
  player.Left(0, 0, 1);
  EXPECT_EQ(session.HighlightDigit(), 5);
  EXPECT_EQ(board.GetValue(0, 0), 5) << "the left button never writes over a digit";
  EXPECT_EQ(player.Steps(), 0);
}

TEST_F(SessionPlayTest, TheRightButtonOnlyDropsTheSelectionOffItsCellOrOnAGiven) {
  board.SetValue(0, 2, 4);  // the player's
  player.Left(0, 0, 1);
  EXPECT_EQ(player.Right(0, 2, 1), 1);  // another cell: its digit stays
  EXPECT_EQ(session.SelectedRow(), -1);
  EXPECT_EQ(board.GetValue(0, 2), 4);
  player.Left(8, 8, 1);
  EXPECT_EQ(player.Right(8, 8, 1), 1);
  EXPECT_FALSE(session.IsSelected(8, 8));
  EXPECT_EQ(board.GetValue(8, 8), GridDigit(8, 8));
  player.Left(0, 1, 6, 2);  // marks 6
  EXPECT_EQ(player.Right(0, 1, 6), 1);
  EXPECT_EQ(CellMarks(board, 0, 1), "");
  EXPECT_TRUE(session.IsSelected(0, 1)) << "unmarking keeps the selection";
  EXPECT_EQ(player.Right(0, 1, 6), 1);
  EXPECT_FALSE(session.IsSelected(0, 1));
  EXPECT_EQ(player.Steps(), 2) << "the mark and the unmark; dropping a selection is no step";
}

TEST_F(SessionPlayTest, EditModeTypesOverDigitsAndTheRightButtonBlanksOnlyOtherCells) {
  board.Clear();
  board.SetValue(0, 0, 4);
  session.SetEditMode(true);
  EXPECT_EQ(player.Left(3, 3, 6, 2), 2);  // no mark needed
  EXPECT_EQ(board.GetValue(3, 3), 6);
  EXPECT_FALSE(session.IsSelected(3, 3));
  player.Left(3, 3, 2, 2);  // typed over
  EXPECT_EQ(board.GetValue(3, 3), 2);
  player.Left(5, 5, 1);
  EXPECT_EQ(player.Right(0, 0, 1), 1);  // another cell: blanked at once
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_EQ(session.SelectedRow(), -1);
  player.Left(3, 3, 1);
  EXPECT_EQ(player.Right(3, 3, 1), 1);  // the selected cell: only the selection goes
  EXPECT_EQ(board.GetValue(3, 3), 2);
  EXPECT_EQ(session.SelectedRow(), -1);
}

// A full board is judged only when an entry in play fills it: not while a
// puzzle is typed in, and not when undo or redo bring a full board back.
TEST_F(SessionPlayTest, OnlyAnEntryThatFillsABoardInPlayIsJudged) {
  board = GridExcept({80});
  session.SetEditMode(true);
  player.Left(8, 8, 9, 2);
  EXPECT_TRUE(board.IsComplete());
  EXPECT_TRUE(player.verdicts.empty());

  board = GridExcept({0, 1, 2});
  session.SetEditMode(false);
  session.ShowAnswer();
  session.StartEditing();
  session.ClearBoard();
  session.Undo();
  session.Undo();  // full again, in play
  EXPECT_TRUE(board.IsComplete());
  EXPECT_FALSE(session.IsEditMode());
  session.Undo();
  session.Redo();  // the answer again
  EXPECT_TRUE(board.IsComplete() && board.IsCorrect());
  EXPECT_TRUE(player.verdicts.empty());
}

// --- Keys against presses ------------------------------------------------------

// Two sessions set up alike, one played by keys and one by presses.
class SessionKeyTest : public ::testing::Test {
 protected:
  SessionKeyTest() {
    for (Player* side : {&keys, &presses}) side->board.SetValue(0, 2, 4);  // the player's 4
  }
  void Both(bool left, int row, int col, int digit) {
    for (Player* side : {&keys, &presses}) {
      if (left) {
        side->Left(row, col, digit);
      } else {
        side->Right(row, col, digit);
      }
    }
  }
  int Key(PlayKey key, int digit = 0, bool shift = false, bool repeated = false) {
    return keys.session.Key(key, digit, shift, repeated);
  }
  // Board, marks, selection, highlight, mode, undo steps and verdicts agree.
  void ExpectSame() {
    const GameSession& a = keys.session;
    const GameSession& b = presses.session;
    EXPECT_EQ(a.SelectedRow(), b.SelectedRow());
    EXPECT_EQ(a.SelectedCol(), b.SelectedCol());
    EXPECT_EQ(a.HighlightDigit(), b.HighlightDigit());
    EXPECT_EQ(a.IsEditMode(), b.IsEditMode());
    EXPECT_EQ(a.History().UndoCount(), b.History().UndoCount());
    EXPECT_EQ(keys.verdicts, presses.verdicts);
    for (int i = 0; i < 81; ++i) {
      const int r = i / 9, c = i % 9;
      EXPECT_EQ(keys.board.GetValue(r, c), presses.board.GetValue(r, c)) << "r" << r + 1 << "c" << c + 1;
      EXPECT_EQ(keys.board.IsGiven(r, c), presses.board.IsGiven(r, c));
      EXPECT_EQ(CellMarks(keys.board, r, c), CellMarks(presses.board, r, c));
    }
  }

  ScratchFolder folder;
  Player keys{folder, GridExcept({0, 1, 2, 10})};
  Player presses{folder, GridExcept({0, 1, 2, 10})};
};

TEST_F(SessionKeyTest, ADigitEntersAsThePressOnItsMarkAndShiftMarksAsLeftOrRightPress) {
  Both(true, 0, 0, 5);
  Both(true, 0, 0, 5);  // marked
  EXPECT_EQ(Key(PlayKey::kDigit, 5), 1);
  presses.Left(0, 0, 5);
  ExpectSame();
  EXPECT_EQ(keys.board.GetValue(0, 0), 5);
  EXPECT_FALSE(keys.session.IsSelected(0, 0));

  Both(true, 0, 1, 1);
  EXPECT_EQ(Key(PlayKey::kDigit, 6, true), 1);
  presses.Left(0, 1, 6);
  ExpectSame();
  EXPECT_EQ(CellMarks(keys.board, 0, 1), "6");
  EXPECT_EQ(Key(PlayKey::kDigit, 6, true), 1);
  presses.Right(0, 1, 6);
  ExpectSame();
  EXPECT_EQ(CellMarks(keys.board, 0, 1), "");
  EXPECT_TRUE(keys.session.IsSelected(0, 1));

  // Unmarked, a digit goes in at once, as one step.
  const int steps = keys.Steps();
  EXPECT_EQ(Key(PlayKey::kDigit, 7), 1);
  EXPECT_EQ(keys.board.GetValue(0, 1), 7);
  EXPECT_EQ(CellMarks(keys.board, 0, 1), "");
  EXPECT_FALSE(keys.session.IsSelected(0, 1));
  EXPECT_EQ(keys.Steps(), steps + 1);
}

TEST_F(SessionKeyTest, EraseIsARightPressAndSpaceALeftPressEachOncePerPress) {
  Both(true, 0, 2, 1);  // the player's 4: erased, the selection stays
  EXPECT_EQ(Key(PlayKey::kErase), 1);
  presses.Right(0, 2, 1);
  ExpectSame();
  EXPECT_FALSE(keys.board.HasValue(0, 2));
  EXPECT_TRUE(keys.session.IsSelected(0, 2));
  EXPECT_EQ(Key(PlayKey::kErase, 0, false, true), 0) << "held: the selection stays";
  EXPECT_TRUE(keys.session.IsSelected(0, 2));
  Both(true, 0, 2, 8);  // an empty cell marked elsewhere: the selection goes, the mark stays
  EXPECT_EQ(Key(PlayKey::kErase), 1);
  presses.Right(0, 2, 1);
  ExpectSame();
  EXPECT_EQ(CellMarks(keys.board, 0, 2), "8");
  Both(true, 4, 4, 1);  // a given only loses the selection
  EXPECT_EQ(Key(PlayKey::kErase), 1);
  presses.Right(4, 4, 1);
  ExpectSame();
  EXPECT_EQ(keys.board.GetValue(4, 4), GridDigit(4, 4));

  Both(true, 4, 4, 1);
  EXPECT_EQ(Key(PlayKey::kSpace), 1);
  presses.Left(4, 4, 1);
  ExpectSame();
  EXPECT_TRUE(keys.session.HasHighlight());
  EXPECT_EQ(Key(PlayKey::kSpace, 0, false, true), 0) << "held: no flip back";
  EXPECT_EQ(Key(PlayKey::kSpace), 1);
  presses.Left(4, 4, 1);
  ExpectSame();
  EXPECT_FALSE(keys.session.HasHighlight());
}

TEST_F(SessionKeyTest, KeysWriteOverNoDigitAndTypeAPuzzleInWithoutMarks) {
  Both(true, 4, 4, 1);
  EXPECT_EQ(Key(PlayKey::kDigit, GridDigit(4, 4) % 9 + 1), 0);
  EXPECT_EQ(Key(PlayKey::kDigit, 1, true), 0);
  EXPECT_EQ(keys.board.GetValue(4, 4), GridDigit(4, 4));
  Both(true, 0, 2, 1);
  EXPECT_EQ(Key(PlayKey::kDigit, 8), 0);
  EXPECT_EQ(keys.board.GetValue(0, 2), 4);
  ExpectSame();

  keys.session.StartEditing();
  presses.session.StartEditing();
  Both(true, 4, 4, 1);
  EXPECT_EQ(Key(PlayKey::kDigit, 2), 1);
  presses.Left(4, 4, 2);
  ExpectSame();
  EXPECT_EQ(keys.board.GetValue(4, 4), 2);
  Both(true, 4, 4, 1);
  EXPECT_EQ(Key(PlayKey::kDigit, 2, true), 0) << "no marks while typing in";
  ExpectSame();
}

TEST_F(SessionKeyTest, TheDigitThatFillsTheBoardIsJudgedAsThePress) {
  for (Player* side : {&keys, &presses}) side->board = GridExcept({0});
  Both(true, 0, 0, 9);
  Both(true, 0, 0, 9);  // 9 marked; the grid holds 5 there
  Key(PlayKey::kDigit, 9);
  presses.Left(0, 0, 9);
  EXPECT_EQ(keys.verdicts, std::vector<bool>{false});
  ExpectSame();
  keys.board.ClearValue(0, 0);
  keys.session.Select(0, 0);
  Key(PlayKey::kDigit, 5);
  EXPECT_EQ(keys.verdicts, (std::vector<bool>{false, true}));
}

TEST_F(SessionKeyTest, EraseWhileTypingInKeepsTheMarksAndOneUndoBringsTheDigitBack) {
  keys.session.StartEditing();
  keys.board.SetCandidate(4, 4, 3, true);
  keys.session.Select(4, 4);
  EXPECT_EQ(Key(PlayKey::kErase), 1);
  EXPECT_FALSE(keys.board.HasValue(4, 4));
  EXPECT_EQ(CellMarks(keys.board, 4, 4), "3");
  Key(PlayKey::kDigit, 7);
  EXPECT_EQ(keys.board.GetValue(4, 4), 7);
  keys.session.Select(4, 4);
  const int steps = keys.Steps();
  EXPECT_EQ(Key(PlayKey::kErase), 1);
  EXPECT_EQ(keys.Steps(), steps + 1);
  EXPECT_EQ(keys.session.Undo(), 1);
  EXPECT_EQ(keys.board.GetValue(4, 4), 7);
  EXPECT_TRUE(keys.session.IsEditMode());
}

TEST_F(SessionKeyTest, WithoutASelectionOnlyArrowsActAndTheyStopAtEveryEdge) {
  EXPECT_EQ(Key(PlayKey::kDigit, 5) + Key(PlayKey::kErase) + Key(PlayKey::kSpace), 0);
  EXPECT_EQ(keys.session.SelectedRow(), -1);
  EXPECT_EQ(Key(PlayKey::kUp), 1);
  EXPECT_TRUE(keys.session.IsSelected(4, 4)) << "the first move selects the centre";
  for (int i = 0; i < 6; ++i) Key(PlayKey::kLeft);
  EXPECT_TRUE(keys.session.IsSelected(4, 0));
  for (int i = 0; i < 6; ++i) Key(PlayKey::kDown);
  EXPECT_TRUE(keys.session.IsSelected(8, 0));
  Key(PlayKey::kRight);
  Key(PlayKey::kUp);
  EXPECT_TRUE(keys.session.IsSelected(7, 1));
  for (int i = 0; i < 9; ++i) Key(PlayKey::kRight, 0, false, true);
  EXPECT_TRUE(keys.session.IsSelected(7, 8));
  EXPECT_EQ(keys.Steps(), 0);
}

// --- Undo steps ------------------------------------------------------------------

class SessionUndoTest : public SessionPlayTest {
 protected:
  SessionUndoTest() { board = GridExcept({0, 1, 2}); }
};

TEST_F(SessionUndoTest, EachChangeIsOneStepAndUndoDropsSelectionAndHighlight) {
  player.Left(0, 0, 5);   // select: no step
  player.Left(0, 0, 5);   // mark 5
  player.Left(0, 0, 5);   // enter 5
  player.Left(0, 0, 5, 2);  // select again, highlight 5: no step
  player.Right(0, 0, 5);  // erase 5, the mark stays
  player.Right(0, 0, 5);  // unmark 5
  EXPECT_EQ(player.Steps(), 4);
  session.SetHighlight(3);
  EXPECT_EQ(session.Undo(), 1);
  EXPECT_EQ(CellMarks(board, 0, 0), "5");
  EXPECT_FALSE(session.IsSelected(0, 0));
  EXPECT_FALSE(session.HasHighlight());
  EXPECT_EQ(session.Undo(), 1);
  EXPECT_EQ(board.GetValue(0, 0), 5);
  EXPECT_EQ(session.Redo(), 1);
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_EQ(CellMarks(board, 0, 0), "5");
}

TEST_F(SessionUndoTest, UndoWalksBackThroughTypingInToTheGameWithItsGivens) {
  session.StartEditing();
  player.Left(0, 0, 5, 2);  // types in 5
  player.Right(8, 8, 1);    // blanks the 9 of r9c9
  session.EndEditing();
  EXPECT_EQ(player.Steps(), 4);
  session.Undo();
  session.Undo();
  session.Undo();
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_EQ(board.GetValue(8, 8), 9);
  EXPECT_TRUE(session.IsEditMode());
  EXPECT_EQ(session.Undo(), 1);
  EXPECT_FALSE(session.IsEditMode());
  EXPECT_TRUE(board.IsGiven(8, 8));
}

TEST_F(SessionUndoTest, UndoingANewPuzzleOrAnOpenedOneBringsThePreviousBoardBack) {
  PuzzleStock stock;
  Board stocked;
  ASSERT_TRUE(stocked.Generate(1, 1, Board::kWaitedForAttempts));
  stock.Add(&stocked);
  Player stocking(folder, board, &stock);
  stocking.board.SetCandidate(0, 1, 4, true);
  ASSERT_EQ(stocking.session.NewPuzzle(1), 1);
  EXPECT_EQ(BoardLine(stocking.board), BoardLine(stocked));
  EXPECT_EQ(stock.Count(1), 0);
  ASSERT_EQ(stocking.session.Undo(), 1);
  EXPECT_EQ(stock.Count(1), 0) << "the puzzle taken is not put back";
  EXPECT_EQ(CellMarks(stocking.board, 0, 1), "4");

  ASSERT_EQ(session.OpenPuzzle(Board()), 1);  // an empty puzzle
  EXPECT_FALSE(board.HasValue(8, 8));
  session.Undo();
  EXPECT_TRUE(board.IsGiven(8, 8));
}

// --- The aids ----------------------------------------------------------------------

TEST_F(SessionPlayTest, AllCandidatesReplaceStaleMarksAsOneStepAndAreRefusedWhileTypingIn) {
  board.SetCandidate(0, 0, 9, true);  // stale: row 1 holds 9
  board.SetCandidate(1, 1, 2, true);
  session.Select(0, 1);
  EXPECT_EQ(session.MarkAllCandidates(), 1);
  EXPECT_EQ(CellMarks(board, 0, 0), "5");
  EXPECT_EQ(CellMarks(board, 0, 1), "3");
  EXPECT_EQ(CellMarks(board, 0, 2), "4");
  EXPECT_EQ(CellMarks(board, 1, 1), "7");
  EXPECT_TRUE(session.IsSelected(0, 1)) << "the selection stays";
  EXPECT_EQ(player.Steps(), 1);
  EXPECT_EQ(session.MarkAllCandidates(), 1);
  EXPECT_EQ(player.Steps(), 1) << "nothing more to mark: no second step";
  EXPECT_EQ(session.Undo(), 1);
  EXPECT_EQ(CellMarks(board, 0, 0), "9");
  EXPECT_EQ(CellMarks(board, 1, 1), "2");
  EXPECT_EQ(CellMarks(board, 0, 2), "");
  EXPECT_FALSE(session.History().CanUndo());

  session.StartEditing();
  EXPECT_EQ(session.MarkAllCandidates(), 0);
  EXPECT_EQ(CellMarks(board, 0, 2), "");
}

TEST_F(SessionPlayTest, MarksFollowEntriesByPressAndKeyOnlyWhenSwitchedOn) {
  ASSERT_EQ(session.MarkAllCandidates(), 1);
  board.SetCandidate(0, 0, 3, true);  // a second candidate, to enter a 3 there
  player.Left(0, 0, 3, 2);
  EXPECT_EQ(CellMarks(board, 0, 1), "3") << "off: the peers keep their marks";
  ASSERT_EQ(session.Undo(), 1);

  session.ToggleOption(&PlayerOptions::marksFollowEntries);
  const int steps = player.Steps();
  player.Left(0, 0, 3, 2);
  EXPECT_EQ(board.GetValue(0, 0), 3);
  EXPECT_EQ(CellMarks(board, 0, 1), "") << "row and box";
  EXPECT_EQ(CellMarks(board, 0, 0), "35") << "the cell's own marks stay under its digit";
  EXPECT_EQ(player.Steps(), steps + 1);
  ASSERT_EQ(session.Undo(), 1);
  EXPECT_EQ(board.GetValue(0, 0), 0);
  EXPECT_EQ(CellMarks(board, 0, 1), "3") << "one undo brings back the entry and the marks";

  // By key: a 7 entered in r2c2 takes the 7 marked in r1c3, in its box.
  board.SetCandidate(0, 2, 7, true);
  session.Select(1, 1);
  EXPECT_EQ(session.Key(PlayKey::kDigit, 7, false, false), 1);
  EXPECT_EQ(CellMarks(board, 0, 2), "4");
}

TEST_F(SessionPlayTest, ADamagedOptionsFileIsSetAsideAndTheNextSwitchWritesAnew) {
  EXPECT_EQ(session.OptionsPath(), folder.Path("KubriOptions.dat"));
  session.ToggleOption(&PlayerOptions::showClashes);
  session.ToggleOption(&PlayerOptions::marksFollowEntries);
  PlayerOptions saved;
  ASSERT_EQ(LoadOptionsFile(session.OptionsPath().c_str(), &saved), kGameFileRead);
  EXPECT_TRUE(saved.marksFollowEntries && saved.showClashes);

  ASSERT_TRUE(folder.WriteBytes("KubriOptions.dat", "Kubri options 1\nshow"));
  Player next(folder, board);
  next.session.LoadPlayerOptions();
  EXPECT_FALSE(next.session.Options().marksFollowEntries || next.session.Options().showClashes);
  EXPECT_EQ(folder.ReadBytes("KubriOptions.dat.bad"), "Kubri options 1\nshow");
  EXPECT_EQ(folder.ReadBytes("KubriOptions.dat"), "<missing>");
  next.session.ToggleOption(&PlayerOptions::showClashes);
  ASSERT_EQ(LoadOptionsFile(session.OptionsPath().c_str(), &saved), kGameFileRead);
  EXPECT_TRUE(saved.showClashes);
  EXPECT_FALSE(saved.marksFollowEntries);
}

}  // namespace
