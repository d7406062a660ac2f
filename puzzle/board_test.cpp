// Cells, boards and the puzzle text format.
#include "puzzle/board.h"

#include <gtest/gtest.h>

#include <string>

#include "puzzle/test_files.h"

namespace {

// The nine board lines of a board, '.' for empty cells.
std::string Rows(const Board& b) {
  std::string s;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) s += b.HasValue(r, c) ? char('0' + b.GetValue(r, c)) : '.';
    s += '\n';
  }
  return s;
}

const char kNineLines[] =
    "5 3  7   \n6  195   \n 98    6 \n8   6   3\n4  8 3  1\n7   2   6\n"
    " 6    28 \n   419  5\n    8  79\n";

TEST(CellTest, NewCellIsEmpty) {
  Cell cell;
  EXPECT_FALSE(cell.HasValue());
  EXPECT_EQ(cell.GetValue(), 0);
  EXPECT_EQ(cell.CandidateCount(), 0);
  EXPECT_FALSE(cell.IsGiven());
}

TEST(CellTest, ValueOutsideOneToNineIsIgnored) {
  Cell cell;
  cell.SetValue(4);
  cell.SetValue(0);
  cell.SetValue(10);
  cell.SetValue(-3);
  EXPECT_EQ(cell.GetValue(), 4);
  cell.SetCandidate(0);
  cell.SetCandidate(10);
  EXPECT_EQ(cell.CandidateCount(), 0);
  EXPECT_FALSE(cell.HasCandidate(0));
  EXPECT_FALSE(cell.HasCandidate(10));
  cell.ClearValue();
  EXPECT_FALSE(cell.HasValue());
}

TEST(CellTest, GivenCellRefusesEveryEditButClear) {
  Cell cell;
  cell.SetCandidate(2);
  cell.SetValue(5);
  cell.SetGiven();
  cell.SetValue(6);
  cell.ClearValue();
  cell.SetCandidate(3);
  cell.ClearCandidate(2);
  cell.ClearCandidates();
  EXPECT_EQ(cell.GetValue(), 5);
  EXPECT_TRUE(cell.HasCandidate(2));
  EXPECT_FALSE(cell.HasCandidate(3));
  EXPECT_TRUE(cell.IsGiven());
  cell.ClearGiven();
  EXPECT_EQ(cell.GetValue(), 5);  // the flag alone goes
  cell.SetGiven();
  cell.Clear();
  EXPECT_FALSE(cell.IsGiven());
  EXPECT_FALSE(cell.HasValue());
  EXPECT_EQ(cell.CandidateCount(), 0);
  Cell empty;
  empty.SetGiven();
  EXPECT_TRUE(empty.IsGiven());
  EXPECT_FALSE(empty.HasValue());
}

TEST(CellTest, CopyTakesValueWithoutMarksOrMarksWithoutValue) {
  Cell valued, marked, given, target;
  valued.SetValue(3);
  valued.SetCandidate(1);
  marked.SetCandidate(4);
  marked.SetCandidate(9);
  given.SetValue(8);
  given.SetGiven();
  target.SetCandidate(2);
  target.SetValue(7);
  EXPECT_TRUE(target.CopyDroppingMarksUnderValue(&valued));
  EXPECT_EQ(target.GetValue(), 3);
  EXPECT_EQ(target.CandidateCount(), 0);
  EXPECT_TRUE(target.CopyDroppingMarksUnderValue(&marked));
  EXPECT_FALSE(target.HasValue());
  EXPECT_TRUE(target.HasCandidate(4) && target.HasCandidate(9));
  EXPECT_EQ(target.CandidateCount(), 2);
  EXPECT_TRUE(target.CopyDroppingMarksUnderValue(&given));
  EXPECT_TRUE(target.IsGiven());
  EXPECT_EQ(target.GetValue(), 8);
  EXPECT_TRUE(target.CopyDroppingMarksUnderValue(&marked));  // a given target is cleared first
  EXPECT_FALSE(target.IsGiven());
  EXPECT_FALSE(target.CopyDroppingMarksUnderValue(nullptr));
  EXPECT_EQ(target.CandidateCount(), 2);
}

TEST(BoardTest, ResetToGivensKeepsGivenCellsWhole) {
  Board b;
  b.SetCandidate(0, 0, 1, true);
  b.SetValue(0, 0, 5);
  b.SetGiven(0, 0);
  b.SetValue(0, 1, 6);
  b.SetCandidate(4, 4, 2, true);
  b.ResetToGivens();
  EXPECT_EQ(b.GetValue(0, 0), 5);
  EXPECT_TRUE(b.HasCandidate(0, 0, 1));
  EXPECT_TRUE(b.IsGiven(0, 0));
  EXPECT_FALSE(b.HasValue(0, 1));
  EXPECT_EQ(b.CandidateCount(4, 4), 0);
  b.CellAt(0, 0).Clear();
  EXPECT_FALSE(b.IsGiven(0, 0));
}

