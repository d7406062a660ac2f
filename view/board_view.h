// The game's one view object: the view state (selection, edit mode,
// highlight, puzzle path, size), board layout and hit test, the mouse rules,
// the menu commands with the menu state, and the drawing of the board.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "puzzle/board_history.h"
#include "stock/play_records.h"
#include "stock/player_options.h"
#include "stock/saved_game.h"
#include "view/view_base.h"

class Board;
class PuzzleStock;
class GeneratorThread;

// The main window is the foreground window and not minimised.
bool MainWindowInPlay(HWND mainWindow);

// Everything the view reaches outside itself. The game points it at its
// process-wide objects and the real system calls (view/game_objects.cpp);
// tests put in their own board, window, dialog and message box. All borrowed:
// the view owns none of them.
struct ViewLinks {
  Board* board = nullptr;
  PuzzleStock* stock = nullptr;
  GeneratorThread* generator = nullptr;
  // The main window, owner of dialogs and message boxes, holder of the menu.
  HWND (*mainWindow)() = nullptr;
  // The save-file common dialog, used for opening as well as saving.
  BOOL(WINAPI* saveFileDialog)(OPENFILENAMEW*) = GetSaveFileNameW;
  int(WINAPI* messageBox)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
  // Whether Ctrl, Shift or Alt is held while a key message is handled.
  SHORT(WINAPI* keyState)(int) = GetKeyState;
  // The settings and stock file written on close. The saved game and the
  // records lie in the same folder.
  const wchar_t* settingsPath = L".\\Kubri.dat";
  // The play clock's milliseconds, and whether the time counts now: the
  // main window is the active one and not minimised.
  ULONGLONG(WINAPI* tickCount)() = GetTickCount64;
  bool (*isPlaying)(HWND mainWindow) = MainWindowInPlay;
};

// Texts the view shows.
extern const wchar_t kMessageCaption[];   // "Kubri"
extern const wchar_t kCorrectMessage[];   // "正解＼(^▽^)／"
extern const wchar_t kWrongMessage[];     // "不正解(´･ω･`)"
extern const wchar_t kAboutMessage[];     // "Kubri v1.2"
extern const wchar_t kSaveFailedMessage[];  // "保存できませんでした"
extern const wchar_t kOpenDialogTitle[];  // "開くファイル名"
extern const wchar_t kSaveDialogTitle[];  // "保存するファイル名"
extern const wchar_t kDigitTextureFile[];  // "Number.dds"
// The files kept beside the settings file are named in stock/ with their
// formats: kGameFileName, kRecordsFileName, kOptionsFileName.

class BoardView : public ViewBase {
 public:
  static constexpr int kPathCapacity = 260;

  // No selection, no highlight, normal mode, empty path, size index 1.
  BoardView();
  explicit BoardView(const ViewLinks& links);
  ~BoardView() override;

  void SetLinks(const ViewLinks& newLinks) { links = newLinks; }
  const ViewLinks& Links() const { return links; }

  // Base objects, then lighting off and depth test on, the digit texture
  // and the menu state. E_FAIL for a null device, a failed buffer or a
  // texture that cannot be loaded; a failure leaves no object held.
  HRESULT CreateDeviceObjects(IDirect3DDevice9* device) override;
  // Rebuilds both lists from the board and the view state and draws them.
  void Render(IDirect3DDevice9* device) override;

  int OnCreate(LPARAM createParams) override;
  // Stops and joins the generator thread, then writes the settings file.
  // Returns 0 so that the window still closes.
  int OnClose() override;
  // Writes the settings file (size and stock) now, taking the stock's lock;
  // nothing before the file was read at start-up. False when not written.
  bool SaveSettingsNow();
  int OnLeftButtonDown(short x, short y) override;
  int OnLeftDoubleClick(short x, short y) override;
  int OnRightButtonDown(short x, short y) override;
  int OnRightDoubleClick(short x, short y) override;
  int OnCommand(WORD id) override;
  // Holds the client area at ten cells square: corrects one dimension per
  // call by resizing the main window with its top-left corner fixed.
  // 1 when it asked for a new size, else 0 (also for a 0 width or height).
  int OnSize(WORD width, WORD height) override;
  // Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo; Ctrl+M marks all
  // candidates. Without Ctrl the keys
  // play the selected cell as the clicks they stand for: the arrows move
  // the selection (r5c5 when there is none), 1-9 on the main row or the
  // keypad enter a digit, Shift+1-9 mark one, Delete and Backspace act as a
  // right click, Space as a left click on a filled cell; while a puzzle is
  // typed in, Delete and Backspace blank the selected cell instead. A key
  // held down repeats only the moves and undo or redo. 1 when the key did
  // something; every other key, and any key with Alt held, is left to the
  // framework (0).
  int OnKeyDown(WORD key, bool repeated) override;
  // Takes the new DPI, moves the window to the suggested rectangle and then
  // holds the client area at ten of the new cells. 1.
  int OnDpiChanged(int dpi, const RECT& suggested) override;

