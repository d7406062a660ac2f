// Defines the game's process-wide objects in one place, so that static
// initialisation constructs them in this order (view, board, stock,
// generator thread) and process exit destroys them in the reverse order.
#include "view/game_objects.h"

#include "framework/framework_state.h"
#include "stock/settings_file.h"

namespace {

ViewLinks GameLinks();

BoardView gView(GameLinks());
Board gBoard;
PuzzleStock gStock;
GeneratorThread gGenerator(gStock);

// The view only keeps the addresses; the objects behind them are
// constructed right after it.
ViewLinks GameLinks() {
  ViewLinks links;
  links.board = &gBoard;
  links.stock = &gStock;
  links.generator = &gGenerator;
  links.mainWindow = FrameworkGetWindow;
  links.saveFileDialog = GetSaveFileNameW;
  links.messageBox = MessageBoxW;
  links.settingsPath = kSettingsFileName;
  return links;
}

}  // namespace

BoardView& GameView() { return gView; }
Board& GameBoard() { return gBoard; }
PuzzleStock& GameStock() { return gStock; }
GeneratorThread& GameGenerator() { return gGenerator; }
