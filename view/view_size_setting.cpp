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
  SaveSettingsNow();
  return 0;
}

bool BoardView::SaveSettingsNow() {
  // A save before the file was read (a start-up that ends early) would
  // write the default size and an empty stock over the player's file.
  if (!HasReadSettingsFile() || !links.stock) return false;
  // The generator thread may still run; its lock keeps the stock whole.
  PuzzleStock& stock = *links.stock;
  if (!stock.Lock()) return false;
  ViewSizeSetting setting(*this);
  const bool saved = SaveSettingsFile(setting, stock, links.settingsPath ? links.settingsPath : kSettingsFileName);
  stock.Unlock();
  return saved;
}
