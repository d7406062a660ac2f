// The game session played without a window: the keypad presses, the keys,
// the board commands, undo and redo with the progress that follows the
// puzzle on the board, the verdict and the records, the saved game, the
// options and the clock.
#include "session/game_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/test_files.h"
#include "session/session_test_boards.h"

namespace {

// Past pairs: level 3 decides nothing here.
const char kHardPuzzle[] = "4.9..65..82..9......5....2.....5.3.125.....977.4.6.....7....9......7..64..28..7.5";

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() { Link(session, &board); }

  // Points a session at `target`, the scratch folder's files, the test's
  // clock and its verdicts, with the settings file read.
  void Link(GameSession& s, Board* target) {
    SessionLinks links;
    links.board = target;
    links.settingsPath = settings.c_str();
    links.readClock = [this] { return ClockReading{now, playing}; };
    links.verdict = [this](bool correct) { verdicts.push_back(correct); };
    s.SetLinks(links);
    s.NoteSettingsFileRead();
  }
  int Clicks(int row, int col, int digit, int times) {
    int acted = 0;
    for (int i = 0; i < times; ++i) acted += session.LeftPress(row, col, digit);
    return acted;
  }

  ScratchFolder folder;
  std::wstring settings = folder.Path("Kubri.dat");
  Board board = GridExcept({0, 1, 2, 40});
  GameSession session;
  unsigned long long now = 0;
  bool playing = true;
  std::vector<bool> verdicts;
};

TEST_F(SessionTest, TheLeftButtonSelectsMarksEntersAndHighlights) {
  EXPECT_EQ(session.LeftPress(0, 0, 5), 1);
  EXPECT_TRUE(session.IsSelected(0, 0));
  EXPECT_FALSE(board.HasCandidate(0, 0, 5));
  session.LeftPress(0, 0, 5);  // marks 5
  EXPECT_TRUE(board.HasCandidate(0, 0, 5));
  EXPECT_FALSE(board.HasValue(0, 0));
  session.LeftPress(0, 0, 5);  // a marked digit is entered
  EXPECT_EQ(board.GetValue(0, 0), 5);
  EXPECT_FALSE(session.IsSelected(0, 0));
  // A filled cell turns the highlight of its digit on and off.
  Clicks(8, 8, 1, 2);
  EXPECT_EQ(session.HighlightDigit(), GridDigit(8, 8));
  session.LeftPress(8, 8, 9);
  EXPECT_FALSE(session.HasHighlight());
  EXPECT_EQ(session.History().UndoCount(), 2);  // the mark and the entry
  // Outside the board and off the keypad nothing happens.
  EXPECT_EQ(session.LeftPress(9, 0, 1) + session.LeftPress(0, -1, 1) + session.LeftPress(0, 0, 0), 0);
}

TEST_F(SessionTest, TheRightButtonErasesUnmarksOrDropsTheSelection) {
  session.LeftPress(0, 0, 3);
  session.LeftPress(0, 0, 3);
  session.LeftPress(0, 0, 7);  // marks 3 and 7
  session.RightPress(0, 0, 3);
  EXPECT_FALSE(board.HasCandidate(0, 0, 3));
  EXPECT_TRUE(board.HasCandidate(0, 0, 7));
  session.RightPress(0, 0, 1);  // not marked: the selection goes
  EXPECT_FALSE(session.IsSelected(0, 0));
  Clicks(0, 0, 7, 2);  // entered
  session.LeftPress(0, 0, 1);
  session.RightPress(0, 0, 1);  // a player's digit is erased
  EXPECT_FALSE(board.HasValue(0, 0));
  // A given stays, whatever is pressed.
  session.LeftPress(8, 8, 1);
  session.RightPress(8, 8, 1);
  EXPECT_EQ(board.GetValue(8, 8), GridDigit(8, 8));
  EXPECT_TRUE(board.IsGiven(8, 8));
}

TEST_F(SessionTest, EditModeTypesAPuzzleInAndEndingItGivesItsGivens) {
  session.LeftPress(8, 8, 1);
  EXPECT_EQ(session.StartEditing(), 1);
  EXPECT_TRUE(session.IsEditMode());
  EXPECT_FALSE(board.IsGiven(8, 8));
  EXPECT_FALSE(session.IsSelected(8, 8));
  Clicks(0, 0, 5, 2);  // typed in, and the selection goes
  EXPECT_EQ(board.GetValue(0, 0), 5);
  Clicks(4, 4, 1, 1);
  session.RightPress(8, 8, 1);  // another cell blanked
  EXPECT_FALSE(board.HasValue(8, 8));
  EXPECT_EQ(session.EndEditing(), 1);
  EXPECT_FALSE(session.IsEditMode());
  EXPECT_TRUE(board.IsGiven(0, 0));
  EXPECT_FALSE(board.IsGiven(8, 8));
  EXPECT_EQ(session.Progress().source, kSourceTyped);
  // Undo takes back the mode with the board.
  session.Undo();
  EXPECT_TRUE(session.IsEditMode());
  EXPECT_FALSE(board.IsGiven(0, 0));
}

