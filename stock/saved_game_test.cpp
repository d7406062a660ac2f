// The saved game's file: what comes back, and which files are set aside.
#include "stock/saved_game.h"

#include <gtest/gtest.h>

#include <string>

#include "puzzle/safe_file.h"
#include "puzzle/test_files.h"

namespace {

SavedGame SampleGame() {
  SavedGame game;
  game.board.SetValue(0, 0, 5);
  game.board.SetGiven(0, 0);
  game.board.SetValue(4, 4, 7);           // the player's value
  game.board.SetCandidate(4, 4, 2, true);  // kept under it
  game.board.SetCandidate(8, 8, 1, true);
  game.board.SetCandidate(8, 8, 9, true);
  game.progress.source = kSourceLevel3;
  game.progress.seconds = 3725;
  game.progress.hints = 2;
  game.progress.counted = true;
  return game;
}

std::string Text(const SavedGame& game) {
  ScratchFolder folder;
  FILE* stream = folder.WriteStream("g");
  WriteSavedGame(stream, game);
  std::fclose(stream);
  return folder.ReadText("g");
}

bool SameBoard(const Board& a, const Board& b) {
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c) {
      if (a.GetValue(r, c) != b.GetValue(r, c) || a.IsGiven(r, c) != b.IsGiven(r, c)) return false;
      for (int d = 1; d <= 9; ++d)
        if (a.HasCandidate(r, c, d) != b.HasCandidate(r, c, d)) return false;
    }
  return true;
}

TEST(SavedGameTest, EverythingWrittenComesBackIncludingMarksUnderValues) {
  const SavedGame game = SampleGame();
  SavedGame back;
  ASSERT_TRUE(ParseSavedGame(Text(game), &back));
  EXPECT_TRUE(SameBoard(back.board, game.board));
  EXPECT_EQ(back.progress.source, kSourceLevel3);
  EXPECT_EQ(back.progress.seconds, 3725);
  EXPECT_EQ(back.progress.hints, 2);
  EXPECT_TRUE(back.progress.counted);
  EXPECT_FALSE(back.progress.answerUsed);
  EXPECT_FALSE(back.progress.finished);
  EXPECT_FALSE(back.editing);
}

TEST(SavedGameTest, CrLfLineEndsReadTheSame) {
  std::string text = Text(SampleGame()), crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  SavedGame back;
  EXPECT_TRUE(ParseSavedGame(crlf, &back));
}

// Each edit turns a good file into one that must not be resumed.
TEST(SavedGameTest, DamagedNewerAndImpossibleFilesAreRefused) {
  const std::string good = Text(SampleGame());
  SavedGame game;
  ASSERT_TRUE(ParseSavedGame(good, &game));
  const auto edited = [&good](const std::string& from, const std::string& to) {
    std::string text = good;
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  const std::string refused[] = {
      "",
      good.substr(0, good.size() - 1),              // cut off inside the last line
      good.substr(0, good.size() / 2),              // cut off in the middle
      edited("Kubri game 1", "Kubri game 2"),       // a newer version
      edited("Kubri game 1", "Kubri game 0"),
      edited("source level 3", "source level 4"),   // no such source
      edited("editing 0", "editing 2"),
      edited("editing 0", "editing 1"),             // givens while typing a puzzle in
      edited("seconds 3725", "seconds -1"),
      edited("seconds 3725", "seconds 1000000000"),
      edited("5g000", "0g000"),                     // a given without a value
      edited("5g000", "5g200"),                     // a mark beyond 9
      edited("5g000", "5x000"),
      edited("cells\n", "cells\n\n"),
      good + "more\n",
  };
  for (const std::string& text : refused) EXPECT_FALSE(ParseSavedGame(text, &game)) << text;
}

TEST(SavedGameTest, BadFileIsRenamedAsideNeverDeletedAndNeverReplacesAnother) {
  ScratchFolder folder;
  const std::wstring path = folder.Path("KubriGame.dat");
  ASSERT_TRUE(folder.WriteBytes("KubriGame.dat", "Kubri game 9\n"));
  ASSERT_TRUE(folder.WriteBytes("KubriGame.dat.bad", "older bad\n"));
  SavedGame game;
  EXPECT_EQ(LoadGameFile(path.c_str(), &game), kGameFileBad);
  EXPECT_EQ(folder.ReadBytes("KubriGame.dat"), "<missing>");
  EXPECT_EQ(folder.ReadBytes("KubriGame.dat.bad"), "older bad\n");
  EXPECT_EQ(folder.ReadBytes("KubriGame.dat.bad2"), "Kubri game 9\n");
  EXPECT_EQ(LoadGameFile(path.c_str(), &game), kGameFileMissing);
}

TEST(SavedGameTest, SavedFileLoadsBackAndAnOversizedOneIsBad) {
  ScratchFolder folder;
  const std::wstring path = folder.Path("g.dat");
  ASSERT_TRUE(SaveGameFile(path.c_str(), SampleGame()));
  SavedGame back;
  EXPECT_EQ(LoadGameFile(path.c_str(), &back), kGameFileRead);
  EXPECT_TRUE(SameBoard(back.board, SampleGame().board));
  ASSERT_TRUE(folder.WriteBytes("g.dat", std::string(kMaxGameFileBytes + 1, '\n')));
  EXPECT_EQ(LoadGameFile(path.c_str(), &back), kGameFileBad);
  EXPECT_NE(folder.ReadBytes("g.dat.bad"), "<missing>");
}

TEST(SavedGameTest, SiblingPathKeepsTheFolder) {
  EXPECT_EQ(SiblingPath(L".\\Kubri.dat", L"KubriGame.dat"), L".\\KubriGame.dat");
  EXPECT_EQ(SiblingPath(L"/tmp/x/Kubri.dat", L"a"), L"/tmp/x/a");
  EXPECT_EQ(SiblingPath(L"Kubri.dat", L"a"), L"a");
}

}  // namespace
