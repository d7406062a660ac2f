// The game's view: the session's links, layout and hit test, the mouse and
// the menu commands handed on to the session, the file dialog, the menu
// state and the building of the vertex lists.
#include "view/board_view.h"

#include <cstring>

#include "puzzle/board.h"
#include "puzzle/player_aids.h"
#include "resources/resource_ids.h"
#include "session/hint_message.h"
#include "stock/generator_thread.h"

const wchar_t kMessageCaption[] = L"Kubri";
const wchar_t kCorrectMessage[] = L"\u6b63\u89e3\uff3c(^\u25bd^)\uff0f";
const wchar_t kWrongMessage[] = L"\u4e0d\u6b63\u89e3(\u00b4\uff65\u03c9\uff65`)";
// The version is the project's, handed over by the build.
#if !defined(KUBRI_VERSION_MAJOR) || !defined(KUBRI_VERSION_MINOR)
#error "the build defines KUBRI_VERSION_MAJOR and KUBRI_VERSION_MINOR"
#endif
#define KUBRI_WIDE_TEXT_OF(x) L## #x
#define KUBRI_WIDE_TEXT(x) KUBRI_WIDE_TEXT_OF(x)
const wchar_t kAboutMessage[] =
    L"Kubri v" KUBRI_WIDE_TEXT(KUBRI_VERSION_MAJOR) L"." KUBRI_WIDE_TEXT(KUBRI_VERSION_MINOR);
const wchar_t kSaveFailedMessage[] = L"\u4fdd\u5b58\u3067\u304d\u307e\u305b\u3093\u3067\u3057\u305f";
const wchar_t kOpenDialogTitle[] = L"\u958b\u304f\u30d5\u30a1\u30a4\u30eb\u540d";
const wchar_t kSaveDialogTitle[] = L"\u4fdd\u5b58\u3059\u308b\u30d5\u30a1\u30a4\u30eb\u540d";
const wchar_t kDigitTextureFile[] = L"Number.dds";

namespace {

// One pair, double-zero terminated: "Kubri(*.kbr)" shows files "*.kbr".
const wchar_t kPuzzleFilter[] = L"Kubri(*.kbr)\0*.kbr\0";
const wchar_t kPuzzleExtension[] = L"kbr";

bool InBoard(int index) { return index >= 0 && index <= 8; }

// A puzzle the player believes kept must not be lost without a word: a save
// that fails says so.
void SaveOrSay(const Board& board, const wchar_t* path, const ViewLinks& links, HWND owner) {
  if (board.Save(path)) return;
  if (links.messageBox) links.messageBox(owner, kSaveFailedMessage, kMessageCaption, MB_OK);
}

}  // namespace

BoardView::BoardView() : BoardView(ViewLinks{}) {}

BoardView::BoardView(const ViewLinks& newLinks) : sizeIndex(1), links(newLinks) {
  filePath[0] = 0;
  SetSizeIndex(1);
  LinkSession();
}

void BoardView::SetLinks(const ViewLinks& newLinks) {
  links = newLinks;
  LinkSession();
}

void BoardView::LinkSession() {
  SessionLinks toSession;
  toSession.board = links.board;
  toSession.stock = links.stock;
  toSession.settingsPath = links.settingsPath;
  if (links.tickCount) {
    toSession.readClock = [this] {
      HWND window = MainWindow();
      return ClockReading{links.tickCount(), window && links.isPlaying && links.isPlaying(window)};
    };
  }
  toSession.verdict = [this](bool correct) { ShowVerdict(correct); };
  toSession.changed = [this] { UpdateMenuState(); };
  session.SetLinks(toSession);
}

void BoardView::ShowVerdict(bool correct) {
  if (links.messageBox) {
    links.messageBox(MainWindow(), correct ? kCorrectMessage : kWrongMessage, kMessageCaption, MB_OK);
  }
}

BoardView::~BoardView() { ReleaseDeviceObjects(); }