TEST_F(SessionTest, KeysMoveAndPlayTheSelectedCellAndOnlyMovesRepeat) {
  EXPECT_EQ(session.Key(PlayKey::kDigit, 5, false, false), 0);  // nothing selected
  session.Key(PlayKey::kLeft, 0, false, false);
  EXPECT_TRUE(session.IsSelected(4, 4));
  for (int i = 0; i < 6; ++i) session.Key(PlayKey::kUp, 0, false, i > 0);
  for (int i = 0; i < 6; ++i) session.Key(PlayKey::kLeft, 0, false, i > 0);
  EXPECT_TRUE(session.IsSelected(0, 0));
  session.Key(PlayKey::kDigit, 6, true, false);
  EXPECT_EQ(session.Key(PlayKey::kDigit, 6, true, true), 0);  // held: no flip back
  EXPECT_TRUE(board.HasCandidate(0, 0, 6));
  session.Key(PlayKey::kDigit, 6, true, false);
  EXPECT_FALSE(board.HasCandidate(0, 0, 6));
  EXPECT_EQ(session.Key(PlayKey::kDigit, 5, false, true), 0);  // a held digit enters nothing
  session.Key(PlayKey::kDigit, 5, false, false);
  EXPECT_EQ(board.GetValue(0, 0), 5);
  session.Key(PlayKey::kRight, 0, false, false);
  EXPECT_TRUE(session.IsSelected(4, 4)) << "the entry dropped the selection";
  EXPECT_EQ(session.Key(PlayKey::kSpace, 0, false, false), 0) << "an open cell";
  session.Select(8, 8);
  session.Key(PlayKey::kSpace, 0, false, false);
  EXPECT_EQ(session.HighlightDigit(), GridDigit(8, 8));
  // While a puzzle is typed in, erase blanks the cell and keeps it selected.
  session.StartEditing();
  session.Select(0, 0);
  const int steps = session.History().UndoCount();
  EXPECT_EQ(session.Key(PlayKey::kErase, 0, false, false), 1);
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_TRUE(session.IsSelected(0, 0));
  EXPECT_EQ(session.Key(PlayKey::kErase, 0, false, false), 0);  // empty: no step
  EXPECT_EQ(session.History().UndoCount(), steps + 1);
}

TEST_F(SessionTest, UndoAndRedoBringBackTheBoardAndThatPuzzlesProgress) {
  Hint hint;
  ASSERT_TRUE(session.TakeHint(&hint));
  EXPECT_TRUE(session.IsSelected(hint.row, hint.col));
  now = 5000;
  session.TickClock();
  const Board first = board;
  Board other = BoardFromLine(kHardPuzzle);
  ASSERT_EQ(session.OpenPuzzle(other), 1);
  EXPECT_EQ(session.Progress().source, kSourceFile);
  EXPECT_EQ(session.Progress().hints, 0);
  EXPECT_EQ(session.PlayedSeconds(), 0);
  ASSERT_EQ(session.Undo(), 1);
  EXPECT_EQ(BoardLine(board), BoardLine(first));
  EXPECT_EQ(session.Progress().source, kSourceLevel1);
  EXPECT_EQ(session.Progress().hints, 1);
  EXPECT_EQ(session.PlayedSeconds(), 5);
  ASSERT_EQ(session.Redo(), 1);
  EXPECT_EQ(session.Progress().source, kSourceFile);
  EXPECT_EQ(session.Redo() + session.Undo() + session.Undo(), 1) << "one step each way";
}

TEST_F(SessionTest, APuzzlePlayedTwiceGetsBackTheProgressOfItsLatestPlay) {
  const Board hard = BoardFromLine(kHardPuzzle);
  Hint hint;
  session.OpenPuzzle(hard);
  session.TakeHint(&hint);
  session.TakeHint(&hint);
  session.OpenPuzzle(GridExcept({5}));
  session.OpenPuzzle(hard);  // the same file again: a new play of it
  session.TakeHint(&hint);
  session.OpenPuzzle(GridExcept({6}));
  ASSERT_EQ(session.Undo(), 1);
  EXPECT_EQ(session.Progress().hints, 1);
  session.Undo();
  session.Undo();
  EXPECT_EQ(session.Progress().hints, 2);
}

