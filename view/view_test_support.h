// Helpers for the view's tests: a real top-level window carrying the game's
// menu whose messages go to a view the way the framework hands them over,
// and captures standing in for message boxes and the file dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "puzzle/board.h"
#include "view/board_view.h"

// Records every message box instead of showing it, and answers IDOK.
struct MessageBoxCapture {
  struct Shown {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
  };
  static std::vector<Shown> shown;
  static int WINAPI Show(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
};

// Stands in for the save-file dialog: records what it was given and either
// "chooses" the prepared path or cancels.
struct FileDialogCapture {
  static int calls;
  static OPENFILENAMEW lastRequest;
  static std::wstring lastFilter;       // the whole double-zero-terminated list
  static std::wstring lastInitialDir;
  static std::wstring lastTitle;
  static std::wstring lastDefExt;
  static std::wstring pathSeenOnEntry;  // what the name buffer held on entry
  static bool choose;                   // false: cancel
  static bool scribble;                 // on cancel, overwrite the buffer first
  static std::wstring chosenPath;
  static void Reset();
  static BOOL WINAPI Run(OPENFILENAMEW* request);
};

// A window of the game's shape (caption, no sizing border) with menu 113,
// whose window procedure passes every message to the view first and then to
// DefWindowProc, as the framework does.
class TestWindow {
 public:
  // Client area `clientSize` square. Not shown unless asked. A null view
  // gets no messages until Attach.
  explicit TestWindow(BoardView* view, int clientSize = 320, bool show = false);
  TestWindow(BoardView* view, int clientWidth, int clientHeight, bool show);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const { return window; }
  void Attach(BoardView* view);
  // Every WM_SIZE the window received, in order, as (width, height).
  static std::vector<SIZE> sizes;
  SIZE ClientSize() const;
  RECT OuterRect() const;
  // For ViewLinks::mainWindow: the most recently made test window.
  static HWND Current();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window = nullptr;
};

// Links a view to `board` (and optionally stock), the current test window
// and both captures.
ViewLinks TestLinks(Board* board, PuzzleStock* stock = nullptr);

// Client coordinates of digit position d (1..9) of cell (row, col): the
// middle of that third of the cell.
POINT DigitPoint(const BoardView& view, int row, int col, int digit);

// A solved grid (every row, column and box holds 1 to 9 once), row by row.
extern const char kSolvedGrid[82];
// Fills `board` with the solved grid as givens, except the listed cells,
// which are left empty and not given. cells holds row * 9 + col entries.
void FillSolvedExcept(Board& board, std::initializer_list<int> cells);