void BoardView::SetSizeIndex(int index) {
  if (index >= 0 && index <= 2) sizeIndex = index;
}

void BoardView::SetDpi(int newDpi) {
  if (newDpi >= 24 && newDpi <= 1536) dpi = newDpi;
}

// --- Layout and hit test ----------------------------------------------------

// 48, 32 or 24 pixels at 96 DPI; 72, 48 or 36 at 144.
int BoardView::CellWidth() const { return MulDiv(sizeIndex == 0 ? 48 : sizeIndex == 1 ? 32 : 24, dpi, 96); }
int BoardView::CellHeight() const { return MulDiv(sizeIndex == 0 ? 48 : sizeIndex == 1 ? 32 : 24, dpi, 96); }
int BoardView::MarginX() const { return CellWidth() / 2; }
int BoardView::MarginY() const { return CellHeight() / 2; }
int BoardView::ColumnX(int col) const { return col * CellWidth() + MarginX(); }
int BoardView::RowY(int row) const { return row * CellHeight() + MarginY(); }
int BoardView::ClientWidth() const { return CellWidth() * 10; }
int BoardView::ClientHeight() const { return CellHeight() * 10; }

void BoardView::HitTest(short x, short y, int* col, int* row, int* digit) const {
  int c = -1;
  if (ColumnX(0) <= x && x < ColumnX(9)) c = (x - ColumnX(0)) / CellWidth();
  int r = -1;
  if (RowY(0) <= y && y < RowY(9)) r = (y - RowY(0)) / CellHeight();
  int d = -1;
  if (InBoard(c) && InBoard(r)) {
    int dx = x - (c * CellWidth() + ColumnX(0));
    int dy = y - (r * CellHeight() + RowY(0));
    d = (dx * 3) / CellWidth() + ((dy * 3) / CellHeight()) * 3 + 1;
  }
  if (col) *col = c;
  if (row) *row = r;
  if (digit) *digit = d;
}

int BoardView::OnSize(WORD width, WORD height) {
  HWND window = MainWindow();
  const bool fixWidth = width != 0 && width != ClientWidth();
  const bool fixHeight = !fixWidth && height != 0 && height != ClientHeight();
  if (!fixWidth && !fixHeight) return 0;
  RECT outer{};
  // Without a window there is nothing to resize; nothing was asked for.
  if (!window || !GetWindowRect(window, &outer)) return 0;
  int outerWidth = outer.right - outer.left;
  int outerHeight = outer.bottom - outer.top;
  if (fixWidth) {
    outerWidth += ClientWidth() - width;
  } else {
    outerHeight += ClientHeight() - height;
  }
  SetWindowPos(window, nullptr, outer.left, outer.top, outerWidth, outerHeight, 0);
  return 1;
}

// --- Mouse --------------------------------------------------------------------

int BoardView::OnLeftButtonDown(short x, short y) {
  int row = -1, col = -1, digit = -1;
  if (x < 0 || y < 0) return 0;
  HitTest(x, y, &col, &row, &digit);
  return session.LeftPress(row, col, digit);
}

int BoardView::OnLeftDoubleClick(short x, short y) { return OnLeftButtonDown(x, y); }

int BoardView::OnRightButtonDown(short x, short y) {
  int row = -1, col = -1, digit = -1;
  if (x < 0 || y < 0) return 0;
  HitTest(x, y, &col, &row, &digit);
  return session.RightPress(row, col, digit);
}

int BoardView::OnRightDoubleClick(short x, short y) { return OnRightButtonDown(x, y); }

int BoardView::OnCreate(LPARAM) { return 1; }

// --- Menu commands ----------------------------------------------------------

