// The view's side of the saved game, the records and the play clock: when
// they are written, what a resume restores, and the records box.
#include "view/board_view.h"

#include "puzzle/board.h"
#include "puzzle/safe_file.h"
#include "stock/play_rules.h"

bool MainWindowInPlay(HWND mainWindow) {
  return mainWindow && GetForegroundWindow() == mainWindow && !IsIconic(mainWindow);
}

std::wstring BoardView::GamePath() const { return SiblingPath(links.settingsPath, kGameFileName); }

std::wstring BoardView::RecordsPath() const { return SiblingPath(links.settingsPath, kRecordsFileName); }

void BoardView::TickClock() {
  if (!links.tickCount) return;
  HWND window = MainWindow();
  // A solved puzzle's time stands still.
  const bool playing = window && links.isPlaying && links.isPlaying(window) && !progress.finished;
  clock.Update(links.tickCount(), playing);
}

namespace {

void GivensOf(const Board& board, signed char (&givens)[81]) {
  for (int i = 0; i < 81; ++i) {
    givens[i] = static_cast<signed char>(board.IsGiven(i / 9, i % 9) ? board.GetValue(i / 9, i % 9) : 0);
  }
}

bool SameGivens(const signed char (&a)[81], const signed char (&b)[81]) {
  for (int i = 0; i < 81; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace

void BoardView::NotePuzzleInPlay() {
  if (inPlayNoted || editMode || !links.board) return;
  GivensOf(*links.board, inPlay.givens);
  inPlayNoted = true;
}

void BoardView::StartPuzzle(int source) {
  TickClock();
  if (inPlayNoted) {
    // The oldest kept puzzle makes room at the end.
    if (recentCount == kRecentPuzzles) {
      for (int i = 1; i < kRecentPuzzles; ++i) recent[i - 1] = recent[i];
      --recentCount;
    }
    recent[recentCount] = inPlay;
    recent[recentCount++].progress = progress;
    recent[recentCount - 1].progress.seconds = clock.Seconds();
  }
  progress = GameProgress();
  progress.source = source;
  clock.Reset(0);
  inPlayNoted = false;
  NotePuzzleInPlay();
  TickClock();
}

void BoardView::FollowPuzzleOnBoard() {
  if (editMode || !links.board) return;
  signed char shown[81];
  GivensOf(*links.board, shown);
  if (inPlayNoted && SameGivens(shown, inPlay.givens)) return;
  int found = -1;
  for (int i = 0; i < recentCount && found < 0; ++i) {
    if (SameGivens(shown, recent[i].givens)) found = i;
  }
  PuzzleInPlay back;
  if (found >= 0) {
    back = recent[found];
    for (int i = found + 1; i < recentCount; ++i) recent[i - 1] = recent[i];
    --recentCount;
  } else {
    back.progress.source = kSourceTyped;  // a puzzle of unknown origin
  }
  StartPuzzle(back.progress.source);
  progress = back.progress;
  clock.Reset(progress.seconds);
  TickClock();
}

int BoardView::ResumeSavedGame() {
  Board* board = links.board;
  if (!board) return 0;
  SavedGame saved;
  const GameFileResult result = LoadGameFile(GamePath().c_str(), &saved);
  // A file that could be neither read nor set aside must not be replaced.
  if (result == kGameFileUnreadable) gameFileBlocked = true;
  if (result != kGameFileRead || saved.progress.finished) return 0;
  *board = saved.board;
  SetEditMode(saved.editing);
  progress = saved.progress;
  inPlayNoted = false;
  recentCount = 0;
  clock.Reset(progress.seconds);
  TickClock();
  ResetView();
  UpdateMenuState();
  // The game ended between the entry that filled the board and the end of
  // its judgement: the verdict comes now, and a correct board is counted
  // unless the records already hold it.
  if (NeedsVerdictAtResume(saved)) JudgeFullBoard(*board);
  return 1;
}

void BoardView::RemoveLeftoverSaves() {
  RemoveLeftoverTemporary(links.settingsPath);
  RemoveLeftoverTemporary(GamePath().c_str());
  RemoveLeftoverTemporary(RecordsPath().c_str());
  RemoveLeftoverTemporary(OptionsPath().c_str());
}

void BoardView::SaveGameInProgress() {
  if (!HasReadSettingsFile() || gameFileBlocked || !links.board) return;
  TickClock();
  SavedGame game;
  game.board = *links.board;
  game.editing = editMode;
  game.progress = progress;
  game.progress.seconds = clock.Seconds();
  SaveGameFile(GamePath().c_str(), game);
}

// The records are written before the saved game is marked: a crash between
// the two leaves a full board that the next start judges again, and the
// records then know the puzzle.
void BoardView::FinishPuzzle() {
  TickClock();
  if (CountsAsSolved(progress) && AddToRecords()) progress.counted = true;
  progress.finished = true;
  SaveGameInProgress();
}

// Read just before the write, so that nothing written since start-up is
// lost; a records file that cannot be read is not written. True when the
// puzzle is in the records now, by this write or an earlier one.
bool BoardView::AddToRecords() {
  if (!HasReadSettingsFile() || !links.board) return false;
  const std::wstring path = RecordsPath();
  PlayRecords records;
  if (LoadRecordsFile(path.c_str(), &records) == kGameFileUnreadable) return false;
  switch (CountSolve(&records, progress, PuzzleKeyOf(*links.board), clock.Seconds())) {
    case kSolveCountedNow:
      return SaveRecordsFile(path.c_str(), records);
    case kSolveCountedBefore:
      return true;
    default:
      return false;
  }
}

int BoardView::ShowRecords() {
  TickClock();
  PlayRecords records;
  LoadRecordsFile(RecordsPath().c_str(), &records);
  const std::wstring text = FormatRecords(records, clock.Seconds());
  if (links.messageBox) links.messageBox(MainWindow(), text.c_str(), kMessageCaption, MB_OK);
  return 1;
}
