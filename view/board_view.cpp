// The game's view: state, layout and hit test, mouse rules, menu commands,
// menu state and the building of the vertex lists.
#include "view/board_view.h"

#include <cstring>

#include "puzzle/board.h"
#include "resources/resource_ids.h"
#include "stock/generator_thread.h"
#include "stock/puzzle_stock.h"

const wchar_t kMessageCaption[] = L"Kubri";
const wchar_t kCorrectMessage[] = L"\u6b63\u89e3\uff3c(^\u25bd^)\uff0f";
const wchar_t kWrongMessage[] = L"\u4e0d\u6b63\u89e3(\u00b4\uff65\u03c9\uff65`)";
const wchar_t kAboutMessage[] = L"Kubri v1.2";
const wchar_t kOpenDialogTitle[] = L"\u958b\u304f\u30d5\u30a1\u30a4\u30eb\u540d";
const wchar_t kSaveDialogTitle[] = L"\u4fdd\u5b58\u3059\u308b\u30d5\u30a1\u30a4\u30eb\u540d";
const wchar_t kDigitTextureFile[] = L"Number.dds";

namespace {

// One pair, double-zero terminated: "Kubri(*.kbr)" shows files "*.kbr".
const wchar_t kPuzzleFilter[] = L"Kubri(*.kbr)\0*.kbr\0";
const wchar_t kPuzzleExtension[] = L"kbr";

bool InBoard(int index) { return index >= 0 && index <= 8; }

}  // namespace

BoardView::BoardView() : BoardView(ViewLinks{}) {}

BoardView::BoardView(const ViewLinks& newLinks)
    : selectedRow(-1), selectedCol(-1), editMode(false), highlightDigit(0), sizeIndex(1), links(newLinks) {
  filePath[0] = 0;
  SetSizeIndex(1);
}

BoardView::~BoardView() { ReleaseDeviceObjects(); }

// --- View state -----------------------------------------------------------

bool BoardView::IsSelected(int row, int col) const {
  return InBoard(row) && InBoard(col) && row == selectedRow && col == selectedCol;
}

void BoardView::Select(int row, int col) {
  if (!InBoard(row) || !InBoard(col)) return;
  selectedRow = row;
  selectedCol = col;
}

void BoardView::ClearSelection() {
  selectedRow = -1;
  selectedCol = -1;
}

void BoardView::SetHighlight(int digit) {
  if (digit >= 1 && digit <= 9) highlightDigit = digit;
}

void BoardView::ClearHighlight() { highlightDigit = 0; }

void BoardView::SetSizeIndex(int index) {
  if (index >= 0 && index <= 2) sizeIndex = index;
}

void BoardView::ResetView() {
  ClearSelection();
  ClearHighlight();
}

// --- Layout and hit test ----------------------------------------------------

int BoardView::CellWidth() const { return sizeIndex == 0 ? 48 : sizeIndex == 1 ? 32 : 24; }
int BoardView::CellHeight() const { return sizeIndex == 0 ? 48 : sizeIndex == 1 ? 32 : 24; }
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

// --- Mouse rules ------------------------------------------------------------

Board* BoardView::PressedCell(short x, short y, int* row, int* col, int* digit) const {
  HitTest(x, y, col, row, digit);
  if (x < 0 || y < 0 || *digit < 1 || *digit > 9) return nullptr;
  return links.board;
}

int BoardView::OnLeftButtonDown(short x, short y) {
  int row = -1, col = -1, digit = -1;
  Board* board = PressedCell(x, y, &row, &col, &digit);
  if (!board) return 0;

  if (!IsSelected(row, col)) {
    Select(row, col);
    return 1;
  }
  BeginStep();
  if (editMode) {
    board->SetValue(row, col, digit);
    ClearSelection();
    EndStep();
    return 1;
  }
  if (board->HasValue(row, col)) {
    int value = board->GetValue(row, col);
    if (HasHighlight() && HighlightDigit() == value) {
      ClearHighlight();
    } else {
      SetHighlight(value);
    }
    return 1;
  }
  if (board->HasCandidate(row, col, digit)) {
    board->SetValue(row, col, digit);
    ClearSelection();
    EndStep();
    if (board->IsComplete()) {
      const wchar_t* text = board->IsCorrect() ? kCorrectMessage : kWrongMessage;
      if (links.messageBox) links.messageBox(MainWindow(), text, kMessageCaption, MB_OK);
    }
    return 1;
  }
  board->SetCandidate(row, col, digit, true);
  EndStep();
  return 1;
}

