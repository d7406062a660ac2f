// The session's files and the board commands played without a window: when
// the saved game is written and what a resume brings back, the records and
// what counts in them, the play clock, the leftovers of an ended save, the
// hint's choice of cell, and the new-puzzle, retry, answer, edit and clear
// commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/test_files.h"
#include "session/game_session.h"
#include "session/session_test_boards.h"
#include "session/hint_message.h"
#include "stock/puzzle_stock.h"

namespace {

bool SameValues(const Board& a, const Board& b) {
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c)
      if (a.GetValue(r, c) != b.GetValue(r, c) || a.IsGiven(r, c) != b.IsGiven(r, c)) return false;
  return true;
}

class SessionFilesTest : public ::testing::Test {
 protected:
  SessionFilesTest() { Link(session, &board); }

  // Points a session at `target`, the scratch folder's files, the test's
  // clock and its verdicts; `read` says whether start-up read the settings.
  void Link(GameSession& s, Board* target, bool read = true) {
    SessionLinks links;
    links.board = target;
    links.stock = &stock;
    links.settingsPath = settings.c_str();
    links.readClock = [this] { return ClockReading{now, playing}; };
    links.verdict = [this](bool correct) { verdicts.push_back(correct); };
    s.SetLinks(links);
    if (read) s.NoteSettingsFileRead();
  }
  // Selects, marks and enters `digit` in (row, col).
  void Enter(GameSession& s, int row, int col, int digit) {
    for (int i = 0; i < 3; ++i) s.LeftPress(row, col, digit);
  }
  SavedGame ReadGame() {
    SavedGame game;
    EXPECT_EQ(LoadGameFile(session.GamePath().c_str(), &game), kGameFileRead);
    return game;
  }
  PlayRecords ReadRecords() {
    PlayRecords records;
    LoadRecordsFile(session.RecordsPath().c_str(), &records);
    return records;
  }
  // A cell selected and a digit highlighted, so that a reset shows.
  void DirtyView() {
    session.Select(4, 4);
    session.SetHighlight(6);
  }
  void ExpectViewReset() {
    EXPECT_EQ(session.SelectedRow(), -1);
    EXPECT_EQ(session.SelectedCol(), -1);
    EXPECT_FALSE(session.HasHighlight());
  }
  // Takes a hint and returns its message, checking that the board is
  // untouched and that the hint was counted.
  std::wstring TakeHint() {
    const std::string before = BoardSnapshot(board);
    const int hints = session.Progress().hints;
    Hint hint;
    EXPECT_TRUE(session.TakeHint(&hint));
    EXPECT_EQ(BoardSnapshot(board), before);
    EXPECT_EQ(session.Progress().hints, hints + 1);
    wchar_t text[128];
    FormatHintMessage(hint, text);
    return text;
  }

  ScratchFolder folder;
  std::wstring settings = folder.Path("Kubri.dat");
  PuzzleStock stock;
  Board board = GridExcept({0, 1});  // r1c1 is 5, r1c2 is 3
  GameSession session;
  unsigned long long now = 100000;
  bool playing = true;
  std::vector<bool> verdicts;
};

// --- The saved game -------------------------------------------------------------

TEST_F(SessionFilesTest, TheGameIsSavedWithEveryStepOnceTheSettingsFileWasRead) {
  Board other = board;
  GameSession early;
  Link(early, &other, false);
  early.LeftPress(0, 0, 5);
  early.LeftPress(0, 0, 5);
  early.SaveGameInProgress();  // as a close before start-up read the settings
  EXPECT_EQ(folder.FileCount(), 0);
  early.NoteSettingsFileRead();
  early.LeftPress(0, 0, 6);  // one more mark: a step, saved at once
  EXPECT_EQ(early.GamePath(), folder.Path("KubriGame.dat"));
  EXPECT_TRUE(ReadGame().board.HasCandidate(0, 0, 6));

  session.LeftPress(0, 0, 5);
  session.LeftPress(0, 0, 5);
  EXPECT_TRUE(ReadGame().board.HasCandidate(0, 0, 5));
  session.Undo();
  EXPECT_FALSE(ReadGame().board.HasCandidate(0, 0, 5));
  session.StartEditing();
  EXPECT_TRUE(ReadGame().editing);
  now += 61000;
  session.SaveGameInProgress();
  EXPECT_EQ(ReadGame().progress.seconds, 61);
}