int BoardView::OnCommand(WORD id) {
  static int (BoardView::*const kMenus[])(WORD) = {&BoardView::OnFileMenu, &BoardView::OnPuzzleMenu,
                                                  &BoardView::OnEditMenu, &BoardView::OnViewMenu,
                                                  &BoardView::OnHelpMenu};
  for (auto menu : kMenus) {
    const int result = (this->*menu)(id);
    if (result != kNotThisMenu) return result;
  }
  return 0;
}

int BoardView::OnFileMenu(WORD id) {
  switch (id) {
    case IDM_FILE_OPEN:
      return OpenFile();
    case IDM_FILE_SAVE:
      return SaveFile();
    case IDM_FILE_SAVE_AS:
      return SaveFileAs();
    case IDM_FILE_EXIT:
      PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
      return 1;
    default:
      return kNotThisMenu;
  }
}

int BoardView::OnPuzzleMenu(WORD id) {
  switch (id) {
    case IDM_PUZZLE_LEVEL1:
      return session.NewPuzzle(1);
    case IDM_PUZZLE_LEVEL2:
      return session.NewPuzzle(2);
    case IDM_PUZZLE_LEVEL3:
      return session.NewPuzzle(3);
    case IDM_PUZZLE_RETRY:
      return session.Retry();
    case IDM_PUZZLE_ANSWER:
      return session.ShowAnswer();
    case IDM_PUZZLE_HINT:
      return ShowHint();
    case IDM_PUZZLE_RECORDS:
      return ShowRecords();
    default:
      return kNotThisMenu;
  }
}

int BoardView::OnEditMenu(WORD id) {
  switch (id) {
    case IDM_EDIT_UNDO:
      return session.Undo();
    case IDM_EDIT_REDO:
      return session.Redo();
    case IDM_EDIT_START:
      return session.StartEditing();
    case IDM_EDIT_END:
      return session.EndEditing();
    case IDM_EDIT_CLEAR:
      return session.ClearBoard();
    case IDM_EDIT_ALL_CANDIDATES:
      return session.MarkAllCandidates();
    default:
      return kNotThisMenu;
  }
}

int BoardView::OnViewMenu(WORD id) {
  switch (id) {
    case IDM_SIZE_LARGE:
      return ChooseSize(0);
    case IDM_SIZE_MEDIUM:
      return ChooseSize(1);
    case IDM_SIZE_SMALL:
      return ChooseSize(2);
    case IDM_VIEW_MARKS_FOLLOW:
      return ToggleOption(&PlayerOptions::marksFollowEntries);
    case IDM_VIEW_SHOW_CLASHES:
      return ToggleOption(&PlayerOptions::showClashes);
    default:
      return kNotThisMenu;
  }
}

int BoardView::OnHelpMenu(WORD id) {
  if (id != IDM_HELP_ABOUT) return kNotThisMenu;
  if (links.messageBox) links.messageBox(MainWindow(), kAboutMessage, kMessageCaption, MB_OK);
  return 1;
}

bool BoardView::RunFileDialog(bool forOpening) {
  if (!links.saveFileDialog) return false;
  // The dialog works on a copy: a failing dialog may scribble on its name
  // buffer (it writes the needed size there when the buffer is too small),
  // and the remembered path must survive a cancel or a failure unchanged.
  wchar_t chosen[kPathCapacity];
  std::memcpy(chosen, filePath, sizeof chosen);
  wchar_t directory[kPathCapacity];
  DWORD length = GetCurrentDirectoryW(kPathCapacity, directory);
  const bool haveDirectory = length > 0 && length < kPathCapacity;

  OPENFILENAMEW dialog;
  std::memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = MainWindow();
  dialog.lpstrFilter = kPuzzleFilter;
  dialog.lpstrFile = chosen;
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrInitialDir = haveDirectory ? directory : nullptr;
  dialog.Flags = forOpening ? (OFN_FILEMUSTEXIST | OFN_HIDEREADONLY) : 0;
  dialog.lpstrDefExt = kPuzzleExtension;
  dialog.lpstrTitle = forOpening ? kOpenDialogTitle : kSaveDialogTitle;
  const bool ok = links.saveFileDialog(&dialog) != FALSE;
  // "Number.dds" and ".\Kubri.dat" are opened relative to the directory the
  // game started in; a folder chosen in the dialog must not move them.
  if (haveDirectory) SetCurrentDirectoryW(directory);
  if (!ok) return false;
  chosen[kPathCapacity - 1] = 0;
  std::memcpy(filePath, chosen, sizeof filePath);
  return true;
}

