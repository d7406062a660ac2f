// Puzzles one to a line: which lines are puzzles, which are passed over and
// which are malformed, and under which line number each is reported.
#include "tools/puzzle_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "puzzle/test_files.h"

namespace {

const char kPuzzle[] =
    ".3..7.4...2.3.86...7.1.6.9.49..835.2..57..8...83.........4....3..9...27.84...7...";

// One answer of a reader, of either reader's kind of result.
template <class Result>
struct AnswerOf {
  Result result;
  int line;
  std::string puzzle;  // the line the board would be written as, for a puzzle
};
using Answer = AnswerOf<PuzzleLineResult>;

std::string Written(const Board& board) {
  char line[83];
  FormatPuzzleLine(board, line);
  return std::string(line, 81);
}

std::vector<Answer> ReadAll(const std::string& bytes) {
  ScratchFolder folder;
  FILE* stream = folder.StreamOf(bytes);
  std::vector<Answer> answers;
  Board board;
  int number = 0;
  PuzzleLineResult result;
  while ((result = ReadPuzzleLine(stream, &board, &number)) != kPuzzleLineEnd) {
    answers.push_back({result, number, result == kPuzzleLineRead ? Written(board) : ""});
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

// Rows of the level-2 board in tools/testdata, nine board lines.
const char kBoardRows[] =
    "   5  1  \n97      3\n  6  4 25\n5839 62  \n 4  1  3 \n2     4  \n8  732   \n  7   38 \n     9   \n";

struct Reading {
  PuzzleFileKind kind;
  std::vector<AnswerOf<PuzzleReadResult>> answers;
  std::vector<std::string> badTexts;
  Board last;  // the last puzzle read
};

Reading ReadFile(const std::string& bytes, bool oneWithCandidates) {
  ScratchFolder folder;
  FILE* stream = folder.StreamOf(bytes);
  PuzzleFileReader reader(stream);
  Reading r{reader.Kind(), {}, {}, Board()};
  Board board;
  PuzzleReadResult result;
  while ((result = reader.Next(&board, oneWithCandidates)) != kPuzzleEnd) {
    r.answers.push_back({result, reader.Line(), result == kPuzzleRead ? Written(board) : ""});
    if (result == kPuzzleBadLine) r.badTexts.push_back(reader.BadLineText());
    if (result == kPuzzleRead) r.last = board;
  }
  EXPECT_EQ(reader.Next(&board, oneWithCandidates), kPuzzleEnd) << "the end stays the end";
  std::fclose(stream);
  return r;
}

// A damaged first line no longer decides the format: the puzzle lines after
// it are read, and the damaged line is answered under its own number.
TEST(PuzzleFileReader, DamagedFirstLineOfAFileOfPuzzleLines) {
  for (const std::string& first : {std::string(kPuzzle, 80), std::string("12345"), std::string(300, '.')}) {
    const Reading r = ReadFile("# puzzles\n" + first + "\n" + kPuzzle + "\n", false);
    EXPECT_EQ(r.kind, kPuzzleFileLines) << first;
    ASSERT_EQ(r.answers.size(), 2u) << first;
    EXPECT_EQ(r.answers[0].result, kPuzzleBadLine);
    EXPECT_EQ(r.answers[0].line, 2);
    EXPECT_EQ(r.badTexts[0], "not a line of 81 characters");
    EXPECT_EQ(r.answers[1].result, kPuzzleRead);
    EXPECT_EQ(r.answers[1].line, 3);
    EXPECT_EQ(r.answers[1].puzzle, kPuzzle);
  }
}

TEST(PuzzleFileReader, BoardsOneAfterAnotherThenACutShortOne) {
  // A blank first row is a row of empty cells, not a line passed over.
  const std::string blankFirst = std::string("\n") + (kBoardRows + 10);
  const Reading r = ReadFile(kBoardRows + blankFirst + "1 3\n", false);
  EXPECT_EQ(r.kind, kPuzzleFileBoards);
  ASSERT_EQ(r.answers.size(), 3u);
  EXPECT_EQ(r.answers[0].result, kPuzzleRead);
  EXPECT_EQ(r.answers[0].puzzle,
            "...5..1..97......3..6..4.255839.62...4..1..3.2.....4..8..732.....7...38......9...");
  EXPECT_EQ(r.answers[1].line, 10);
  EXPECT_EQ(r.answers[1].puzzle.substr(0, 18), ".........97......3");
  EXPECT_EQ(r.answers[2].result, kPuzzleCutShort);
  EXPECT_EQ(r.answers[2].line, 19);
}

TEST(PuzzleFileReader, FileOfBoardsEndsAtItsFirstBadLine) {
  const Reading r = ReadFile(std::string(kBoardRows, 40) + "12x\n" + kBoardRows, false);
  EXPECT_EQ(r.kind, kPuzzleFileBoards);
  ASSERT_EQ(r.answers.size(), 1u);
  EXPECT_EQ(r.answers[0].result, kPuzzleBadLine);
  EXPECT_EQ(r.answers[0].line, 5);
  EXPECT_EQ(r.badTexts[0], "not a board line");
}

TEST(PuzzleFileReader, OnePuzzleFileWithCandidateLines) {
  const Reading r = ReadFile(std::string(kBoardRows) + "04126\n\n# incomplete\n0012\n", true);
  ASSERT_EQ(r.answers.size(), 1u);
  EXPECT_EQ(r.answers[0].result, kPuzzleRead);
  EXPECT_EQ(r.answers[0].line, 1);
  EXPECT_EQ(r.last.CandidateCount(0, 4), 3);
  EXPECT_EQ(r.last.CandidateCount(0, 0), 2);
  EXPECT_EQ(r.last.CandidateCount(0, 3), 0) << "a given keeps no marks";
  // A second board is no candidate line.
  const Reading two = ReadFile(std::string(kBoardRows) + kBoardRows, true);
  ASSERT_EQ(two.answers.size(), 1u);
  EXPECT_EQ(two.answers[0].result, kPuzzleBadLine);
  EXPECT_EQ(two.answers[0].line, 10);
  EXPECT_EQ(two.badTexts[0], "not a candidate line");
}

TEST(PuzzleFileReader, EmptyFilesAndFilesOfNeitherKind) {
  for (const char* empty : {"", "\n\n", "# nothing here\n\r\n"}) {
    const Reading r = ReadFile(empty, false);
    EXPECT_EQ(r.kind, kPuzzleFileEmpty);
    EXPECT_TRUE(r.answers.empty());
  }
  const Reading junk = ReadFile("\nhello, world\nsome text\n", false);
  EXPECT_EQ(junk.kind, kPuzzleFileNeither);
  ASSERT_EQ(junk.answers.size(), 1u) << "the first line of neither kind, then the end";
  EXPECT_EQ(junk.answers[0].line, 2);
  EXPECT_EQ(junk.badTexts[0], "neither a puzzle line nor a board line");
}

}  // namespace