TEST_F(SessionFilesTest, AResumeBringsBackTheMarksHintsAndTimeAndTheClockGoesOn) {
  Hint hint;
  session.TakeHint(&hint);
  session.ClearSelection();
  session.LeftPress(0, 0, 5);
  session.LeftPress(0, 0, 5);
  session.LeftPress(0, 0, 7);
  now += 5000;
  session.SaveGameInProgress();

  Board fresh;
  GameSession next;
  Link(next, &fresh);
  EXPECT_EQ(next.ResumeSavedGame(), 1);
  EXPECT_TRUE(fresh.HasCandidate(0, 0, 5) && fresh.HasCandidate(0, 0, 7));
  EXPECT_TRUE(fresh.IsGiven(4, 4));
  EXPECT_EQ(next.Progress().hints, 1);
  EXPECT_EQ(next.PlayedSeconds(), 5);
  now += 2000;
  next.TickClock();
  EXPECT_EQ(next.PlayedSeconds(), 7);
}

TEST_F(SessionFilesTest, ABadOrNewerSavedGameIsSetAsideAndTheBoardStays) {
  const std::string before = BoardSnapshot(board);
  for (const char* text : {"Kubri game 2\nsource level 1\n", "rubbish"}) {
    ASSERT_TRUE(folder.WriteBytes("KubriGame.dat", text));
    GameSession next;
    Link(next, &board);
    EXPECT_EQ(next.ResumeSavedGame(), 0) << text;
    EXPECT_EQ(folder.ReadBytes("KubriGame.dat"), "<missing>");
    EXPECT_EQ(folder.ReadBytes("KubriGame.dat.bad"), text);
    EXPECT_EQ(BoardSnapshot(board), before);
    std::filesystem::remove(folder.NativePath("KubriGame.dat.bad"));
    // Saving goes on.
    next.LeftPress(0, 0, 5);
    next.LeftPress(0, 0, 5);
    EXPECT_TRUE(ReadGame().board.HasCandidate(0, 0, 5));
    board = GridExcept({0, 1});
    std::filesystem::remove(folder.NativePath("KubriGame.dat"));
  }
}

TEST_F(SessionFilesTest, ASolvedPuzzleIsRecordedOnceWithItsTimeAndHintsAndNotResumed) {
  Hint hint;
  session.TakeHint(&hint);
  session.ClearSelection();
  now += 42000;
  Enter(session, 0, 0, 5);
  Enter(session, 0, 1, 3);
  ASSERT_EQ(verdicts, std::vector<bool>{true});
  PlayRecords records = ReadRecords();
  EXPECT_EQ(records.levels[0].solved, 1);
  EXPECT_EQ(records.levels[0].bestSeconds, 42);
  EXPECT_EQ(records.levels[0].hints, 1);
  // Taken back and entered again (the mark is still there): still one.
  session.Undo();
  session.LeftPress(0, 1, 3);
  session.LeftPress(0, 1, 3);
  EXPECT_EQ(verdicts, (std::vector<bool>{true, true}));
  EXPECT_EQ(ReadRecords().levels[0].solved, 1);
  session.SaveGameInProgress();

  Board fresh;
  GameSession next;
  Link(next, &fresh);
  EXPECT_EQ(next.ResumeSavedGame(), 0);
  EXPECT_FALSE(fresh.HasValue(4, 4));
  EXPECT_NE(folder.ReadBytes("KubriGame.dat"), "<missing>") << "finished, not bad: left in place";
  EXPECT_EQ(verdicts.size(), 2u);
}