TEST(BoardTest, CellOperationsOutsideTheBoardDoNothing) {
  Board b;
  EXPECT_FALSE(b.HasValue(-1, 0));
  EXPECT_EQ(b.GetValue(9, 9), 0);
  b.SetValue(9, 0, 3);
  b.SetValue(0, -1, 3);
  b.SetCandidate(0, 9, 3, true);
  b.SetGiven(-1, -1);
  b.ClearValue(10, 10);
  b.ClearCandidates(10, 0);
  b.ClearGiven(0, 10);
  EXPECT_FALSE(b.HasCandidate(9, 0, 3));
  EXPECT_EQ(b.CandidateCount(0, 9), 0);
  EXPECT_FALSE(b.IsGiven(-1, -1));
  EXPECT_EQ(Rows(b), Rows(Board()));
}

TEST(BoardTest, CandidateSwitchSetsAndClearsOneMark) {
  Board b;
  b.SetCandidate(2, 3, 4, true);
  b.SetCandidate(2, 3, 6, true);
  b.SetCandidate(2, 3, 4, false);
  EXPECT_EQ(CellMarks(b, 2, 3), "6");
  b.ClearCandidates(2, 3);
  EXPECT_EQ(b.CandidateCount(2, 3), 0);
}

TEST(BoardTest, CopyGivensFromKeepsOnlyTheGivens) {
  Board source, target;
  source.SetValue(0, 0, 5);
  source.SetGiven(0, 0);
  source.SetValue(3, 3, 2);             // the player's
  source.SetCandidate(5, 5, 1, true);   // a mark
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      target.SetValue(r, c, 9);
      target.SetCandidate(r, c, 4, true);
    }
  }
  target.SetGiven(8, 8);
  EXPECT_TRUE(target.CopyGivensFrom(&source));
  EXPECT_EQ(target.GetValue(0, 0), 5);
  EXPECT_TRUE(target.IsGiven(0, 0));
  int filled = 0, marked = 0;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      filled += target.HasValue(r, c);
      marked += target.CandidateCount(r, c);
    }
  }
  EXPECT_EQ(filled, 1);
  EXPECT_EQ(marked, 0);
  EXPECT_FALSE(target.IsGiven(8, 8));
  EXPECT_FALSE(target.CopyGivensFrom(nullptr));
  EXPECT_FALSE(target.CopyDroppingMarksUnderValues(nullptr));
  EXPECT_EQ(target.GetValue(0, 0), 5);
}

TEST(BoardTest, CompletenessSaysNothingAboutTheRules) {
  Board b;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) b.SetValue(r, c, 1);
  }
  EXPECT_TRUE(b.IsComplete());
  EXPECT_FALSE(b.ObeysRules());
  b.ClearValue(8, 8);
  EXPECT_FALSE(b.IsComplete());
  Board valid;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) valid.SetValue(r, c, (r * 3 + r / 3 + c) % 9 + 1);
  }
  EXPECT_TRUE(valid.ObeysRules());
}

class TextFormatTest : public ::testing::Test {
 protected:
  // Reads a board from the bytes given.
  bool ReadFrom(const std::string& bytes, Board* b, bool boardOnly = false) {
    FILE* stream = files.StreamOf(bytes);
    const bool read = b->Read(stream, boardOnly);
    if (stream) std::fclose(stream);
    return read;
  }
  std::string WrittenBy(const Board& b, bool boardOnly) {
    FILE* stream = files.WriteStream("written");
    EXPECT_TRUE(b.Write(stream, boardOnly));
    std::fclose(stream);
    std::string bytes = files.ReadBytes("written");
    std::string text;  // line ends as LF, whatever the platform wrote
    for (char ch : bytes) {
      if (ch != '\r') text += ch;
    }
    return text;
  }

  ScratchFolder files;
};

TEST_F(TextFormatTest, WriterPutsDigitsSpacesAndCandidateLines) {
  Board b;
  b.SetValue(0, 0, 5);
  b.SetGiven(0, 0);
  b.SetValue(0, 8, 3);
  b.SetCandidate(0, 8, 7, true);  // not written: the cell has a value
  for (int d : {6, 1, 2}) b.SetCandidate(0, 4, d, true);
  b.SetCandidate(8, 7, 9, true);
  const std::string blank = "         \n";
  std::string expected = "5       3\n";
  for (int r = 1; r < 9; ++r) expected += blank;
  EXPECT_EQ(WrittenBy(b, true), expected);
  EXPECT_EQ(WrittenBy(b, false), expected + "04126\n879\n");
  EXPECT_FALSE(b.Write(nullptr, false));
}

