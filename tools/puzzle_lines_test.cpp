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

TEST(PuzzleLines, ZerosAndDotsAreEmptyCellsAnyOtherCharacterIsMalformed) {
  std::string line = kPuzzle;
  line[0] = '0';
  line[2] = '0';
  std::vector<Answer> answers = ReadAll(line + "\n");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].puzzle, kPuzzle);
  for (char junk : {' ', 'x', '\0', '\r', char(0xE3)}) {
    line = kPuzzle;
    line[40] = junk;
    answers = ReadAll(line + "\n" + kPuzzle + "\n");
    ASSERT_EQ(answers.size(), 2u) << int(junk);
    EXPECT_EQ(answers[0].result, kPuzzleLineMalformed) << int(junk);
    EXPECT_EQ(answers[1].result, kPuzzleLineRead);
  }
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

TEST(PuzzleLines, NulByteIsACharacterOfTheLineNotItsEnd) {
  std::string line = kPuzzle;
  line[1] = '\0';
  const std::vector<Answer> answers = ReadAll(line + "\n" + kPuzzle + "\n");
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].result, kPuzzleLineMalformed);
  EXPECT_EQ(answers[1].line, 2);
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

Reading ReadFile(const std::string& bytes) {
  ScratchFolder folder;
  FILE* stream = folder.StreamOf(bytes);
  PuzzleFileReader reader(stream);
  Reading r{reader.Kind(), {}, {}, Board()};
  Board board;
  PuzzleReadResult result;
  while ((result = reader.Next(&board)) != kPuzzleEnd) {
    r.answers.push_back({result, reader.Line(), result == kPuzzleRead ? Written(board) : ""});
    if (result == kPuzzleBadLine) r.badTexts.push_back(reader.BadLineText());
    if (result == kPuzzleRead) r.last = board;
  }
  EXPECT_EQ(reader.Next(&board), kPuzzleEnd) << "the end stays the end";
  std::fclose(stream);
  return r;
}