// The game ended right after the entry that filled the board: the saved
// game holds the full board, unjudged, and the records may or may not have
// been written. The next start judges it, and counts it once in all.
TEST_F(SessionFilesTest, AFullBoardLeftUnjudgedIsJudgedAtResumeAndCountedOnce) {
  for (bool recordsWritten : {false, true}) {
    std::filesystem::remove(folder.NativePath("KubriRecords.dat"));
    SavedGame left;
    left.board = GridExcept({0, 1});
    left.board.SetValue(0, 0, 5);
    left.board.SetValue(0, 1, 3);
    left.progress.seconds = 42;
    if (recordsWritten) {
      PlayRecords records;
      ASSERT_EQ(CountSolve(&records, left.progress, PuzzleKeyOf(left.board), 42), kSolveCountedNow);
      ASSERT_TRUE(SaveRecordsFile(session.RecordsPath().c_str(), records));
    }
    ASSERT_TRUE(SaveGameFile(session.GamePath().c_str(), left));
    verdicts.clear();

    Board fresh;
    GameSession next;
    Link(next, &fresh);
    EXPECT_EQ(next.ResumeSavedGame(), 1);
    EXPECT_EQ(verdicts, std::vector<bool>{true});
    EXPECT_EQ(ReadRecords().levels[0].solved, 1) << recordsWritten;
    EXPECT_EQ(ReadRecords().levels[0].bestSeconds, 42);
    EXPECT_TRUE(ReadGame().progress.finished);
    EXPECT_TRUE(ReadGame().progress.counted);
    // Erased and entered again: still one.
    next.Select(0, 1);
    next.RightPress(0, 1, 3);
    Enter(next, 0, 1, 3);
    EXPECT_EQ(verdicts, (std::vector<bool>{true, true}));
    EXPECT_EQ(ReadRecords().levels[0].solved, 1);
  }
}

TEST_F(SessionFilesTest, AFullWrongBoardAtResumeIsJudgedAndPlayedOn) {
  SavedGame left;
  left.board = board;
  left.board.SetValue(0, 0, 3);
  left.board.SetValue(0, 1, 5);  // swapped
  ASSERT_TRUE(SaveGameFile(session.GamePath().c_str(), left));
  Board fresh;
  GameSession next;
  Link(next, &fresh);
  EXPECT_EQ(next.ResumeSavedGame(), 1);
  EXPECT_EQ(verdicts, std::vector<bool>{false});
  EXPECT_FALSE(ReadGame().progress.finished);
  EXPECT_EQ(ReadRecords().levels[0].solved, 0);
  // A board the answer filled comes back without a verdict.
  left.progress.answerUsed = true;
  ASSERT_TRUE(SaveGameFile(session.GamePath().c_str(), left));
  EXPECT_EQ(next.ResumeSavedGame(), 1);
  EXPECT_EQ(verdicts.size(), 1u);
}

TEST_F(SessionFilesTest, LeftoverTemporaryFilesOfTheGamesOwnSavesAreRemoved) {
  for (const char* name :
       {"Kubri.dat.tmp", "KubriGame.dat.tmp", "KubriRecords.dat.tmp", "KubriOptions.dat.tmp", "puzzle.kbr.tmp"}) {
    ASSERT_TRUE(folder.WriteBytes(name, "half"));
  }
  session.RemoveLeftoverSaves();
  EXPECT_EQ(folder.FileCount(), 1);
  EXPECT_EQ(folder.ReadBytes("puzzle.kbr.tmp"), "half") << "not the game's to judge";
}

// --- The records and the clock ------------------------------------------------

TEST_F(SessionFilesTest, TheAnswerAFileAndATypedPuzzleDoNotCount) {
  session.ShowAnswer();
  session.LeftPress(0, 1, 1);
  session.RightPress(0, 1, 1);  // the answered 3 taken away
  Enter(session, 0, 1, 3);
  EXPECT_EQ(verdicts, std::vector<bool>{true});
  EXPECT_EQ(ReadRecords().levels[0].solved, 0);

  session.StartEditing();
  session.RightPress(0, 1, 1);  // erased while typing in
  session.EndEditing();
  EXPECT_EQ(session.Progress().source, kSourceTyped);
  Enter(session, 0, 1, 3);
  EXPECT_EQ(verdicts.size(), 2u);
  EXPECT_TRUE(verdicts.back());

  session.OpenPuzzle(GridExcept({0}));
  Enter(session, 0, 0, 5);
  EXPECT_EQ(verdicts.size(), 3u);
  EXPECT_TRUE(verdicts.back());
  EXPECT_EQ(ReadRecords().levels[0].solved, 0);
}