TEST_F(TextFormatTest, SavedBoardLoadsBackWithValuesAsGivens) {
  Board b;
  b.SetValue(0, 0, 5);
  b.SetGiven(0, 0);
  b.SetValue(4, 4, 7);             // the player's value
  b.SetCandidate(4, 4, 2, true);   // lost: the cell has a value
  b.SetCandidate(8, 8, 1, true);
  b.SetCandidate(8, 8, 9, true);
  ASSERT_TRUE(b.Save(files.Path("round.kbr").c_str()));
  Board loaded;
  ASSERT_TRUE(loaded.Load(files.Path("round.kbr").c_str()));
  EXPECT_EQ(Rows(loaded), Rows(b));
  EXPECT_TRUE(loaded.IsGiven(0, 0));
  EXPECT_TRUE(loaded.IsGiven(4, 4));
  EXPECT_EQ(loaded.CandidateCount(4, 4), 0);
  EXPECT_EQ(CellMarks(loaded, 8, 8), "19");
}

TEST_F(TextFormatTest, OnlyDigitsOneToNinePlaceValues) {
  Board b;
  ASSERT_TRUE(ReadFrom("0. 1x9\t5A\n12\n" + std::string(7, '\n'), &b));
  EXPECT_EQ(Rows(b).substr(0, 20), "...1.9.5.\n12.......\n");
  EXPECT_TRUE(b.IsGiven(0, 3));
  EXPECT_FALSE(b.HasValue(0, 0));
}

TEST_F(TextFormatTest, CarriageReturnsAndLongLinesAreTolerated) {
  std::string crlf;
  for (const char* p = kNineLines; *p; ++p) crlf += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
  Board unix, windows;
  ASSERT_TRUE(ReadFrom(kNineLines, &unix));
  ASSERT_TRUE(ReadFrom(crlf + "00123\r\n", &windows));
  EXPECT_EQ(Rows(unix), Rows(windows));
  Board lf;
  ASSERT_TRUE(ReadFrom("123456789123\n" + std::string(kNineLines).substr(10), &lf));
  EXPECT_EQ(Rows(lf).substr(0, 10), "123456789\n");
  // A line of 300 characters is read as two lines: 2 + 7 make nine.
  Board longLine;
  EXPECT_TRUE(ReadFrom(std::string(300, '4') + "\n" + std::string(7, '\n'), &longLine));
  EXPECT_EQ(longLine.GetValue(1, 0), 4);
}

TEST_F(TextFormatTest, ShortFileKeepsTheRowsReadAndReportsFalse) {
  Board b;
  b.SetValue(5, 5, 5);
  EXPECT_FALSE(ReadFrom("", &b));
  EXPECT_EQ(Rows(b), Rows(Board()));
  EXPECT_FALSE(ReadFrom("123\n456789\n", &b));
  EXPECT_EQ(Rows(b).substr(0, 20), "123......\n456789...\n");
  EXPECT_EQ(Rows(b).substr(20), Rows(Board()).substr(20));
  EXPECT_FALSE(b.Read(nullptr, false));
}

TEST_F(TextFormatTest, CandidateLinesAreReadWithTheirLimits) {
  Board b;
  const std::string empty(9 * 10, ' ');
  std::string nine;
  for (int r = 0; r < 9; ++r) nine += "         \n";
  ASSERT_TRUE(ReadFrom(nine +
                           "0412 6\n"         // stops at the space
                           "04\n"              // nothing
                           "0\n"               // one character: skipped
                           "9012\n"            // row 9: skipped
                           "1912\n"            // column 9: skipped
                           "2112345678999\n"   // at most nine digits
                           "0479\n"            // adds to the earlier line
                           "hello\n",
                       &b));
  EXPECT_EQ(CellMarks(b, 0, 4), "1279");
  EXPECT_EQ(CellMarks(b, 2, 1), "123456789");
  int marked = 0;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) marked += b.CandidateCount(r, c);
  }
  EXPECT_EQ(marked, 13);
}

