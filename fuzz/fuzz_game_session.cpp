// Plays the game session with the bytes as the player's hand: presses of
// both buttons, keys, every board command as its menu allows it, undo and
// redo, hints followed, switches flipped, time passing, and the game ended
// and started again from its saved game. After every step the session must
// hold to its rules:
// - the givens change only while a puzzle is typed in (or with a new
//   puzzle, an undo or a redo);
// - an undo followed by a redo gives back the same board, mode and
//   progress;
// - the saved game on disk, read back, is the session's game;
// - a puzzle is counted in the records at most once.
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "fuzz/fuzz_streams.h"
#include "puzzle/board.h"
#include "puzzle/test_files.h"
#include "session/game_session.h"
#include "solver/techniques.h"
#include "stock/puzzle_stock.h"

namespace {

const char kGrid[] = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

// Few open cells, so that a run of followed hints solves them.
Board GridWithHoles(int first, int step, int count) {
  std::string line = kGrid;
  for (int i = 0; i < count; ++i) line[(first + i * step) % 81] = '.';
  return BoardFromLine(line);
}

// The bytes, read one at a time; zeros once they run out.
struct Hand {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  int Next() { return at < size ? data[at++] : 0; }
  int Below(int n) { return Next() % n; }
  bool Done() const { return at >= size; }
};

bool SameGivens(const Board& a, const Board& b) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (a.IsGiven(row, col) != b.IsGiven(row, col)) return false;
      if (a.IsGiven(row, col) && a.GetValue(row, col) != b.GetValue(row, col)) return false;
    }
  }
  return true;
}

bool SameProgress(const GameProgress& a, const GameProgress& b) {
  return a.source == b.source && a.hints == b.hints && a.answerUsed == b.answerUsed && a.counted == b.counted;
}

long long SolvedInRecords(const std::wstring& path) {
  PlayRecords records;
  if (LoadRecordsFile(path.c_str(), &records) != kGameFileRead) return 0;
  long long solved = 0;
  for (const LevelRecord& level : records.levels) solved += level.solved;
  return solved;
}

// One game: a board, a stock of small puzzles, a session on them, and the
// files in a scratch folder.
class Game {
 public:
  explicit Game(const ScratchFolder& scratch) : folder(scratch), settings(folder.Path("Kubri.dat")) {
    for (int level = 0; level < 2; ++level) {
      stockBoards[level] = GridWithHoles(level * 7, 11, 4 + level);
      stock.Add(&stockBoards[level]);
    }
    Start();
  }

  // A new run of the game over the same files.
  void Start() {
    session = std::make_unique<GameSession>();
    SessionLinks links;
    links.board = &board;
    links.stock = &stock;
    links.settingsPath = settings.c_str();
    links.readClock = [this] { return ClockReading{now, playing}; };
    links.verdict = [](bool) {};
    session->SetLinks(links);
    session->NoteSettingsFileRead();
    session->LoadPlayerOptions();
    session->ResumeSavedGame();
  }

  void Step(Hand& hand) {
    GameSession& s = *session;
    const Board before = board;
    const bool editing = s.IsEditMode();
    bool givensMayChange = editing;
    const int row = hand.Below(9), col = hand.Below(9), digit = 1 + hand.Below(9);
    const int action = hand.Below(20);
    // KUBRI_FUZZ_TRACE=1 tells the steps of a finding as they are played.
    static const bool trace = std::getenv("KUBRI_FUZZ_TRACE") != nullptr;
    if (trace) std::fprintf(stderr, "action %d at r%dc%d digit %d\n", action, row + 1, col + 1, digit);
    switch (action) {
      case 0:
      case 1:
      case 2:
        s.LeftPress(row, col, digit);
        break;
      case 3:
        s.RightPress(row, col, digit);
        break;
      case 4:
      case 5:
        s.Key(PlayKey(hand.Below(7)), digit, hand.Below(2), hand.Below(4) == 0);
        break;
      case 6:
        s.Select(row, col);
        break;
      case 7:
        // The menu grays the board commands while a puzzle is typed in,
        // and the end of typing outside it.
        givensMayChange = true;
        if (editing) {
          hand.Below(2) ? s.EndEditing() : s.ClearBoard();
        } else {
          const int which = hand.Below(3);
          // Only from the stock: a puzzle made on the spot takes its time.
          const int level = kLowestLevel + hand.Below(kPlayLevelCount);
          if (which == 0 && stock.Count(level) == 0) stock.Add(&stockBoards[hand.Below(2)]);
          if (which == 0 && stock.Count(level) > 0) s.NewPuzzle(level);
          if (which == 1) s.OpenPuzzle(GridWithHoles(hand.Next(), 1 + hand.Below(9), hand.Below(30)));
          if (which == 2) s.StartEditing();
        }
        break;
      case 8:
        if (!editing) hand.Below(2) ? s.Retry() : s.ShowAnswer();
        break;
      case 9:
        if (!editing) s.MarkAllCandidates();
        break;
      case 10:
      case 11:
        if (!editing) FollowHint();
        break;
      case 12:
      case 13:
        givensMayChange = true;
        UndoThenRedo();
        break;
      case 14:
        givensMayChange = true;
        s.Undo();
        break;
      case 15:
        givensMayChange = true;
        s.Redo();
        break;
      case 16:
        s.ToggleOption(hand.Below(2) ? &PlayerOptions::marksFollowEntries : &PlayerOptions::showClashes);
        break;
      case 17:
        now += static_cast<unsigned long long>(hand.Next()) * 997;
        playing = hand.Below(2);
        s.TickClock();
        break;
      case 18:
        s.RecordsText();
        break;
      default:
        givensMayChange = true;
        Restart();
        break;
    }
    if (!givensMayChange) FUZZ_CHECK(SameGivens(before, board), "the givens change only in edit mode");
    CheckSavedGame();
    CheckCountedOnce();
  }

