// Lets the settings file read and change the view's size index and fit the
// main window to it, without the view itself taking on that interface.
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