TEST_F(SessionFilesTest, UndoBackToAnEarlierPuzzleBringsBackItsSourceTimeAndHints) {
  Hint hint;
  session.TakeHint(&hint);
  session.ClearSelection();
  now += 7000;
  session.StartEditing();
  session.RightPress(8, 8, 1);  // a given erased while typing in
  session.EndEditing();
  EXPECT_EQ(session.Progress().source, kSourceTyped);
  EXPECT_EQ(session.Progress().hints, 0);
  now += 3000;
  for (int i = 0; i < 3; ++i) session.Undo();
  EXPECT_EQ(session.Progress().source, kSourceLevel1);
  EXPECT_EQ(session.Progress().hints, 1);
  EXPECT_EQ(session.PlayedSeconds(), 7);
  EXPECT_EQ(ReadGame().progress.source, kSourceLevel1);
  for (int i = 0; i < 3; ++i) session.Redo();
  EXPECT_EQ(session.Progress().source, kSourceTyped);
  EXPECT_EQ(session.PlayedSeconds(), 3);
}

TEST_F(SessionFilesTest, TheClockRunsOnlyWhilePlayedAndStopsWhenSolved) {
  session.TickClock();
  now += 10000;
  session.TickClock();
  playing = false;  // inactive or minimised
  session.TickClock();
  now += 50000;
  session.TickClock();
  playing = true;
  session.TickClock();
  now += 3000;
  EXPECT_NE(session.RecordsText().find(L"この問題：0:13"), std::wstring::npos);
  EXPECT_EQ(session.PlayedSeconds(), 13);
  Enter(session, 0, 0, 5);
  Enter(session, 0, 1, 3);
  now += 99000;
  session.TickClock();
  EXPECT_EQ(session.PlayedSeconds(), 13);
  EXPECT_EQ(ReadRecords().levels[0].bestSeconds, 13);
}

TEST_F(SessionFilesTest, DamagedRecordsAreKeptAsideAndTheSolveStillCounts) {
  const std::string damaged = "Kubri records 1\nlevel 1 solved x\n";
  ASSERT_TRUE(folder.WriteBytes("KubriRecords.dat", damaged));
  Enter(session, 0, 0, 5);
  Enter(session, 0, 1, 3);
  EXPECT_EQ(folder.ReadBytes("KubriRecords.dat.bad"), damaged);
  EXPECT_EQ(ReadRecords().levels[0].solved, 1);
  EXPECT_NE(session.RecordsText().find(L"解いた数 1"), std::wstring::npos);
}

// --- The hint through the session ---------------------------------------------

// A level-2 puzzle whose first cell after what level 1 finds is a hidden
// single that pointing makes possible.
const char kLevel2[] = "...9.....5613.......865....9..7...64.....5.3..3..2.....1.5.6.7...9........6.87.5.";
// A level-3 puzzle whose first cell after what level 2 finds is a hidden
// single that a hidden pair in column 6 makes possible.
const char kLevel3[] = "8........35...21.867.....32..8.3....91...5...5....47....5.1..26.9.68.51...3......";

TEST_F(SessionFilesTest, AHintNamesAWrongValueFirstAndKeepsTheHighlight) {
  board = GridExcept({10, 40, 41});
  board.SetValue(4, 4, 1);  // r5c5 holds 5 in the solution
  board.SetCandidate(4, 5, 3, true);
  board.SetValue(1, 1, 7);  // right
  session.SetHighlight(2);
  EXPECT_EQ(TakeHint(), L"5行5列の「1」は間違いです");
  EXPECT_TRUE(session.IsSelected(4, 4));
  EXPECT_EQ(session.HighlightDigit(), 2);
  EXPECT_EQ(session.History().UndoCount(), 0);
}

