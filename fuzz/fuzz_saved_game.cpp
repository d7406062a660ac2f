// Fuzzes the saved game's reader on arbitrary bytes: whatever it accepts
// must be a possible game, and must come back unchanged through the writer.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_streams.h"
#include "stock/saved_game.h"

namespace {

std::string Written(const SavedGame& game) {
  MemoryStream out;
  FUZZ_CHECK(WriteSavedGame(out.Stream(), game), "the writer takes a stream");
  return out.Contents();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  SavedGame game;
  if (!ParseSavedGame(text, &game)) return 0;
  const GameProgress& p = game.progress;
  FUZZ_CHECK(p.source >= kSourceLevel1 && p.source <= kSourceTyped, "a known source");
  FUZZ_CHECK(p.seconds >= 0 && p.seconds <= kMaxSavedSeconds, "a possible time");
  FUZZ_CHECK(p.hints >= 0 && p.hints <= kMaxSavedHints, "a possible hint count");
  for (int i = 0; i < 81; ++i) {
    const int row = i / 9, col = i % 9;
    FUZZ_CHECK(!game.board.IsGiven(row, col) || game.board.HasValue(row, col), "a given has a value");
    FUZZ_CHECK(!game.editing || !game.board.IsGiven(row, col), "no given while typing in");
  }
  const std::string once = Written(game);
  SavedGame back;
  FUZZ_CHECK(ParseSavedGame(once, &back), "what was written reads back");
  FUZZ_CHECK(Written(back) == once, "and writes the same again");
  return 0;
}
