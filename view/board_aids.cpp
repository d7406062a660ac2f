// The view's side of the player's aids: the all-candidates command, the two
// switches with their check marks and their file. The rules themselves are
// board work (puzzle/player_aids.h).
#include "puzzle/board.h"
#include "puzzle/player_aids.h"
#include "resources/resource_ids.h"
#include "view/board_view.h"

std::wstring BoardView::OptionsPath() const { return SiblingPath(links.settingsPath, kOptionsFileName); }

void BoardView::LoadPlayerOptions() {
  // A file that could be neither read nor set aside must not be replaced.
  optionsFileBlocked = LoadOptionsFile(OptionsPath().c_str(), &options) == kGameFileUnreadable;
  UpdateAidMenuItems();
}

int BoardView::MarkAllCandidates() {
  Board* board = links.board;
  if (!board || editMode || !HasOpenCell(*board)) return 0;
  RecordStep([board] { FillAllCandidates(*board); });
  return 1;
}

int BoardView::ToggleOption(bool PlayerOptions::*option) {
  options.*option = !(options.*option);
  // Before the settings file was read (a start-up that ends early) nothing
  // kept between runs is written.
  if (HasReadSettingsFile() && !optionsFileBlocked) SaveOptionsFile(OptionsPath().c_str(), options);
  UpdateAidMenuItems();
  return 1;
}

void BoardView::UpdateAidMenuItems() {
  HWND window = MainWindow();
  HMENU menu = window ? GetMenu(window) : nullptr;
  if (!menu) return;
  const bool open = !editMode && links.board && HasOpenCell(*links.board);
  EnableMenuItem(menu, IDM_EDIT_ALL_CANDIDATES, MF_BYCOMMAND | (open ? MF_ENABLED : MF_GRAYED));
  CheckMenuItem(menu, IDM_VIEW_MARKS_FOLLOW,
                MF_BYCOMMAND | (options.marksFollowEntries ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, IDM_VIEW_SHOW_CLASHES, MF_BYCOMMAND | (options.showClashes ? MF_CHECKED : MF_UNCHECKED));
}
