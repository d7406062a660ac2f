// Test window and captures shared by the view's tests.
#include "view/view_test_support.h"

#include "resources/resource_ids.h"

std::vector<MessageBoxCapture::Shown> MessageBoxCapture::shown;

int WINAPI MessageBoxCapture::Show(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  shown.push_back({owner, text ? text : L"", caption ? caption : L"", type});
  return IDOK;
}

int FileDialogCapture::calls = 0;
OPENFILENAMEW FileDialogCapture::lastRequest;
std::wstring FileDialogCapture::lastFilter;
std::wstring FileDialogCapture::lastInitialDir;
std::wstring FileDialogCapture::lastTitle;
std::wstring FileDialogCapture::lastDefExt;
std::wstring FileDialogCapture::pathSeenOnEntry;
bool FileDialogCapture::choose = false;
bool FileDialogCapture::scribble = false;
std::wstring FileDialogCapture::chosenPath;

void FileDialogCapture::Reset() {
  calls = 0;
  lastRequest = OPENFILENAMEW{};
  lastFilter.clear();
  lastInitialDir.clear();
  lastTitle.clear();
  lastDefExt.clear();
  pathSeenOnEntry.clear();
  choose = false;
  scribble = false;
  chosenPath.clear();
}

BOOL WINAPI FileDialogCapture::Run(OPENFILENAMEW* request) {
  ++calls;
  lastRequest = *request;
  lastFilter.clear();
  if (request->lpstrFilter) {
    const wchar_t* p = request->lpstrFilter;
    while (*p) {
      std::wstring part(p);
      lastFilter += part;
      lastFilter.push_back(L'|');
      p += part.size() + 1;
    }
  }
  lastInitialDir = request->lpstrInitialDir ? request->lpstrInitialDir : L"";
  lastTitle = request->lpstrTitle ? request->lpstrTitle : L"";
  lastDefExt = request->lpstrDefExt ? request->lpstrDefExt : L"";
  pathSeenOnEntry = request->lpstrFile ? request->lpstrFile : L"";
  if (!choose) {
    // What a real dialog does with a too small buffer: the needed size
    // lands in the buffer's first characters.
    if (scribble && request->lpstrFile && request->nMaxFile >= 2) {
      request->lpstrFile[0] = 0x1234;
      request->lpstrFile[1] = 0;
    }
    return FALSE;
  }
  if (!request->lpstrFile || chosenPath.size() + 1 > request->nMaxFile) return FALSE;
  wcscpy(request->lpstrFile, chosenPath.c_str());
  return TRUE;
}

namespace {

const wchar_t kTestClass[] = L"KubriViewTestWindow";
HWND gCurrentWindow = nullptr;
const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

void RegisterTestClass(WNDPROC procedure) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kTestClass;
  wc.cbWndExtra = sizeof(void*);
  registered = RegisterClassW(&wc) != 0;
}

}  // namespace

std::vector<SIZE> TestWindow::sizes;

TestWindow::TestWindow(BoardView* view, int clientSize, bool show)
    : TestWindow(view, clientSize, clientSize, show) {}

TestWindow::TestWindow(BoardView* view, int clientWidth, int clientHeight, bool show) {
  RegisterTestClass(Procedure);
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_KUBRI_MENU));
  RECT rect{0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&rect, kStyle, menu != nullptr);
  window = CreateWindowW(kTestClass, L"Kubri", kStyle, 40, 30, rect.right - rect.left, rect.bottom - rect.top,
                         nullptr, menu, GetModuleHandleW(nullptr), view);
  gCurrentWindow = window;
  if (window && show) ShowWindow(window, SW_SHOWNORMAL);
}

void TestWindow::Attach(BoardView* view) { SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(view)); }

TestWindow::~TestWindow() {
  if (window) {
    SetWindowLongPtrW(window, 0, 0);
    DestroyWindow(window);
  }
  if (gCurrentWindow == window) gCurrentWindow = nullptr;
}

SIZE TestWindow::ClientSize() const {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT TestWindow::OuterRect() const {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

HWND TestWindow::Current() { return gCurrentWindow; }

LRESULT CALLBACK TestWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == WM_SIZE) sizes.push_back(SIZE{LOWORD(lParam), HIWORD(lParam)});
  auto* view = reinterpret_cast<BoardView*>(GetWindowLongPtrW(window, 0));
  if (view) view->HandleMessage(window, message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

ViewLinks TestLinks(Board* board, PuzzleStock* stock) {
  ViewLinks links;
  links.board = board;
  links.stock = stock;
  links.mainWindow = TestWindow::Current;
  links.saveFileDialog = FileDialogCapture::Run;
  links.messageBox = MessageBoxCapture::Show;
  return links;
}

POINT DigitPoint(const BoardView& view, int row, int col, int digit) {
  int third = view.CellWidth() / 3;
  int dc = (digit - 1) % 3;
  int dr = (digit - 1) / 3;
  return POINT{view.ColumnX(col) + dc * view.CellWidth() / 3 + third / 2,
               view.RowY(row) + dr * view.CellHeight() / 3 + third / 2};
}

const char kSolvedGrid[82] =
    "534678912"
    "672195348"
    "198342567"
    "859761423"
    "426853791"
    "713924856"
    "961537284"
    "287419635"
    "345286179";

void FillSolvedExcept(Board& board, std::initializer_list<int> cells) {
  board.Clear();
  for (int i = 0; i < 81; ++i) {
    bool skip = false;
    for (int c : cells) skip = skip || c == i;
    if (skip) continue;
    board.SetValue(i / 9, i % 9, kSolvedGrid[i] - '0');
    board.SetGiven(i / 9, i % 9);
  }
}