// A damaged first line no longer decides the format: the puzzle lines after
// it are read, and the damaged line is answered under its own number.
TEST(PuzzleFileReader, DamagedFirstLineOfAFileOfPuzzleLines) {
  for (const std::string& first : {std::string(kPuzzle, 80), std::string("12345"), std::string(300, '.')}) {
    const Reading r = ReadFile("# puzzles\n" + first + "\n" + kPuzzle + "\n");
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
  const Reading r = ReadFile(kBoardRows + blankFirst + "1 3\n");
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
  const Reading r = ReadFile(std::string(kBoardRows, 40) + "12x\n" + kBoardRows);
  EXPECT_EQ(r.kind, kPuzzleFileBoards);
  ASSERT_EQ(r.answers.size(), 1u);
  EXPECT_EQ(r.answers[0].result, kPuzzleBadLine);
  EXPECT_EQ(r.answers[0].line, 5);
  EXPECT_EQ(r.badTexts[0], "not a board line");
}

TEST(PuzzleFileReader, CandidateLinesFollowTheirBoardAtOnce) {
  // Board::Write's puzzle file: the board, then a line per marked empty cell.
  const Reading r = ReadFile(std::string(kBoardRows) + "04126\n0012\n");
  ASSERT_EQ(r.answers.size(), 1u);
  EXPECT_EQ(r.answers[0].result, kPuzzleRead);
  EXPECT_EQ(r.answers[0].line, 1);
  EXPECT_EQ(r.last.CandidateCount(0, 4), 3);
  EXPECT_EQ(r.last.CandidateCount(0, 0), 2);
  // Boards one after another, each with candidate lines, and a trailing
  // blank line (the start of a board cut short, passed over by the tool).
  const Reading two = ReadFile(std::string(kBoardRows) + "0012\n" + kBoardRows + "0168\n\n");
  ASSERT_EQ(two.answers.size(), 3u);
  EXPECT_EQ(two.answers[1].result, kPuzzleRead);
  EXPECT_EQ(two.answers[1].line, 11);
  EXPECT_EQ(two.last.CandidateCount(0, 1), 2);
  EXPECT_EQ(two.last.CandidateCount(0, 0), 0) << "marks belong to their own board";
  EXPECT_EQ(two.answers[2].result, kPuzzleCutShort);
}

// What solve prints: a board, its candidate lines, a verdict comment, and the
// next board, whose first row would pass for a candidate line of an empty
// cell. Each board reads as it was printed; no line becomes a board of its
// own.
TEST(PuzzleFileReader, SolveOutputReadsAsTheBoardsItPrinted) {
  const std::string full =
      "428593167\n975621843\n316874925\n583946271\n749218536\n261357498\n854732619\n197465382\n632189754\n";
  const Reading r = ReadFile(std::string(kBoardRows) + "0012\n0268\n# incomplete\n" + full + "# complete\n" +
                             kBoardRows + "# several solutions\n");
  EXPECT_EQ(r.kind, kPuzzleFileBoards);
  ASSERT_EQ(r.answers.size(), 3u);
  for (const auto& answer : r.answers) EXPECT_EQ(answer.result, kPuzzleRead);
  EXPECT_EQ(r.answers[0].puzzle,
            "...5..1..97......3..6..4.255839.62...4..1..3.2.....4..8..732.....7...38......9...");
  EXPECT_EQ(r.answers[1].line, 13);
  EXPECT_EQ(r.answers[1].puzzle.substr(0, 9), "428593167");
  EXPECT_EQ(r.answers[2].line, 23);
  // Without the comment the full row still is no candidate line: its digits
  // do not ascend (and it names a cell the first board fills, 42).
  const Reading bare = ReadFile(std::string(kBoardRows) + "0012\n" + full);
  ASSERT_EQ(bare.answers.size(), 2u);
  EXPECT_EQ(bare.answers[1].puzzle.substr(0, 9), "428593167");
}

TEST(PuzzleFileReader, LineNamingAFilledCellBeginsTheNextBoard) {
  // Cell (0, 3) holds a 5: "0312" is the first row of a board cut short.
  const Reading r = ReadFile(std::string(kBoardRows) + "0312\n");
  ASSERT_EQ(r.answers.size(), 2u);
  EXPECT_EQ(r.answers[0].result, kPuzzleRead);
  EXPECT_EQ(r.answers[1].result, kPuzzleCutShort);
  EXPECT_EQ(r.answers[1].line, 10);
  // A line of marks out of order, or of no marks, is no candidate line
  // either; after a board, text that is no board line is a bad line.
  for (const char* after : {"0021\n", "00\n"}) {
    const Reading odd = ReadFile(std::string(kBoardRows) + after);
    ASSERT_EQ(odd.answers.size(), 2u) << after;
    EXPECT_EQ(odd.answers[1].result, kPuzzleCutShort) << after;
  }
  const Reading junk = ReadFile(std::string(kBoardRows) + "0012\nhello\n");
  ASSERT_EQ(junk.answers.size(), 2u);
  EXPECT_EQ(junk.answers[0].result, kPuzzleRead);
  EXPECT_EQ(junk.answers[1].result, kPuzzleBadLine);
  EXPECT_EQ(junk.answers[1].line, 11);
  EXPECT_EQ(junk.badTexts[0], "not a board line");
}

// Runs of blank lines and comments ahead of the first puzzle are kept as a
// count, not line by line, and still answer under their own line numbers.
TEST(PuzzleFileReader, LongRunsOfBlankLinesAndCommentsKeepTheirNumbers) {
  std::string lead;
  for (int i = 0; i < 5000; ++i) lead += i % 3 ? "\n" : "# note\n";
  const Reading lines = ReadFile(lead + kPuzzle + "\n\n\n" + kPuzzle + "\n");
  EXPECT_EQ(lines.kind, kPuzzleFileLines);
  ASSERT_EQ(lines.answers.size(), 2u);
  EXPECT_EQ(lines.answers[0].line, 5001);
  EXPECT_EQ(lines.answers[1].line, 5004);
  // In a file of boards a blank line is a row of empty cells: a run of
  // three blank rows, a comment inside the board, then six rows.
  const std::string rows = kBoardRows;
  const Reading boards = ReadFile("# c\n\n\n\n# c\n" + rows.substr(30));
  EXPECT_EQ(boards.kind, kPuzzleFileBoards);
  ASSERT_EQ(boards.answers.size(), 1u);
  EXPECT_EQ(boards.answers[0].line, 2);
  EXPECT_EQ(boards.answers[0].puzzle,
            "...........................5839.62...4..1..3.2.....4..8..732.....7...38......9...");
}

TEST(PuzzleFileReader, PuzzleLineWithACharacterThatIsNoCellIsNamed) {
  std::string line = kPuzzle;
  line[4] = 'x';
  std::string nul = kPuzzle;
  nul[80] = '\0';
  const Reading r = ReadFile(line + "\n" + nul + "\n" + kPuzzle + "\n");
  ASSERT_EQ(r.answers.size(), 3u);
  EXPECT_EQ(r.answers[0].result, kPuzzleBadLine);
  EXPECT_EQ(r.badTexts[0], "character 5 is 'x', not a digit, '.' or '0'");
  EXPECT_EQ(r.answers[1].line, 2);
  EXPECT_EQ(r.badTexts[1], "character 81 is byte 0x00, not a digit, '.' or '0'");
  EXPECT_EQ(r.answers[2].result, kPuzzleRead);
}

TEST(PuzzleFileReader, EmptyFilesAndFilesOfNeitherKind) {
  for (const char* empty : {"", "\n\n", "# nothing here\n\r\n"}) {
    const Reading r = ReadFile(empty);
    EXPECT_EQ(r.kind, kPuzzleFileEmpty);
    EXPECT_TRUE(r.answers.empty());
  }
  const Reading junk = ReadFile("\nhello, world\nsome text\n");
  EXPECT_EQ(junk.kind, kPuzzleFileNeither);
  ASSERT_EQ(junk.answers.size(), 1u) << "the first line of neither kind, then the end";
  EXPECT_EQ(junk.answers[0].line, 2);
  EXPECT_EQ(junk.badTexts[0], "neither a puzzle line nor a board line");
}

}  // namespace
