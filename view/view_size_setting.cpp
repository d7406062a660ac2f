// The view's side of the size setting, and the view's close handler, which
// is where the settings file is written.
#include "view/view_size_setting.h"

#include "stock/generator_thread.h"

void ViewSizeSetting::FitWindowToSize() {
  HWND window = view.Links().mainWindow ? view.Links().mainWindow() : nullptr;
  RECT client{};
  if (!window || !GetClientRect(window, &client)) return;
  view.OnSize(static_cast<WORD>(client.right - client.left), static_cast<WORD>(client.bottom - client.top));
}

int BoardView::OnClose() {
  SaveGameInProgress();
  GeneratorThread* generator = links.generator;
  if (!generator) return 0;
  generator->RequestStop();
  generator->Join();
  // No other thread is left, so the stock is written without its lock.
  if (links.stock) {
    ViewSizeSetting setting(*this);
    SaveSettingsFile(setting, *links.stock, links.settingsPath ? links.settingsPath : kSettingsFileName);
  }
  return 0;
}
