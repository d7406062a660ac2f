// The game as it is played, without a window: the board in play with its
// undo history, the selection, edit mode and same-digit highlight, the
// progress of the puzzle and of the last ones before it, the saved game,
// the records, the player's options and the play clock; and the rules of a
// press on a cell's keypad, of the keys and of every board command.
//
// The window's side (view/board_view.h) turns messages into these calls and
// shows what they ask for: the verdict on a full board, a hint, the records.
#pragma once

#include <functional>
#include <string>

#include "puzzle/board_history.h"
#include "solver/explain.h"
#include "stock/play_records.h"
#include "stock/player_options.h"
#include "stock/saved_game.h"

class Board;
class PuzzleStock;

// A reading of the play clock: milliseconds of any steady clock, and
// whether the time from now on counts (the game's window is in front).
struct ClockReading {
  unsigned long long milliseconds = 0;
  bool playing = false;
};

// What the session reaches outside itself, all borrowed.
struct SessionLinks {
  Board* board = nullptr;
  PuzzleStock* stock = nullptr;  // new puzzles come from here when it has one
  // The settings file; the saved game, the records and the options lie
  // beside it. Null for the working folder's.
  const wchar_t* settingsPath = nullptr;
  // Null: the clock stands still.
  std::function<ClockReading()> readClock;
  // A full board was judged; the records are written by then.
  std::function<void(bool correct)> verdict;
  // The history, the mode or the aids changed: what the menus show may have.
  std::function<void()> changed;
};

// The keys of the keyboard play, whatever key codes stand for them.
enum class PlayKey { kLeft, kRight, kUp, kDown, kErase, kSpace, kDigit };

class GameSession {
 public:
  GameSession() = default;
  explicit GameSession(const SessionLinks& newLinks) : links(newLinks) {}
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  void SetLinks(const SessionLinks& newLinks) { links = newLinks; }
  const SessionLinks& Links() const { return links; }

  // --- The view state. Setters ignore values outside their ranges. -------
  bool IsSelected(int row, int col) const;
  void Select(int row, int col);
  void ClearSelection();
  int SelectedRow() const { return selectedRow; }
  int SelectedCol() const { return selectedCol; }
  bool IsEditMode() const { return editMode; }
  void SetEditMode(bool on) { editMode = on; }
  bool HasHighlight() const { return highlightDigit != 0; }
  int HighlightDigit() const { return highlightDigit; }
  void SetHighlight(int digit);
  void ClearHighlight();

  // --- The rules of play. Each returns 1 when it did something, else 0
  // (also without a board). -----------------------------------------------

  // A press of the left or right button on cell (row, col) at keypad
  // position `digit` (1-9, the digit drawn there). The left button selects
  // a cell, then: in edit mode types the digit in; on a filled cell turns
  // the same-digit highlight on or off; on a marked digit enters it; else
  // marks it. The right button on another cell drops the selection (and in
  // edit mode blanks that cell); on the selected cell it erases a player's
  // digit, or unmarks a marked digit, or else drops the selection.
  int LeftPress(int row, int col, int digit);
  int RightPress(int row, int col, int digit);
  // A key of the keyboard play, `repeated` when the keyboard sends it again
  // for a key held down. The arrows move the selection (r5c5 when there is
  // none); a digit (1-9) enters it, with Shift marks or unmarks it; erase
  // acts as a right click on a position with no mark, and while a puzzle is
  // typed in blanks the cell instead; Space acts as a left click on a filled
  // cell. A held key repeats only the moves.
  int Key(PlayKey key, int digit, bool shift, bool repeated);

  // The board commands. Each is one undo step and drops the selection and
  // the highlight, but the hint and all candidates, which keep them.
  int NewPuzzle(int level);  // from the stock, or made now when it has none
  int OpenPuzzle(const Board& loaded);  // a puzzle read from a file
  int Retry();       // back to the givens
  int ShowAnswer();  // the solution filled in (see FillAnswer)
  int StartEditing();  // every cell editable; values and marks stay
  int EndEditing();    // every value a given: a puzzle typed in
  int ClearBoard();
  // Every open cell's candidates marked, as one step. 0 in edit mode or
  // without an open cell.
  int MarkAllCandidates();
  // Back to the board and mode before the last step, or forward again past
  // the next one; clears the selection and the highlight. 1 when there was
  // such a step. Neither runs the completion check.
  int Undo();
  int Redo();
  const BoardHistory& History() const { return history; }
  // Points at a wrong value or the next cell the solver decides, selecting
  // it; on a broken board it names two equal digits of a house instead
  // (selecting one of them); givens with several solutions it says have
  // them; else it says that logic decides no cell from here; a full board
  // with nothing wrong gets the hint of nothing. Changes no value and no
  // mark; counts the hint. False without a board.
  bool TakeHint(Hint* hint);
  // The records box's text, with the current puzzle's time.
  std::wstring RecordsText();
  // Flips one switch of the aids and keeps it in the options file.
  void ToggleOption(bool PlayerOptions::*option);
  const PlayerOptions& Options() const { return options; }