  // Replaces the board, mode and progress with the saved game when there is
  // a readable one that is not finished; a bad one is set aside. 1 when a
  // game was resumed. Undo starts empty.
  // A full board that was never judged (the game ended right after the
  // entry that filled it) gets its verdict at once.
  int ResumeSavedGame();
  // Removes the temporary files of the settings file, the saved game, the
  // records and the options that a copy of the game ended during a save
  // left behind.
  // Only while no other copy runs in the folder.
  void RemoveLeftoverSaves();
  // Writes the board, mode and progress to the saved game (atomically);
  // nothing before the settings file was read or when a file there could
  // not be read.
  void SaveGameInProgress();
  // Adds the time since the last tick to the play clock when the game was
  // being played; called with every message and frame.
  void TickClock();
  const GameProgress& Progress() const { return progress; }
  long long PlayedSeconds() const { return clock.Seconds(); }
  std::wstring GamePath() const;
  std::wstring RecordsPath() const;
  std::wstring OptionsPath() const;

  // The player's aids (view/board_aids.cpp). The switches are read from the
  // options file at start-up (both off when there is none or it is bad; a
  // bad one is set aside) and written there whenever one changes, once the
  // settings file has been read.
  void LoadPlayerOptions();
  const PlayerOptions& Options() const { return options; }

  // Back to the board and mode before the last step, or forward again past
  // the next one; clears the selection and the highlight. 1 when there was
  // such a step, else 0. Neither runs the completion check.
  int Undo();
  int Redo();
  const BoardHistory& History() const { return history; }

  // View state. Setters ignore values outside their ranges.
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
  void SetSizeIndex(int index);
  int GetSizeIndex() const { return sizeIndex; }
  // The main window's dots per inch: every measure below is its 96-DPI
  // value times dpi / 96. Values outside 24-1536 are ignored.
  void SetDpi(int newDpi);
  int Dpi() const { return dpi; }
  // The path of the last puzzle file chosen in a dialog; empty at first.
  const wchar_t* FilePath() const { return filePath; }
  // Whether the settings file has been read in this run: the one condition
  // for writing any file that keeps state between runs (the settings file,
  // the saved game, the records). A close before that, a start-up that ends
  // early, writes none of them.
  bool HasReadSettingsFile() const { return settingsFileRead; }
  void NoteSettingsFileRead() { settingsFileRead = true; }

  // Layout in client pixels for the current size index and DPI.
  int CellWidth() const;
  int CellHeight() const;
  int MarginX() const;
  int MarginY() const;
  int ColumnX(int col) const;
  int RowY(int row) const;
  int ClientWidth() const;
  int ClientHeight() const;
  // Column, row and keypad digit under (x, y); -1 for each that the point
  // does not determine. Each output may be null.
  void HitTest(short x, short y, int* col, int* row, int* digit) const;

  // Grays the board commands in edit mode (and the reverse pair outside it),
  // undo and redo when there is nothing to undo or redo, all candidates in
  // edit mode and on a board without an open cell, and checks the current
  // size and the aids' switches; nothing when the main window has no menu.
  void UpdateMenuState();

  // Drawing: the background and grid lines into the triangle list; the
  // highlights into the triangle list and digits and marks into the quad
  // list, for all 81 cells.
  void BuildGrid();
  void BuildCells();
  void AddCellHighlight(int row, int col, float depth, D3DCOLOR colour);
  void AddBigDigit(int row, int col, int digit, D3DCOLOR colour);
  void AddSmallDigit(int row, int col, int digit, D3DCOLOR colour);