int BoardView::OnLeftDoubleClick(short x, short y) { return OnLeftButtonDown(x, y); }

int BoardView::OnRightButtonDown(short x, short y) {
  int row = -1, col = -1, digit = -1;
  Board* board = PressedCell(x, y, &row, &col, &digit);
  if (!board) return 0;

  BeginStep();
  if (!IsSelected(row, col)) {
    if (editMode) board->ClearValue(row, col);
    ClearSelection();
    EndStep();
    return 1;
  }
  if (editMode) {
    ClearSelection();
    return 1;
  }
  if (board->HasValue(row, col)) {
    if (board->IsGiven(row, col)) {
      ClearSelection();
    } else {
      board->ClearValue(row, col);
      EndStep();
    }
    return 1;
  }
  if (board->HasCandidate(row, col, digit)) {
    board->SetCandidate(row, col, digit, false);
    EndStep();
    return 1;
  }
  ClearSelection();
  return 1;
}

int BoardView::OnRightDoubleClick(short x, short y) { return OnRightButtonDown(x, y); }

int BoardView::OnCreate(LPARAM) { return 1; }

// --- Menu commands ----------------------------------------------------------

int BoardView::OnCommand(WORD id) {
  // Undo, redo and the hint come before the table of 40042 to 40066 and
  // outside it.
  if (id == IDM_EDIT_UNDO) return Undo();
  if (id == IDM_EDIT_REDO) return Redo();
  if (id == IDM_PUZZLE_HINT) return ShowHint();
  Board* board = links.board;
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
    case IDM_PUZZLE_LEVEL1:
      return NewPuzzle(1);
    case IDM_PUZZLE_LEVEL2:
      return NewPuzzle(2);
    case IDM_PUZZLE_LEVEL3:
      return NewPuzzle(3);
    case IDM_PUZZLE_RETRY:
      if (!board) return 0;
      BeginStep();
      board->ResetToGivens();
      ResetView();
      EndStep();
      return 1;
    case IDM_PUZZLE_ANSWER:
      if (!board) return 0;
      BeginStep();
      board->SolveAtLevel(3);
      ResetView();
      EndStep();
      return 1;
    case IDM_EDIT_START:
      if (!board) return 0;
      BeginStep();
      for (int row = 0; row < 9; ++row)
        for (int col = 0; col < 9; ++col) board->ClearGiven(row, col);
      SetEditMode(true);
      ResetView();
      EndStep();
      UpdateMenuState();
      return 1;
    case IDM_EDIT_END:
      if (!board) return 0;
      BeginStep();
      for (int row = 0; row < 9; ++row)
        for (int col = 0; col < 9; ++col)
          if (board->HasValue(row, col)) board->SetGiven(row, col);
      SetEditMode(false);
      ResetView();
      EndStep();
      UpdateMenuState();
      return 1;
    case IDM_EDIT_CLEAR:
      if (!board) return 0;
      BeginStep();
      board->Clear();
      ResetView();
      EndStep();
      return 1;
    case IDM_SIZE_LARGE:
      return ChooseSize(0);
    case IDM_SIZE_MEDIUM:
      return ChooseSize(1);
    case IDM_SIZE_SMALL:
      return ChooseSize(2);
    case IDM_HELP_ABOUT:
      if (links.messageBox) links.messageBox(MainWindow(), kAboutMessage, kMessageCaption, MB_OK);
      return 1;
    default:
      return 0;
  }
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
  if (!RunFileDialog(true)) return 0;
  BeginStep();
  board->Load(filePath);
  ResetView();
  EndStep();
  return 1;
}

int BoardView::SaveFile() {
  Board* board = links.board;
  if (!board) return 0;
  if (filePath[0] == 0) return SaveFileAs();
  board->Save(filePath);
  return 1;
}

int BoardView::SaveFileAs() {
  Board* board = links.board;
  if (!board) return 0;
  if (!RunFileDialog(false)) return 0;
  board->Save(filePath);
  return 1;
}