TEST_F(SessionFilesTest, AHintNamesTheNextDecidedCellAndWhatWasNeededFirst) {
  board = GridExcept({80});
  EXPECT_EQ(TakeHint(), L"9行9列に「9」が入ります（消去法）");
  EXPECT_TRUE(session.IsSelected(8, 8));

  // Where level 1 is stuck, the hint names what was needed first, where it
  // is and its digits: the 7s of box 2 point along row 2.
  board = BoardFromLine(kLevel2);
  board.SolveAtLevel(1);
  ASSERT_FALSE(board.IsComplete());
  EXPECT_EQ(TakeHint(), L"2行5列に「7」が入ります（行の隠れシングル、先に2ブロックのポインティング「7」）");
  EXPECT_TRUE(session.IsSelected(1, 4));

  board = BoardFromLine(kLevel3);
  board.SolveAtLevel(2);
  EXPECT_EQ(TakeHint(), L"1行4列に「3」が入ります（行の隠れシングル、先に6列の隠れペア「1」「6」）");
  EXPECT_TRUE(session.IsSelected(0, 3));
}

// Hard puzzles where levels 1 to 3 stop: the hint names the technique of the
// level above that goes on and selects the cell it decides.
TEST_F(SessionFilesTest, WhereLevelThreeStopsTheHintNamesTheTechniqueOfLevelFour) {
  board = BoardFromLine("....51......9..3.5435.7.1.9..153....3.......6....167..5.6.4.8371.9..3......76....");
  board.SolveAtLevel(3);
  ASSERT_FALSE(board.IsComplete());
  EXPECT_EQ(TakeHint(), L"4行6列に「7」が入ります（ツーストリングカイト）");
  EXPECT_TRUE(session.IsSelected(3, 5));

  // A W-wing over row 8 leaves r7c3 the only place for 3 in its house.
  board = BoardFromLine("....2.634...9..82..8.....1...421....7..453..2....879...4.....7..72..8...169.4....");
  board.SolveAtLevel(3);
  ASSERT_FALSE(board.IsComplete());
  const std::wstring text = TakeHint();
  EXPECT_EQ(text.rfind(L"7行3列に「3」が入ります（", 0), 0u);
  EXPECT_NE(text.find(L"の隠れシングル、先に8行のWウィング「3」「5」）"), std::wstring::npos);
  EXPECT_TRUE(session.IsSelected(6, 2));
}

TEST_F(SessionFilesTest, TwoEqualDigitsOfAHouseAreNamedAndThePlayersOneSelected) {
  board.Clear();
  board.SetValue(0, 0, 5);  // two of the player's 5s in row 1, no givens
  board.SetValue(0, 4, 5);
  EXPECT_EQ(TakeHint(), L"1行1列の「5」が同じ行の「5」と重なっています");
  EXPECT_TRUE(session.IsSelected(0, 0));

  board.Clear();
  board.SetValue(7, 2, 7);  // a given 7 comes first; the player's is selected
  board.SetGiven(7, 2);
  board.SetValue(1, 2, 8);
  board.SetValue(2, 2, 7);
  EXPECT_EQ(TakeHint(), L"3行3列の「7」が同じ列の「7」と重なっています");
  EXPECT_TRUE(session.IsSelected(2, 2));

  board.Clear();
  board.SetValue(3, 3, 9);
  board.SetGiven(3, 3);
  board.SetValue(4, 5, 9);
  EXPECT_EQ(TakeHint(), L"5行6列の「9」が同じブロックの「9」と重なっています");
  EXPECT_TRUE(session.IsSelected(4, 5));

  board.Clear();  // givens alone that clash: the first
  for (int c : {8, 0}) {
    board.SetValue(8, c, 3);
    board.SetGiven(8, c);
  }
  EXPECT_EQ(TakeHint(), L"9行1列の「3」が同じ行の「3」と重なっています");
  EXPECT_TRUE(session.IsSelected(8, 0));
}