TEST_F(SessionTest, ASolvedPuzzleIsJudgedCountedOnceAndItsClockStops) {
  Clicks(0, 0, GridDigit(0, 0), 3);
  Clicks(0, 1, GridDigit(0, 1), 3);
  Clicks(0, 2, GridDigit(0, 2), 3);
  Clicks(4, 4, GridDigit(4, 4), 1);  // r5c5 selected, then a wrong digit
  session.LeftPress(4, 4, 1 + GridDigit(4, 4) % 9);
  session.LeftPress(4, 4, 1 + GridDigit(4, 4) % 9);
  EXPECT_EQ(verdicts, std::vector<bool>{false});
  session.Undo();
  Clicks(4, 4, GridDigit(4, 4), 3);
  EXPECT_EQ(verdicts, (std::vector<bool>{false, true}));
  EXPECT_TRUE(session.Progress().finished);
  EXPECT_TRUE(session.Progress().counted);
  now += 60000;
  session.TickClock();
  EXPECT_EQ(session.PlayedSeconds(), 0) << "a solved puzzle's time stands still";
  // Taken back and solved again: judged again, counted once.
  session.Undo();
  Clicks(4, 4, GridDigit(4, 4), 3);
  EXPECT_EQ(verdicts.size(), 3u);
  PlayRecords records;
  ASSERT_EQ(LoadRecordsFile(session.RecordsPath().c_str(), &records), kGameFileRead);
  EXPECT_EQ(records.levels[0].solved, 1);
  EXPECT_NE(session.RecordsText().find(L"1"), std::wstring::npos);
}

TEST_F(SessionTest, TheSavedGameFollowsEveryStepAndAnotherRunResumesIt) {
  session.StartEditing();
  Clicks(0, 0, 5, 2);
  Board resumed;
  GameSession next;
  Link(next, &resumed);
  ASSERT_EQ(next.ResumeSavedGame(), 1);
  EXPECT_EQ(BoardLine(resumed), BoardLine(board));
  EXPECT_TRUE(next.IsEditMode());
  EXPECT_FALSE(next.History().CanUndo());
  // A damaged file is set aside and not resumed.
  ASSERT_TRUE(folder.WriteBytes("KubriGame.dat", "damaged\n"));
  GameSession third;
  Link(third, &resumed);
  EXPECT_EQ(third.ResumeSavedGame(), 0);
  EXPECT_EQ(folder.ReadBytes("KubriGame.dat.bad"), "damaged\n");
  // Before the settings file is read, a session writes nothing.
  ScratchFolder empty;
  const std::wstring elsewhere = empty.Path("Kubri.dat");
  SessionLinks links;
  links.board = &board;
  links.settingsPath = elsewhere.c_str();
  GameSession early(links);
  early.LeftPress(0, 1, 2);
  early.LeftPress(0, 1, 2);
  early.ToggleOption(&PlayerOptions::showClashes);
  EXPECT_EQ(empty.FileCount(), 0);
}

TEST_F(SessionTest, TheSwitchesAreKeptAndMarksFollowEntries) {
  session.ToggleOption(&PlayerOptions::marksFollowEntries);
  GameSession next;
  Link(next, &board);
  next.LoadPlayerOptions();
  EXPECT_TRUE(next.Options().marksFollowEntries);
  EXPECT_FALSE(next.Options().showClashes);
  session.LeftPress(0, 1, 7);
  session.LeftPress(0, 1, 7);  // r1c2 marks 7
  session.LeftPress(0, 0, 7);
  session.LeftPress(0, 0, 7);
  session.LeftPress(0, 0, 7);  // r1c1 takes 7
  EXPECT_FALSE(board.HasCandidate(0, 1, 7));
}

TEST_F(SessionTest, AllCandidatesAndTheAnswerReachPastThePlayLevels) {
  board = BoardFromLine(kHardPuzzle);
  EXPECT_EQ(session.MarkAllCandidates(), 1);
  int marks = 0;
  for (int d = 1; d <= 9; ++d) marks += board.HasCandidate(0, 1, d);
  EXPECT_GT(marks, 0);
  EXPECT_EQ(session.ShowAnswer(), 1);
  EXPECT_TRUE(board.IsComplete());
  EXPECT_TRUE(board.IsCorrect());
  EXPECT_TRUE(session.Progress().answerUsed);
  EXPECT_EQ(session.MarkAllCandidates(), 0) << "no open cell";
  EXPECT_EQ(session.Retry(), 1);
  EXPECT_EQ(BoardLine(board), BoardLine(BoardFromLine(kHardPuzzle)));
}

TEST(SessionWithoutABoard, DoesNothing) {
  GameSession session;
  Hint hint;
  EXPECT_EQ(session.LeftPress(0, 0, 1) + session.RightPress(0, 0, 1) + session.NewPuzzle(1) +
                session.Retry() + session.ShowAnswer() + session.StartEditing() + session.EndEditing() +
                session.ClearBoard() + session.MarkAllCandidates() + session.Undo() + session.Redo() +
                session.ResumeSavedGame(),
            0);
  EXPECT_FALSE(session.TakeHint(&hint));
  EXPECT_EQ(session.Key(PlayKey::kUp, 0, false, false), 1) << "the selection moves without a board";
}

}  // namespace
