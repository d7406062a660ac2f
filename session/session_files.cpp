// The session's side of the files beside the settings file (the saved game,
// the records, the options) and of the play clock: when they are written,
// what a resume restores, and which puzzle the progress belongs to.
#include <cstring>

#include "puzzle/board.h"
#include "puzzle/safe_file.h"
#include "session/game_session.h"
#include "session/play_rules.h"
#include "stock/settings_file.h"

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

std::wstring GameSession::GamePath() const { return SiblingPath(links.settingsPath, kGameFileName); }

std::wstring GameSession::RecordsPath() const { return SiblingPath(links.settingsPath, kRecordsFileName); }

std::wstring GameSession::OptionsPath() const { return SiblingPath(links.settingsPath, kOptionsFileName); }

void GameSession::TickClock() {
  if (!links.readClock) return;
  const ClockReading reading = links.readClock();
  // A solved puzzle's time stands still.
  clock.Update(reading.milliseconds, reading.playing && !progress.finished);
}

// --- The puzzle in play and the ones before it --------------------------------

void GameSession::NotePuzzleInPlay() {
  if (inPlayNoted || editMode || !board()) return;
  GivensOf(*board(), inPlay.givens);
  inPlayNoted = true;
}

void GameSession::PuzzleShelf::Push(const PuzzleInPlay& puzzle) {
  if (count == kCapacity) {
    for (int i = 1; i < kCapacity; ++i) puzzles[i - 1] = puzzles[i];
    --count;
  }
  puzzles[count++] = puzzle;
}

bool GameSession::PuzzleShelf::Take(const signed char (&givens)[81], PuzzleInPlay* puzzle) {
  for (int i = count - 1; i >= 0; --i) {
    if (!SameGivens(givens, puzzles[i].givens)) continue;
    *puzzle = puzzles[i];
    for (int j = i + 1; j < count; ++j) puzzles[j - 1] = puzzles[j];
    --count;
    return true;
  }
  return false;
}

GameSession::PuzzleInPlay GameSession::Leaving() {
  TickClock();
  PuzzleInPlay left = inPlay;
  left.progress = progress;
  left.progress.seconds = clock.Seconds();
  return left;
}

void GameSession::StartPuzzle(int source) {
  // A new puzzle ends the way forward, as it ends the history's.
  if (inPlayNoted) earlier.Push(Leaving());
  later.Clear();
  progress = GameProgress();
  progress.source = source;
  clock.Reset(0);
  inPlayNoted = false;
  NotePuzzleInPlay();
  TickClock();
}

void GameSession::FollowPuzzleOnBoard(bool forward) {
  if (editMode || !board()) return;
  signed char shown[81];
  GivensOf(*board(), shown);
  if (inPlayNoted && SameGivens(shown, inPlay.givens)) return;
  PuzzleInPlay back;
  if (!(forward ? later : earlier).Take(shown, &back)) {
    back.progress.source = kSourceTyped;  // a puzzle of unknown origin
    std::memcpy(back.givens, shown, sizeof shown);
  }
  if (inPlayNoted) (forward ? earlier : later).Push(Leaving());
  inPlay = back;
  inPlayNoted = true;
  progress = back.progress;
  clock.Reset(progress.seconds);
  TickClock();
}

// --- The saved game -----------------------------------------------------------

int GameSession::ResumeSavedGame() {
  Board* current = board();
  if (!current) return 0;
  SavedGame saved;
  const GameFileResult result = LoadGameFile(GamePath().c_str(), &saved);
  // A file that could be neither read nor set aside must not be replaced.
  if (result == kGameFileUnreadable) gameFileBlocked = true;
  if (result != kGameFileRead || saved.progress.finished) return 0;
  *current = saved.board;
  SetEditMode(saved.editing);
  progress = saved.progress;
  inPlayNoted = false;
  earlier.Clear();
  later.Clear();
  clock.Reset(progress.seconds);
  TickClock();
  ResetView();
  Changed();
  // The game ended between the entry that filled the board and the end of
  // its judgement: the verdict comes now, and a correct board is counted
  // unless the records already hold it.
  if (NeedsVerdictAtResume(saved)) JudgeFullBoard(*current);
  return 1;
}

void GameSession::RemoveLeftoverSaves() {
  const std::wstring settings = links.settingsPath ? links.settingsPath : kSettingsFileName;
  RemoveLeftoverTemporary(settings.c_str());
  RemoveLeftoverTemporary(GamePath().c_str());
  RemoveLeftoverTemporary(RecordsPath().c_str());
  RemoveLeftoverTemporary(OptionsPath().c_str());
}

void GameSession::SaveGameInProgress() {
  if (!HasReadSettingsFile() || gameFileBlocked || !board()) return;
  TickClock();
  SavedGame game;
  game.board = *board();
  game.editing = editMode;
  game.progress = progress;
  game.progress.seconds = clock.Seconds();
  SaveGameFile(GamePath().c_str(), game);
}

// --- The records --------------------------------------------------------------

// The records are written before the saved game is marked: a crash between
// the two leaves a full board that the next start judges again, and the
// records then know the puzzle.
void GameSession::FinishPuzzle() {
  TickClock();
  if (CountsAsSolved(progress) && AddToRecords()) progress.counted = true;
  progress.finished = true;
  SaveGameInProgress();
}

// Read just before the write, so that nothing written since start-up is
// lost; a records file that cannot be read is not written. True when the
// puzzle is in the records now, by this write or an earlier one.
bool GameSession::AddToRecords() {
  if (!HasReadSettingsFile() || !board()) return false;
  const std::wstring path = RecordsPath();
  PlayRecords records;
  if (LoadRecordsFile(path.c_str(), &records) == kGameFileUnreadable) return false;
  switch (CountSolve(&records, progress, PuzzleKeyOf(*board()), clock.Seconds())) {
    case kSolveCountedNow:
      return SaveRecordsFile(path.c_str(), records);
    case kSolveCountedBefore:
      return true;
    default:
      return false;
  }
}

std::wstring GameSession::RecordsText() {
  TickClock();
  PlayRecords records;
  LoadRecordsFile(RecordsPath().c_str(), &records);
  return FormatRecords(records, clock.Seconds());
}

// --- The player's options -----------------------------------------------------

void GameSession::LoadPlayerOptions() {
  // A file that could be neither read nor set aside must not be replaced.
  optionsFileBlocked = LoadOptionsFile(OptionsPath().c_str(), &options) == kGameFileUnreadable;
  Changed();
}

void GameSession::ToggleOption(bool PlayerOptions::*option) {
  options.*option = !(options.*option);
  // Before the settings file was read (a start-up that ends early) nothing
  // kept between runs is written.
  if (HasReadSettingsFile() && !optionsFileBlocked) SaveOptionsFile(OptionsPath().c_str(), options);
  Changed();
}
