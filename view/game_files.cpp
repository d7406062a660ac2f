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

void BoardView::StartPuzzle(int source) {
  progress = GameProgress();
  progress.source = source;
  clock.Reset(0);
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
  clock.Reset(progress.seconds);
  TickClock();
  ResetView();
  UpdateMenuState();
  return 1;
}

void BoardView::SaveGameInProgress() {
  if (!FilesReady() || gameFileBlocked || !links.board) return;
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
  if (!FilesReady()) return false;
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
