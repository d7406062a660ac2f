// Puzzles one to a line: which lines are puzzles, which are passed over and
// which are malformed, and under which line number each is reported.
#include "tools/puzzle_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "puzzle/test_files.h"

namespace {

const char kPuzzle[] =
    ".3..7.4...2.3.86...7.1.6.9.49..835.2..57..8...83.........4....3..9...27.84...7...";

struct Answer {
  PuzzleLineResult result;
  int line;
  std::string puzzle;  // the line the board would be written as, for a puzzle
};

std::vector<Answer> ReadAll(const std::string& bytes) {
  ScratchFolder folder;
  FILE* stream = folder.StreamOf(bytes);
  std::vector<Answer> answers;
  Board board;
  int number = 0;
  PuzzleLineResult result;
  while ((result = ReadPuzzleLine(stream, &board, &number)) != kPuzzleLineEnd) {
    char line[83];
    FormatPuzzleLine(board, line);
    answers.push_back({result, number, result == kPuzzleLineRead ? std::string(line, 81) : ""});
  }
  std::fclose(stream);
  return answers;
}

TEST(PuzzleLines, ReadsPuzzlesAndPassesOverBlankAndCommentLines) {
  const std::string bytes = std::string("# a comment\n\n") + kPuzzle + "\r\n" + kPuzzle;
  const std::vector<Answer> answers = ReadAll(bytes);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].result, kPuzzleLineRead);
  EXPECT_EQ(answers[0].line, 3);
  EXPECT_EQ(answers[0].puzzle, kPuzzle);
  EXPECT_EQ(answers[1].line, 4);
  EXPECT_EQ(answers[1].puzzle, kPuzzle);
}

TEST(PuzzleLines, ZerosSpacesAndOtherCharactersAreEmptyCells) {
  std::string line = kPuzzle;
  line[0] = '0';
  line[2] = ' ';
  line[3] = 'x';
  const std::vector<Answer> answers = ReadAll(line + "\n");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].puzzle, kPuzzle);
}

TEST(PuzzleLines, ShortAndLongLinesAreMalformed) {
  const std::string bytes =
      std::string(kPuzzle, 80) + "\n" + kPuzzle + "7\n" + kPuzzle + "\n";
  const std::vector<Answer> answers = ReadAll(bytes);
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers[0].result, kPuzzleLineMalformed);
  EXPECT_EQ(answers[0].line, 1);
  EXPECT_EQ(answers[1].result, kPuzzleLineMalformed);
  EXPECT_EQ(answers[1].line, 2);
  EXPECT_EQ(answers[2].result, kPuzzleLineRead);
  EXPECT_EQ(answers[2].line, 3);
}

// A line longer than any buffer is one malformed line: its tail is never
// taken for a line of its own, even when the tail is 81 characters long.
TEST(PuzzleLines, VeryLongLineIsOneMalformedLineWhateverItsTail) {
  const std::string bytes = std::string(255, '9') + kPuzzle + "\n" + kPuzzle + "\n";
  const std::vector<Answer> answers = ReadAll(bytes);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].result, kPuzzleLineMalformed);
  EXPECT_EQ(answers[0].line, 1);
  EXPECT_EQ(answers[1].result, kPuzzleLineRead);
  EXPECT_EQ(answers[1].line, 2);
}

TEST(PuzzleLines, NulByteIsAnEmptyCellNotTheLineEnd) {
  std::string line = kPuzzle;
  line[1] = '\0';
  const std::vector<Answer> answers = ReadAll(line + "\n");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].result, kPuzzleLineRead);
  EXPECT_EQ(answers[0].puzzle, std::string(kPuzzle).replace(1, 1, "."));
}

TEST(PuzzleLines, FirstLineOfEightyOneOrMoreMarksAFileOfLines) {
  ScratchFolder folder;
  const std::pair<std::string, bool> cases[] = {
      {std::string(kPuzzle) + "\n", true},
      {std::string(300, '.') + "\n", true},
      {std::string(kPuzzle, 80) + "\n" + kPuzzle + "\n", false},
      {"", false},
  };
  for (const auto& c : cases) {
    FILE* stream = folder.StreamOf(c.first);
    EXPECT_EQ(HoldsPuzzleLines(stream), c.second) << c.first.size();
    int first = std::fgetc(stream);
    EXPECT_EQ(first, c.first.empty() ? EOF : static_cast<unsigned char>(c.first[0]))
        << "rewound";
    std::fclose(stream);
  }
}

}  // namespace
