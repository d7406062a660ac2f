// The game's four process-wide objects: the view, the current board, the
// puzzle stock and the generator thread that fills it.
#pragma once

#include "puzzle/board.h"
#include "stock/generator_thread.h"
#include "stock/puzzle_stock.h"
#include "view/board_view.h"

// Each lives from static initialisation to process exit.
BoardView& GameView();
Board& GameBoard();
PuzzleStock& GameStock();
GeneratorThread& GameGenerator();
