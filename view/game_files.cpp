// The view's side of the saved game, the records and the play clock: when
// they are written, what a resume restores, and the records box.
#include "view/board_view.h"

#include "puzzle/board.h"

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
  return 1;
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

void BoardView::FinishPuzzle() {
  TickClock();
  if (CountsAsSolved(progress) && AddToRecords()) progress.counted = true;
  progress.finished = true;
  SaveGameInProgress();
}

// Read again just before the write, so that records another Kubri wrote in
// the meantime are kept; a records file that cannot be read is not written.
bool BoardView::AddToRecords() {
  if (!HasReadSettingsFile()) return false;
  const std::wstring path = RecordsPath();
  PlayRecords records;
  if (LoadRecordsFile(path.c_str(), &records) == kGameFileUnreadable) return false;
  AddSolved(&records, progress.source, clock.Seconds(), progress.hints);
  return SaveRecordsFile(path.c_str(), records);
}

int BoardView::ShowRecords() {
  TickClock();
  PlayRecords records;
  LoadRecordsFile(RecordsPath().c_str(), &records);
  const std::wstring text = FormatRecords(records, clock.Seconds());
  if (links.messageBox) links.messageBox(MainWindow(), text.c_str(), kMessageCaption, MB_OK);
  return 1;
}