  // --- The files beside the settings file and the clock. ----------------
  std::wstring GamePath() const;
  std::wstring RecordsPath() const;
  std::wstring OptionsPath() const;
  // Whether the settings file has been read in this run: the one condition
  // for writing any file that keeps state between runs. A close before
  // that, a start-up that ends early, writes none of them.
  bool HasReadSettingsFile() const { return settingsFileRead; }
  void NoteSettingsFileRead() { settingsFileRead = true; }
  // Reads the options file (both switches off when there is none or it is
  // bad; a bad one is set aside).
  void LoadPlayerOptions();
  // Replaces the board, mode and progress with the saved game when there is
  // a readable one that is not finished; a bad one is set aside. 1 when a
  // game was resumed. Undo starts empty. A full board that was never judged
  // (the game ended right after the entry that filled it) gets its verdict
  // at once.
  int ResumeSavedGame();
  // Removes the temporary files of the settings file, the saved game, the
  // records and the options that a copy of the game ended during a save
  // left behind. Only while no other copy runs in the folder.
  void RemoveLeftoverSaves();
  // Writes the board, mode and progress to the saved game (atomically);
  // nothing before the settings file was read or when a file there could
  // not be read.
  void SaveGameInProgress();
  // Adds the time since the last reading to the play clock when the game
  // was being played and the puzzle is not solved.
  void TickClock();
  const GameProgress& Progress() const { return progress; }
  long long PlayedSeconds() const { return clock.Seconds(); }

 private:
  Board* board() const { return links.board; }
  void Changed() const {
    if (links.changed) links.changed();
  }
  void ResetView();

  int EnterValue(Board& board, int row, int col, int digit);
  void JudgeFullBoard(Board& board);
  int LeftPressOnCell(Board& board, int row, int col, int digit);
  int RightPressOnCell(Board& board, int row, int col, int digit);
  int MoveSelection(int rows, int cols);
  int DigitKey(int digit, bool shift);

  // Runs `change` on the board as one undo step, then the view reset; 0
  // without a board, else 1.
  template <typename Change>
  int ChangeBoard(Change change);
  // A step of the history: BeginStep notes the board and mode before a
  // change, EndStep records the change, if there was one, and saves the
  // game. True when a step was recorded.
  BoardState CurrentState() const;
  void BeginStep();
  bool EndStep();
  template <typename Change>
  bool RecordStep(Change change) {
    BeginStep();
    change();
    return EndStep();
  }
  int MoveThroughHistory(bool forward);

  // The puzzle on the board from now on came from `source`: time, hints
  // and flags start again. The progress of the puzzle before is kept for
  // an undo that brings that puzzle back.
  void StartPuzzle(int source);
  // After undo (backwards) or redo: when the board's givens belong to
  // another puzzle, that puzzle's progress comes back (or, unknown, a
  // typed-in puzzle's), and the one left is kept for the way back.
  void FollowPuzzleOnBoard(bool forward);
  // The puzzle in play with its progress as it stands.
  struct PuzzleInPlay;
  PuzzleInPlay Leaving();
  // Notes the board's givens as the puzzle in play when none is noted.
  void NotePuzzleInPlay();
  // A puzzle judged correct: into the records once, and finished.
  void FinishPuzzle();
  bool AddToRecords();

  SessionLinks links;
  int selectedRow = -1;
  int selectedCol = -1;
  bool editMode = false;
  int highlightDigit = 0;
  bool settingsFileRead = false;
  BoardHistory history;
  BoardState stepStart;  // the state BeginStep noted
  GameProgress progress;
  PlayClock clock;
  // The givens of the puzzle `progress` belongs to (given digits, 0
  // elsewhere), and the progress of the last puzzles the history passes
  // before it and after it: an undo finds a puzzle among the earlier ones,
  // a redo among the later ones, the latest play of a puzzle first.
  struct PuzzleInPlay {
    GameProgress progress;
    signed char givens[81] = {};
  };
  class PuzzleShelf {
   public:
    // The oldest makes room when the shelf is full.
    void Push(const PuzzleInPlay& puzzle);
    // Takes the latest puzzle of these givens off the shelf.
    bool Take(const signed char (&givens)[81], PuzzleInPlay* puzzle);
    void Clear() { count = 0; }

   private:
    static constexpr int kCapacity = 4;
    PuzzleInPlay puzzles[kCapacity];
    int count = 0;
  };
  PuzzleInPlay inPlay;
  bool inPlayNoted = false;
  PuzzleShelf earlier;
  PuzzleShelf later;
  bool gameFileBlocked = false;  // a saved game there could not be read or set aside
  PlayerOptions options;
  bool optionsFileBlocked = false;  // an options file there could not be read or set aside
};

// The answer: what the play level decides from the board as it stands, the
// player's digits included. Where it stops short without a contradiction
// and the givens have exactly one solution that every digit on the board
// agrees with, that whole solution instead, each cell keeping its marks as a
// cell the solver decides does. A player's wrong digit, or givens of several
// solutions, leave the play level's answer.
void FillAnswer(Board& board);
