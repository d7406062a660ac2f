// The keys of the game: undo, redo and all candidates with Ctrl, and
// without it the keys that play the selected cell, handed on to the
// session. Keys are judged by their virtual-key codes, so every keyboard
// layout types the same.
#include "resources/resource_ids.h"
#include "session/play_rules.h"
#include "view/board_view.h"

namespace {

// 1..9 for the digit keys of the main row and of the numeric keypad, else 0.
int DigitOfKey(WORD key) {
  if (key >= '1' && key <= '9') return key - '0';
  if (key >= VK_NUMPAD1 && key <= VK_NUMPAD9) return key - VK_NUMPAD0;
  return 0;
}

// The play key a key code stands for; false for keys that play nothing.
bool PlayKeyOf(WORD key, PlayKey* playKey) {
  switch (key) {
    case VK_LEFT:
      *playKey = PlayKey::kLeft;
      return true;
    case VK_RIGHT:
      *playKey = PlayKey::kRight;
      return true;
    case VK_UP:
      *playKey = PlayKey::kUp;
      return true;
    case VK_DOWN:
      *playKey = PlayKey::kDown;
      return true;
    case VK_DELETE:
    case VK_BACK:
      *playKey = PlayKey::kErase;
      return true;
    case VK_SPACE:
      *playKey = PlayKey::kSpace;
      return true;
    default:
      *playKey = PlayKey::kDigit;
      return DigitOfKey(key) != 0;
  }
}

}  // namespace

int BoardView::OnKeyDown(WORD key, bool repeated) {
  if (!links.keyState) return 0;
  const auto held = [this](int virtualKey) { return (links.keyState(virtualKey) & 0x8000) != 0; };
  if (held(VK_MENU)) return 0;
  if (!held(VK_CONTROL)) {
    PlayKey playKey;
    if (!PlayKeyOf(key, &playKey)) return 0;
    return session.Key(playKey, DigitOfKey(key), held(VK_SHIFT), repeated);
  }
  if ((key == 'Z' || key == 'Y') && repeated && !KeyRepeats(CellKey::kUndoRedo)) return 0;
  if (key == 'Z') return held(VK_SHIFT) ? Redo() : Undo();
  if (key == 'Y') return Redo();
  // Filling in every candidate is a change of the board: once per press.
  if (key == 'M' && !held(VK_SHIFT)) return repeated ? 0 : OnCommand(IDM_EDIT_ALL_CANDIDATES);
  return 0;
}
