// The game's one view object: the adapter between the window and the game
// session (session/game_session.h). Mouse, key and menu messages in; the
// board's layout and hit test, the menu state, message boxes, the file
// dialog and the drawing of the board out. The rules of play, the undo
// history, the progress and the files beside the settings file are the
// session's.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "session/game_session.h"
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

  void SetLinks(const ViewLinks& newLinks);
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

  // The game as it is played, and what the view hands on to it.
  GameSession& Session() { return session; }
  const GameSession& Session() const { return session; }
  int ResumeSavedGame() { return session.ResumeSavedGame(); }
  void RemoveLeftoverSaves() { session.RemoveLeftoverSaves(); }
  void SaveGameInProgress() { session.SaveGameInProgress(); }
  // Reads the play clock: the tick count, and whether the main window is
  // the one in play; called with every message and frame.
  void TickClock() { session.TickClock(); }
  const GameProgress& Progress() const { return session.Progress(); }
  long long PlayedSeconds() const { return session.PlayedSeconds(); }
  std::wstring GamePath() const { return session.GamePath(); }
  std::wstring RecordsPath() const { return session.RecordsPath(); }
  std::wstring OptionsPath() const { return session.OptionsPath(); }
  void LoadPlayerOptions() { session.LoadPlayerOptions(); }
  const PlayerOptions& Options() const { return session.Options(); }
  int Undo() { return session.Undo(); }
  int Redo() { return session.Redo(); }
  const BoardHistory& History() const { return session.History(); }
  bool IsSelected(int row, int col) const { return session.IsSelected(row, col); }
  void Select(int row, int col) { session.Select(row, col); }
  void ClearSelection() { session.ClearSelection(); }
  int SelectedRow() const { return session.SelectedRow(); }
  int SelectedCol() const { return session.SelectedCol(); }
  bool IsEditMode() const { return session.IsEditMode(); }
  void SetEditMode(bool on) { session.SetEditMode(on); }
  bool HasHighlight() const { return session.HasHighlight(); }
  int HighlightDigit() const { return session.HighlightDigit(); }
  void SetHighlight(int digit) { session.SetHighlight(digit); }
  void ClearHighlight() { session.ClearHighlight(); }
  bool HasReadSettingsFile() const { return session.HasReadSettingsFile(); }
  void NoteSettingsFileRead() { session.NoteSettingsFileRead(); }

  // View state. Setters ignore values outside their ranges.
  void SetSizeIndex(int index);
  int GetSizeIndex() const { return sizeIndex; }
  // The main window's dots per inch: every measure below is its 96-DPI
  // value times dpi / 96. Values outside 24-1536 are ignored.
  void SetDpi(int newDpi);
  int Dpi() const { return dpi; }
  // The path of the last puzzle file chosen in a dialog; empty at first.
  const wchar_t* FilePath() const { return filePath; }
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
  // Points the session at the view's board, stock, settings file, clock,
  // message boxes and menus.
  void LinkSession();
  // The verdict on a full board, in a message box.
  void ShowVerdict(bool correct);
  // Runs the save-file dialog; true when a file was chosen, whose path is
  // then in filePath.
  bool RunFileDialog(bool forOpening);
  int OpenFile();
  int SaveFile();
  int SaveFileAs();
  // The session's hint in a message box: a wrong value, the next decided
  // cell, a clash, several solutions, no logic left, or nothing to say.
  int ShowHint();
  int ShowRecords();
  int ChooseSize(int index);
  // One handler per menu: the command's result, or kNotThisMenu for an
  // identifier of another menu.
  static constexpr int kNotThisMenu = -1;
  int OnFileMenu(WORD id);
  int OnPuzzleMenu(WORD id);
  int OnEditMenu(WORD id);
  int OnViewMenu(WORD id);
  int OnHelpMenu(WORD id);
  // Flips one switch of the aids (the session keeps it) and checks the item.
  int ToggleOption(bool PlayerOptions::*option);
  void UpdateAidMenuItems();
  void UpdateHistoryMenuItems();

  wchar_t filePath[kPathCapacity];
  int sizeIndex;
  int dpi = 96;
  ViewLinks links;
  GameSession session;
};

// One frame of the view: clear the target to the margin colour and the depth
// buffer to 1, then, when the scene begins, the view's Render and the end of
// the scene. Nothing for a null device.
void RenderBoardFrame(BoardView& view, IDirect3DDevice9* device);