int BoardView::NewPuzzle(int level) {
  Board* board = links.board;
  if (!board) return 0;
  BeginStep();
  bool taken = false;
  PuzzleStock* stock = links.stock;
  if (stock && stock->Lock()) {
    if (stock->Count(level) > 0) {
      stock->Take(board, level, true);
      taken = true;
    }
    stock->Unlock();
  }
  if (!taken) board->Generate(level, level, 50000);
  ResetView();
  EndStep();
  return 1;
}

int BoardView::ChooseSize(int index) {
  SetSizeIndex(index);
  RECT client{};
  HWND window = MainWindow();
  if (window) GetClientRect(window, &client);
  return OnSize(static_cast<WORD>(client.right - client.left), static_cast<WORD>(client.bottom - client.top));
}

void BoardView::UpdateMenuState() {
  HWND window = MainWindow();
  HMENU menu = window ? GetMenu(window) : nullptr;
  if (!menu) return;
  static const WORD kBoardCommands[] = {IDM_FILE_OPEN,     IDM_FILE_SAVE,     IDM_FILE_SAVE_AS,
                                        IDM_PUZZLE_LEVEL1, IDM_PUZZLE_LEVEL2, IDM_PUZZLE_LEVEL3,
                                        IDM_PUZZLE_RETRY,  IDM_PUZZLE_ANSWER, IDM_EDIT_START};
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
}

// --- Undo and redo ----------------------------------------------------------

BoardState BoardView::CurrentState() const {
  BoardState state;
  if (links.board) state.board = *links.board;
  state.editing = editMode;
  return state;
}

void BoardView::BeginStep() { stepStart = CurrentState(); }

void BoardView::EndStep() {
  if (!links.board) return;
  if (history.Record(stepStart, CurrentState())) UpdateHistoryMenuItems();
}

int BoardView::Undo() { return MoveThroughHistory(false); }

int BoardView::Redo() { return MoveThroughHistory(true); }

int BoardView::MoveThroughHistory(bool forward) {
  Board* board = links.board;
  if (!board) return 0;
  BoardState shown = CurrentState();
  if (!(forward ? history.Redo(shown) : history.Undo(shown))) return 0;
  // Plain assignment: the marks kept under values come back too. The mode
  // comes back with the board, so that a typed-in puzzle is never played
  // without its givens and a game is never edited with them.
  *board = shown.board;
  SetEditMode(shown.editing);
  ResetView();
  UpdateMenuState();
  return 1;
}

int BoardView::OnKeyDown(WORD key) {
  if (!links.keyState) return 0;
  const auto held = [this](int virtualKey) { return (links.keyState(virtualKey) & 0x8000) != 0; };
  if (!held(VK_CONTROL) || held(VK_MENU)) return 0;
  if (key == 'Z') return held(VK_SHIFT) ? Redo() : Undo();
  if (key == 'Y') return Redo();
  return 0;
}

void BoardView::UpdateHistoryMenuItems() {
  HWND window = MainWindow();
  HMENU menu = window ? GetMenu(window) : nullptr;
  if (!menu) return;
  EnableMenuItem(menu, IDM_EDIT_UNDO, MF_BYCOMMAND | (history.CanUndo() ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, IDM_EDIT_REDO, MF_BYCOMMAND | (history.CanRedo() ? MF_ENABLED : MF_GRAYED));
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
  for (int i = 0; i <= 9; ++i) {
    const int g = i % 3 == 0 ? 2 : 1;
    AddRect(static_cast<float>(ColumnX(i) - g), static_cast<float>(RowY(0) - g), kGridDepth,
            static_cast<float>(2 * g), boardHeight + 2 * g, kGridColour);
    AddRect(static_cast<float>(ColumnX(0) - g), static_cast<float>(RowY(i) - g), kGridDepth,
            boardWidth + 2 * g, static_cast<float>(2 * g), kGridColour);
  }
}

void BoardView::BuildCells() {
  const Board* board = links.board;
  if (!board) return;
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      const bool hasValue = board->HasValue(row, col);
      const int value = board->GetValue(row, col);
      const D3DCOLOR valueColour = board->IsGiven(row, col) ? kGivenDigitColour : kPlayerDigitColour;
      if (HasHighlight() && hasValue && value == HighlightDigit()) {
        AddCellHighlight(row, col, kSameDigitDepth, kSameDigitColour);
      }
      if (IsSelected(row, col)) {
        AddCellHighlight(row, col, kSelectedDepth, kSelectedColour);
        if (editMode) {
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