int BoardView::OpenFile() {
  Board* board = links.board;
  if (!board) return 0;
  wchar_t previous[kPathCapacity];
  std::memcpy(previous, filePath, sizeof previous);
  if (!RunFileDialog(true)) return 0;
  // A file that cannot be read changes nothing: the puzzle in play, where it
  // came from, its clock and the path that 上書き保存 writes to all stay.
  Board loaded;
  if (!loaded.Load(filePath)) {
    std::memcpy(filePath, previous, sizeof filePath);
    return 0;
  }
  return session.OpenPuzzle(loaded);
}

int BoardView::SaveFile() {
  Board* board = links.board;
  if (!board) return 0;
  if (filePath[0] == 0) return SaveFileAs();
  SaveOrSay(*board, filePath, links, MainWindow());
  return 1;
}

int BoardView::SaveFileAs() {
  Board* board = links.board;
  if (!board) return 0;
  if (!RunFileDialog(false)) return 0;
  SaveOrSay(*board, filePath, links, MainWindow());
  return 1;
}

int BoardView::OnDpiChanged(int newDpi, const RECT& suggested) {
  SetDpi(newDpi);
  HWND window = MainWindow();
  if (!window) return 1;
  // The WM_SIZE this sends already measures the new cells.
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ChooseSize(sizeIndex);
  return 1;
}

int BoardView::ChooseSize(int index) {
  const int before = sizeIndex;
  SetSizeIndex(index);
  RECT client{};
  HWND window = MainWindow();
  if (window) GetClientRect(window, &client);
  const int result =
      OnSize(static_cast<WORD>(client.right - client.left), static_cast<WORD>(client.bottom - client.top));
  // Kept at once: a game that ends without its close keeps the new size.
  if (sizeIndex != before) SaveSettingsNow();
  return result;
}