 private:
  // What a player who asks for a hint and plays it does.
  void FollowHint() {
    Hint hint;
    if (!session->TakeHint(&hint) || hint.kind != kHintDecided) return;
    for (int press = 0; press < 2 && !board.HasValue(hint.row, hint.col); ++press) {
      session->LeftPress(hint.row, hint.col, hint.digit);
    }
  }

  void UndoThenRedo() {
    const Board shown = board;
    const bool editing = session->IsEditMode();
    const GameProgress progress = session->Progress();
    if (!session->Undo()) return;
    FUZZ_CHECK(session->Redo() == 1, "what was undone can be redone");
    FUZZ_CHECK(SameState(BoardState{shown, editing}, BoardState{board, session->IsEditMode()}),
               "undo then redo gives back the board and the mode");
    // While a puzzle is typed in no progress is kept: ending the typing
    // starts a new puzzle, and its redo brings back that puzzle's.
    if (!editing) FUZZ_CHECK(SameProgress(progress, session->Progress()), "and the puzzle's progress");
  }

  // The game ends and starts again: what it resumes is what was played.
  void Restart() {
    const Board shown = board;
    const bool editing = session->IsEditMode();
    const GameProgress progress = session->Progress();
    board.Clear();
    Start();
    if (progress.finished) {
      // A solved game is not resumed; its file stays until this run writes.
      leftBehind = folder.ReadBytes("KubriGame.dat");
      return;
    }
    FUZZ_CHECK(SameState(BoardState{shown, editing}, BoardState{board, session->IsEditMode()}),
               "a restart resumes the board and the mode");
    FUZZ_CHECK(SameProgress(progress, session->Progress()), "and the puzzle's progress");
  }

  void CheckSavedGame() {
    if (!leftBehind.empty() && folder.ReadBytes("KubriGame.dat") == leftBehind) return;
    leftBehind.clear();
    SavedGame saved;
    if (LoadGameFile(session->GamePath().c_str(), &saved) != kGameFileRead) return;
    FUZZ_CHECK(SameState(BoardState{saved.board, saved.editing}, BoardState{board, session->IsEditMode()}),
               "the saved game holds the board and the mode");
    FUZZ_CHECK(SameProgress(saved.progress, session->Progress()), "and the progress");
    FUZZ_CHECK(saved.progress.finished == session->Progress().finished, "and whether it is solved");
  }

  void CheckCountedOnce() {
    const long long solved = SolvedInRecords(session->RecordsPath());
    if (solved == solvedBefore) return;
    FUZZ_CHECK(solved == solvedBefore + 1, "one solve counts one");
    FUZZ_CHECK(counted.insert(PuzzleKeyOf(board)).second, "a puzzle is counted at most once");
    solvedBefore = solved;
  }

  const ScratchFolder& folder;
  std::wstring settings;
  std::string leftBehind;  // the saved game an earlier run left, not yet written over
  Board board;
  Board stockBoards[2];
  PuzzleStock stock;
  std::unique_ptr<GameSession> session;
  unsigned long long now = 0;
  bool playing = true;
  long long solvedBefore = 0;
  std::set<PuzzleKey> counted;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ScratchFolder folder;
  if (!folder.IsReady()) return 0;
  Game game(folder);
  Hand hand{data, size};
  while (!hand.Done()) game.Step(hand);
  return 0;
}