TEST_F(TextFormatTest, CandidateLineForAGivenCellChangesNothing) {
  Board b;
  ASSERT_TRUE(ReadFrom(std::string(kNineLines) + "0012\n0223\n0145\n", &b));
  EXPECT_EQ(b.CandidateCount(0, 0), 0);  // (0,0) holds a given 5
  EXPECT_EQ(b.CandidateCount(0, 2), 0);  // (0,2) holds a given 3
  EXPECT_EQ(CellMarks(b, 0, 1), "45");       // (0,1) is empty
}

TEST_F(TextFormatTest, BoardOnlyReadsBoardsOneAfterAnother) {
  Board first, second;
  first.SetValue(0, 0, 1);
  second.SetValue(8, 8, 9);
  second.SetCandidate(0, 0, 4, true);
  FILE* out = files.WriteStream("stock");
  first.Write(out, true);
  second.Write(out, true);
  std::fclose(out);
  FILE* in = files.StreamOf(files.ReadBytes("stock"));
  Board b;
  ASSERT_TRUE(b.Read(in, true));
  EXPECT_EQ(Rows(b), Rows(first));
  ASSERT_TRUE(b.Read(in, true));
  EXPECT_EQ(Rows(b), Rows(second));
  EXPECT_EQ(b.CandidateCount(0, 0), 0);
  EXPECT_FALSE(b.Read(in, true));
  EXPECT_EQ(Rows(b), Rows(Board()));
  std::fclose(in);
}

TEST_F(TextFormatTest, BoardOnlyReadLeavesCandidateLinesUnread) {
  Board marked;
  marked.SetValue(1, 1, 6);
  marked.SetCandidate(2, 2, 3, true);
  const std::string text = WrittenBy(marked, false);
  FILE* in = files.StreamOf(text);
  Board b;
  ASSERT_TRUE(b.Read(in, true));
  EXPECT_EQ(b.CandidateCount(2, 2), 0);
  char line[16] = {};
  ASSERT_TRUE(std::fgets(line, sizeof line, in));
  EXPECT_STREQ(line, "223\n");
  std::fclose(in);
  Board full;
  ASSERT_TRUE(ReadFrom(WrittenBy(marked, true), &full, false));
  EXPECT_EQ(Rows(full), Rows(marked));
}

TEST_F(TextFormatTest, LoadOfAMissingFileKeepsTheBoard) {
  Board b;
  b.SetValue(3, 3, 3);
  EXPECT_FALSE(b.Load(files.Path("missing.kbr").c_str()));
  EXPECT_EQ(b.GetValue(3, 3), 3);
  EXPECT_FALSE(b.Load(nullptr));
  EXPECT_FALSE(b.Load(L""));
  EXPECT_EQ(b.GetValue(3, 3), 3);
}

TEST_F(TextFormatTest, SaveReplacesAnExistingFileWhole) {
  files.WriteBytes("old.kbr", std::string(5000, 'x'));
  Board b;
  b.SetValue(0, 0, 2);
  ASSERT_TRUE(b.Save(files.Path("old.kbr").c_str()));
  Board loaded;
  ASSERT_TRUE(loaded.Load(files.Path("old.kbr").c_str()));
  EXPECT_EQ(Rows(loaded), Rows(b));
  EXPECT_EQ(files.ReadBytes("old.kbr").find('x'), std::string::npos);
  EXPECT_EQ(files.ReadBytes("old.kbr.tmp"), "<missing>");
}

TEST_F(TextFormatTest, FailedSaveReportsFalseAndKeepsWhatWasThere) {
  Board b;
  EXPECT_FALSE(b.Save(files.Path("no-such-folder/p.kbr").c_str()));
  EXPECT_FALSE(b.Save(nullptr));
  // A folder in the way: the new content cannot replace it.
  std::filesystem::create_directory(files.NativePath("taken.kbr"));
  files.WriteBytes("taken.kbr/inside", "kept");
  EXPECT_FALSE(b.Save(files.Path("taken.kbr").c_str()));
  EXPECT_EQ(files.ReadBytes("taken.kbr/inside"), "kept");
  EXPECT_EQ(files.ReadBytes("taken.kbr.tmp"), "<missing>");
}

TEST_F(TextFormatTest, WidePathsReachNonAsciiFileNames) {
  Board b;
  b.SetValue(2, 2, 8);
  const std::string name = "\xE5\x95\x8F\xE9\xA1\x8C.kbr";  // 問題.kbr
  ASSERT_TRUE(b.Save(files.Path(name).c_str()));
  EXPECT_TRUE(std::filesystem::exists(files.NativePath(name)));
  Board loaded;
  ASSERT_TRUE(loaded.Load(files.Path(name).c_str()));
  EXPECT_EQ(loaded.GetValue(2, 2), 8);
}

}  // namespace