void BoardView::UpdateMenuState() {
  HWND window = MainWindow();
  HMENU menu = window ? GetMenu(window) : nullptr;
  if (!menu) return;
  static const WORD kBoardCommands[] = {IDM_FILE_OPEN,     IDM_FILE_SAVE,     IDM_FILE_SAVE_AS,
                                        IDM_PUZZLE_LEVEL1, IDM_PUZZLE_LEVEL2, IDM_PUZZLE_LEVEL3,
                                        IDM_PUZZLE_RETRY,  IDM_PUZZLE_ANSWER, IDM_EDIT_START};
  const bool editMode = IsEditMode();
  const UINT normal = MF_BYCOMMAND | (editMode ? MF_GRAYED : MF_ENABLED);
  const UINT editing = MF_BYCOMMAND | (editMode ? MF_ENABLED : MF_GRAYED);
  for (WORD id : kBoardCommands) EnableMenuItem(menu, id, normal);
  EnableMenuItem(menu, IDM_PUZZLE_HINT, normal);
  EnableMenuItem(menu, IDM_EDIT_END, editing);
  EnableMenuItem(menu, IDM_EDIT_CLEAR, editing);
  CheckMenuItem(menu, IDM_SIZE_LARGE, MF_BYCOMMAND | (sizeIndex == 0 ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, IDM_SIZE_MEDIUM, MF_BYCOMMAND | (sizeIndex == 1 ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, IDM_SIZE_SMALL, MF_BYCOMMAND | (sizeIndex == 2 ? MF_CHECKED : MF_UNCHECKED));
  UpdateHistoryMenuItems();
  UpdateAidMenuItems();
}

// --- The history's menu items, the hint and the records -----------------------

void BoardView::UpdateHistoryMenuItems() {
  HWND window = MainWindow();
  HMENU menu = window ? GetMenu(window) : nullptr;
  if (!menu) return;
  EnableMenuItem(menu, IDM_EDIT_UNDO, MF_BYCOMMAND | (History().CanUndo() ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, IDM_EDIT_REDO, MF_BYCOMMAND | (History().CanRedo() ? MF_ENABLED : MF_GRAYED));
}

int BoardView::ShowHint() {
  Hint hint;
  if (!session.TakeHint(&hint)) return 0;
  wchar_t text[128];
  FormatHintMessage(hint, text);
  if (links.messageBox) links.messageBox(MainWindow(), text, kMessageCaption, MB_OK);
  return 1;
}

int BoardView::ShowRecords() {
  const std::wstring text = session.RecordsText();
  if (links.messageBox) links.messageBox(MainWindow(), text.c_str(), kMessageCaption, MB_OK);
  return 1;
}

// --- The player's aids -------------------------------------------------------

int BoardView::ToggleOption(bool PlayerOptions::*option) {
  session.ToggleOption(option);
  UpdateAidMenuItems();
  return 1;
}

void BoardView::UpdateAidMenuItems() {
  HWND window = MainWindow();
  HMENU menu = window ? GetMenu(window) : nullptr;
  if (!menu) return;
  const bool open = !IsEditMode() && links.board && HasOpenCell(*links.board);
  const PlayerOptions& options = Options();
  EnableMenuItem(menu, IDM_EDIT_ALL_CANDIDATES, MF_BYCOMMAND | (open ? MF_ENABLED : MF_GRAYED));
  CheckMenuItem(menu, IDM_VIEW_MARKS_FOLLOW,
                MF_BYCOMMAND | (options.marksFollowEntries ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, IDM_VIEW_SHOW_CLASHES, MF_BYCOMMAND | (options.showClashes ? MF_CHECKED : MF_UNCHECKED));
}

bool MainWindowInPlay(HWND mainWindow) {
  return mainWindow && GetForegroundWindow() == mainWindow && !IsIconic(mainWindow);
}

// --- Device objects and drawing --------------------------------------------

HRESULT BoardView::CreateDeviceObjects(IDirect3DDevice9* device) {
  if (!device) return E_FAIL;
  if (FAILED(ViewBase::CreateDeviceObjects(device))) return E_FAIL;
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_ZENABLE, TRUE);
  if (FAILED(LoadTexture(device, kDigitTextureFile))) {
    // The buffers would keep the device alive past its release.
    ReleaseDeviceObjects();
    return E_FAIL;
  }
  UpdateMenuState();
  return S_OK;
}

void BoardView::Render(IDirect3DDevice9* device) {
  if (!device) return;
  ResetTriangles();
  ResetQuads();
  BuildGrid();
  BuildCells();
  DrawTriangles(device);
  // Digits drawn larger than 96 DPI draws them are smoothed: the nearest
  // texel of a 64-pixel glyph shows as steps at 150 and 200 percent. At 96
  // DPI the texture is sampled as it always was, texel for texel.
  const DWORD filter = dpi > 96 ? D3DTEXF_LINEAR : D3DTEXF_POINT;
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
  DrawQuads(device);
}

void RenderBoardFrame(BoardView& view, IDirect3DDevice9* device) {
  if (!device) return;
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kMarginColour, 1.0f, 0);
  if (SUCCEEDED(device->BeginScene())) {
    view.Render(device);
    device->EndScene();
  }
}

void BoardView::BuildGrid() {
  const float boardWidth = static_cast<float>(9 * CellWidth());
  const float boardHeight = static_cast<float>(9 * CellHeight());
  AddRect(static_cast<float>(ColumnX(0)), static_cast<float>(RowY(0)), kBoardDepth, boardWidth, boardHeight,
          kBoardColour);
  // Half the line width: 2 pixels for the border and the box lines, 1 for
  // the others, at 96 DPI; 3 and 1.5 at 144.
  const float scale = static_cast<float>(dpi) / 96.0f;
  for (int i = 0; i <= 9; ++i) {
    const float g = (i % 3 == 0 ? 2 : 1) * scale;
    AddRect(static_cast<float>(ColumnX(i)) - g, static_cast<float>(RowY(0)) - g, kGridDepth, 2 * g,
            boardHeight + 2 * g, kGridColour);
    AddRect(static_cast<float>(ColumnX(0)) - g, static_cast<float>(RowY(i)) - g, kGridDepth,
            boardWidth + 2 * g, 2 * g, kGridColour);
  }
}

void BoardView::BuildCells() {
  const Board* board = links.board;
  if (!board) return;
  // Without the switch no cell clashes, and every digit keeps its colour.
  const ClashMap clashes = Options().showClashes ? FindClashes(*board) : ClashMap();
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      const bool hasValue = board->HasValue(row, col);
      const int value = board->GetValue(row, col);
      const D3DCOLOR valueColour = clashes.At(row, col)       ? kClashColour
                                   : board->IsGiven(row, col) ? kGivenDigitColour
                                                              : kPlayerDigitColour;
      if (HasHighlight() && hasValue && value == HighlightDigit()) {
        AddCellHighlight(row, col, kSameDigitDepth, kSameDigitColour);
      }
      if (IsSelected(row, col)) {
        AddCellHighlight(row, col, kSelectedDepth, kSelectedColour);
        if (IsEditMode()) {
          for (int d = 1; d <= 9; ++d) AddSmallDigit(row, col, d, kMarkColour);
        } else if (hasValue) {
          AddBigDigit(row, col, value, valueColour);
        } else {
          for (int d = 1; d <= 9; ++d) {
            AddSmallDigit(row, col, d, board->HasCandidate(row, col, d) ? kMarkColour : kOpenPositionColour);
          }
        }
      } else if (hasValue) {
        AddBigDigit(row, col, value, valueColour);
      } else {
        for (int d = 1; d <= 9; ++d) {
          if (board->HasCandidate(row, col, d)) AddSmallDigit(row, col, d, kMarkColour);
        }
      }
    }
  }
}