TEST_F(SessionFilesTest, NothingToSayOnAFullBoardNoLogicOnABrokenOneSeveralSolutionsOnFewGivens) {
  board = GridExcept({});
  session.Select(2, 3);
  EXPECT_EQ(TakeHint(), L"ヒントはありません");
  EXPECT_TRUE(session.IsSelected(2, 3));

  // Givens without a solution leave no digit to hold the player's against,
  // and a solve that decides cells on its way to a contradiction proves
  // nothing: no cell is pointed at. (A 7 at r8c1, where 2 belongs; the 7s
  // of its row, column and box are gone, so nothing clashes.)
  board = GridExcept({42, 45, 63, 65, 69});
  board.SetValue(7, 0, 7);
  board.SetGiven(7, 0);
  EXPECT_EQ(TakeHint(), L"この盤面からは論理だけでは解けません");
  EXPECT_TRUE(session.IsSelected(2, 3));

  board.Clear();
  EXPECT_EQ(TakeHint(), L"この問題には解が複数あります");
  board.SetValue(0, 0, 1);
  board.SetGiven(0, 0);
  EXPECT_EQ(TakeHint(), L"この問題には解が複数あります");
  EXPECT_TRUE(session.IsSelected(2, 3));
  EXPECT_EQ(session.Progress().hints, 4);
  EXPECT_EQ(ReadGame().progress.hints, 4) << "each hint is saved with the game";
}

// --- The board commands ---------------------------------------------------------

TEST_F(SessionFilesTest, NewPuzzleTakesTheLastStockedPuzzleOrMakesOneAtOnce) {
  Board first;
  Board second;
  ASSERT_TRUE(first.Generate(2, 2, 50000));
  ASSERT_TRUE(second.Generate(2, 2, 50000));
  stock.Add(&first);
  stock.Add(&second);
  ASSERT_EQ(stock.Count(2), 2);
  DirtyView();
  EXPECT_EQ(session.NewPuzzle(2), 1);
  EXPECT_EQ(stock.Count(2), 1);
  EXPECT_TRUE(SameValues(board, second));
  EXPECT_EQ(session.Progress().source, kSourceLevel2);
  ExpectViewReset();

  // An empty level: one is made now, that level 1 completes.
  DirtyView();
  EXPECT_EQ(session.NewPuzzle(1), 1);
  EXPECT_EQ(stock.Count(1), 0);
  ExpectViewReset();
  int givens = 0;
  for (int i = 0; i < 81; ++i) givens += board.IsGiven(i / 9, i % 9) ? 1 : 0;
  EXPECT_GT(givens, 0);
  EXPECT_LT(givens, 81);
  Board solved;
  solved.CopyDroppingMarksUnderValues(&board);
  EXPECT_TRUE(solved.SolveAtLevel(1));
  EXPECT_TRUE(solved.IsComplete());
  EXPECT_EQ(session.History().UndoCount(), 2);
  const std::string before = BoardSnapshot(board);
  EXPECT_EQ(session.NewPuzzle(0) + session.NewPuzzle(4), 0);
  EXPECT_EQ(BoardSnapshot(board), before);
}

TEST_F(SessionFilesTest, RetryKeepsOnlyTheGivensAndClearEmptiesTheBoard) {
  board.SetValue(0, 0, 5);
  board.SetCandidate(0, 1, 3, true);
  DirtyView();
  EXPECT_EQ(session.Retry(), 1);
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_FALSE(board.HasCandidate(0, 1, 3));
  EXPECT_EQ(board.GetValue(0, 2), 4);
  ExpectViewReset();

  DirtyView();
  EXPECT_EQ(session.ClearBoard(), 1);
  for (int i = 0; i < 81; ++i) {
    EXPECT_FALSE(board.HasValue(i / 9, i % 9));
    EXPECT_FALSE(board.IsGiven(i / 9, i % 9));
  }
  ExpectViewReset();
}

TEST_F(SessionFilesTest, TheAnswerSolvesFromTheBoardAsItStandsWithoutAVerdict) {
  board = GridExcept({0, 1, 2});
  DirtyView();
  EXPECT_EQ(session.ShowAnswer(), 1);
  EXPECT_TRUE(board.IsComplete());
  EXPECT_EQ(board.GetValue(0, 0), 5);
  EXPECT_TRUE(verdicts.empty());
  ExpectViewReset();

  // A wrong entry by the player is part of what the solver starts from.
  board = GridExcept({0, 1, 2, 9, 10, 11});
  board.SetValue(0, 0, 3);  // belongs at r1c2
  EXPECT_EQ(session.ShowAnswer(), 1);
  EXPECT_EQ(board.GetValue(0, 0), 3);
  EXPECT_FALSE(board.IsCorrect());
}

