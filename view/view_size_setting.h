// Lets the settings file read and change the view's size index and fit the
// main window to it, without the view itself taking on that interface; and
// the start-up step that reads the file for the view.
#pragma once

#include "stock/settings_file.h"
#include "view/board_view.h"

class ViewSizeSetting : public SizeSetting {
 public:
  // Borrows the view, which must outlive this object.
  explicit ViewSizeSetting(BoardView& boardView) : view(boardView) {}

  int GetSizeIndex() const override { return view.GetSizeIndex(); }
  void SetSizeIndex(int index) override { view.SetSizeIndex(index); }
  // Hands the main window's current client size to the view's OnSize,
  // which resizes the window when the size index asks for another size.
  void FitWindowToSize() override;

 private:
  BoardView& view;
};

// UI thread, at start-up before the generator thread starts: reads the
// view's settings file (its links' path, the working folder's Kubri.dat
// when none) into its size and `stock` (LoadSettingsFile) and the player's
// options beside it, then notes on the view that the file has been read, so
// that closes from then on save it. A close that comes during the reading (a
// device failure while the window is resized) still saves nothing.
void ReadViewSettings(BoardView& view, PuzzleStock& stock);