void BoardView::AddCellHighlight(int row, int col, float depth, D3DCOLOR colour) {
  if (!InBoard(row) || !InBoard(col)) return;
  AddRect(static_cast<float>(ColumnX(col)), static_cast<float>(RowY(row)), depth,
          static_cast<float>(CellWidth()), static_cast<float>(CellHeight()), colour);
}

void BoardView::AddBigDigit(int row, int col, int digit, D3DCOLOR colour) {
  if (!InBoard(row) || !InBoard(col) || digit < 1 || digit > 9) return;
  const DigitUV& uv = kDigitUV[digit - 1];
  AddTexturedRect(static_cast<float>(ColumnX(col)), static_cast<float>(RowY(row)), kDigitDepth,
                  static_cast<float>(CellWidth()), static_cast<float>(CellHeight()), colour, uv.u, uv.v, kThird,
                  kThird);
}

void BoardView::AddSmallDigit(int row, int col, int digit, D3DCOLOR colour) {
  if (!InBoard(row) || !InBoard(col) || digit < 1 || digit > 9) return;
  const DigitUV& uv = kDigitUV[digit - 1];
  const float x = static_cast<float>(ColumnX(col)) + static_cast<float>(CellWidth()) * uv.u;
  const float y = static_cast<float>(RowY(row)) + static_cast<float>(CellHeight()) * uv.v;
  AddTexturedRect(x, y, kDigitDepth, static_cast<float>(CellWidth() / 3.0), static_cast<float>(CellHeight() / 3.0),
                  colour, uv.u, uv.v, kThird, kThird);
}