// Puzzles of one solution that level 3 does not complete, and one of
// several solutions.
const char kHard[] = "........75.1.26..8.8..41......18....2...7...5.....5...8...13.....76..54.34....8.1";
const char kHardSolution[] = "462839157591726438783541926675182394238974615914365782856413279127698543349257861";
const char kOtherHard[] = "4.9..65..82..9......5....2.....5.3.125.....977.4.6.....7....9......7..64..28..7.5";
const char kSeveral[] = "1.9..65..82..9......5....2.....5.3.125.....977.4.6.....7....9......7..64..28..7.5";

bool SameMarks(const Board& a, const Board& b) {
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c)
      for (int d = 1; d <= 9; ++d)
        if (a.HasCandidate(r, c, d) != b.HasCandidate(r, c, d)) return false;
  return true;
}

TEST_F(SessionFilesTest, TheAnswerFillsTheWholeSolutionWhereLevelThreeStopsShort) {
  board = BoardFromLine(kHard);
  board.SetValue(0, 0, 4);            // the player's digit, a right one
  board.SetCandidate(0, 1, 6, true);  // and marks, which stay under the answer
  board.SetCandidate(0, 1, 9, true);
  Board levelThree = board;
  ASSERT_TRUE(levelThree.SolveAtLevel(3));
  ASSERT_FALSE(levelThree.IsComplete());
  DirtyView();
  EXPECT_EQ(session.ShowAnswer(), 1);
  for (int i = 0; i < 81; ++i) EXPECT_EQ(board.GetValue(i / 9, i % 9), kHardSolution[i] - '0') << i;
  EXPECT_TRUE(board.HasCandidate(0, 1, 6));
  EXPECT_TRUE(board.HasCandidate(0, 1, 9));
  EXPECT_FALSE(board.IsGiven(0, 0));
  EXPECT_TRUE(verdicts.empty());
  ExpectViewReset();
  // One undo takes the whole answer back.
  EXPECT_EQ(session.Undo(), 1);
  EXPECT_EQ(board.GetValue(0, 0), 4);
  EXPECT_FALSE(board.HasValue(0, 1));
  EXPECT_TRUE(board.HasCandidate(0, 1, 6));
}

// Givens of several solutions, a player's wrong digit that level 3 does not
// refute, and one that it does: the answer is what level 3 decides.
TEST_F(SessionFilesTest, TheAnswerStaysWithLevelThreeForSeveralSolutionsOrAWrongDigit) {
  struct Case {
    const char* givens;
    int cell, digit;  // the player's digit, or digit 0
  };
  for (const Case& c : {Case{kSeveral, 0, 0}, Case{kOtherHard, 12, 5}, Case{kHard, 0, 3}}) {
    board = BoardFromLine(c.givens);
    if (c.digit) board.SetValue(c.cell / 9, c.cell % 9, c.digit);
    board.SetCandidate(8, 8, 2, true);
    Board levelThree = board;
    levelThree.SolveAtLevel(3);
    EXPECT_EQ(session.ShowAnswer(), 1);
    EXPECT_TRUE(SameValues(board, levelThree)) << c.givens;
    EXPECT_TRUE(SameMarks(board, levelThree)) << c.givens;
  }
}

TEST_F(SessionFilesTest, EditingFreesEveryGivenKeepsTheMarksAndResetsTheView) {
  board.SetValue(0, 0, 5);            // the player's value
  board.SetCandidate(0, 1, 3, true);  // a mark in an empty cell
  DirtyView();
  EXPECT_EQ(session.StartEditing(), 1);
  ExpectViewReset();
  for (int i = 0; i < 81; ++i) EXPECT_FALSE(board.IsGiven(i / 9, i % 9)) << i;
  DirtyView();
  EXPECT_EQ(session.EndEditing(), 1);
  ExpectViewReset();
  EXPECT_TRUE(board.IsGiven(0, 0));
  EXPECT_TRUE(board.IsGiven(8, 8));
  EXPECT_FALSE(board.IsGiven(0, 1));
  EXPECT_TRUE(board.HasCandidate(0, 1, 3));
}

}  // namespace