 private:
  HWND MainWindow() const { return links.mainWindow ? links.mainWindow() : nullptr; }
  // ClearSelection, then ClearHighlight.
  void ResetView();
  // The common start of both buttons: the board, with the cell and keypad
  // digit under a press, or null when the press is not inside a cell (or
  // there is no board).
  Board* PressedCell(short x, short y, int* row, int* col, int* digit) const;
  // Runs the save-file dialog; true when a file was chosen, whose path is
  // then in filePath.
  bool RunFileDialog(bool forOpening);
  int OpenFile();
  int SaveFile();
  int SaveFileAs();
  int NewPuzzle(int level);
  // Points at a wrong value or the next cell the solver decides, selecting
  // it, in a message box. On a broken board it names two equal digits of a
  // house instead (selecting one of them); givens with several solutions it
  // says have them; else it says that logic decides no cell from here; a
  // full board with nothing wrong gets ヒントはありません.
  // Changes no value and no mark (view/hint.cpp).
  int ShowHint();
  int ChooseSize(int index);
  // One handler per menu: the command's result, or kNotThisMenu for an
  // identifier of another menu.
  static constexpr int kNotThisMenu = -1;
  int OnFileMenu(WORD id);
  int OnPuzzleMenu(WORD id);
  int OnEditMenu(WORD id);
  int OnViewMenu(WORD id);
  int OnHelpMenu(WORD id);
  // Runs `change` on the board as one undo step, then the view reset; 0
  // without a board, else 1.
  template <typename Change>
  int ChangeBoard(Change change);
  int StartEditing();
  int EndEditing();
  // Marks every open cell's candidates as one step; keeps the selection.
  // 0 in edit mode or without an open cell.
  int MarkAllCandidates();
  // Flips one switch of the aids, saves the options and checks the item.
  int ToggleOption(bool PlayerOptions::*option);
  void UpdateAidMenuItems();

  // The rules of a press on cell (row, col) at keypad digit `digit` (0 for
  // none), shared by the mouse and the keys.
  int LeftPressOnCell(Board& board, int row, int col, int digit);
  int RightPressOnCell(Board& board, int row, int col, int digit);
  // Enters the digit as one step, drops the selection and judges a full
  // board.
  int EnterValue(Board& board, int row, int col, int digit);
  void JudgeFullBoard(Board& board);
  // The keys without Ctrl (view/board_keys.cpp).
  int PlayKey(WORD key, bool shift, bool repeated);
  int EraseTypedCell(Board& board, int row, int col);
  int MoveSelection(int rows, int cols);
  int DigitKey(int digit, bool shift);

  // The puzzle on the board from now on came from `source`: time, hints
  // and flags start again. The progress of the puzzle before is kept for
  // an undo that brings that puzzle back.
  void StartPuzzle(int source);
  // After undo or redo: when the board's givens belong to another puzzle,
  // that puzzle's progress comes back (or, unknown, a typed-in puzzle's).
  void FollowPuzzleOnBoard();
  // Notes the board's givens as the puzzle in play when none is noted.
  void NotePuzzleInPlay();
  // A puzzle judged correct: into the records once, and finished.
  void FinishPuzzle();
  bool AddToRecords();
  int ShowRecords();

  // A step of the history: BeginStep notes the board and mode before a
  // change, EndStep records the change, if there was one, refreshes the
  // undo and redo items and saves the game.
  BoardState CurrentState() const;
  void BeginStep();
  void EndStep();
  template <typename Change>
  void RecordStep(Change change) {
    BeginStep();
    change();
    EndStep();
  }
  // Undo (backwards) or redo (forward).
  int MoveThroughHistory(bool forward);
  void UpdateHistoryMenuItems();

  int selectedRow;
  int selectedCol;
  bool editMode;
  int highlightDigit;
  wchar_t filePath[kPathCapacity];
  int sizeIndex;
  int dpi = 96;
  bool settingsFileRead = false;
  ViewLinks links;
  BoardHistory history;
  BoardState stepStart;  // the state BeginStep noted
  GameProgress progress;
  PlayClock clock;
  // The givens of the puzzle `progress` belongs to (given digits, 0
  // elsewhere), and the progress of the last puzzles before it.
  struct PuzzleInPlay {
    GameProgress progress;
    signed char givens[81] = {};
  };
  static constexpr int kRecentPuzzles = 4;
  PuzzleInPlay inPlay;
  bool inPlayNoted = false;
  PuzzleInPlay recent[kRecentPuzzles];
  int recentCount = 0;
  bool gameFileBlocked = false;  // a saved game there could not be read or set aside
  PlayerOptions options;
  bool optionsFileBlocked = false;  // an options file there could not be read or set aside
};

// One frame of the view: clear the target to the margin colour and the depth
// buffer to 1, then, when the scene begins, the view's Render and the end of
// the scene. Nothing for a null device.
void RenderBoardFrame(BoardView& view, IDirect3DDevice9* device);
