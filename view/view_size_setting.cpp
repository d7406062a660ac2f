// The view's side of the size setting, the reading of the settings file at
// start-up, and the view's close handler, which is where it is written.
#include "view/view_size_setting.h"

#include "stock/generator_thread.h"

void ViewSizeSetting::FitWindowToSize() {
  HWND window = view.Links().mainWindow ? view.Links().mainWindow() : nullptr;
  RECT client{};
  if (!window || !GetClientRect(window, &client)) return;
  view.OnSize(static_cast<WORD>(client.right - client.left), static_cast<WORD>(client.bottom - client.top));
}

void ReadViewSettings(BoardView& view, PuzzleStock& stock) {
  const wchar_t* path = view.Links().settingsPath;
  ViewSizeSetting setting(view);
  LoadSettingsFile(setting, stock, path ? path : kSettingsFileName);
  view.LoadPlayerOptions();
  view.NoteSettingsFileRead();
}

int BoardView::OnClose() {
  SaveGameInProgress();
  GeneratorThread* generator = links.generator;
  if (!generator) return 0;
  generator->RequestStop();
  generator->Join();
  // A close before the file was read (a start-up that ends early) would
  // write the default size and an empty stock over the player's file.
  if (!HasReadSettingsFile()) return 0;
  // No other thread is left, so the stock is written without its lock.
  if (links.stock) {
    ViewSizeSetting setting(*this);
    SaveSettingsFile(setting, *links.stock, links.settingsPath ? links.settingsPath : kSettingsFileName);
  }
  return 0;
}
