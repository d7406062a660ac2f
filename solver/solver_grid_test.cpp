// Candidate sets, house lists, checks, the pass loop and the techniques.
#include "solver/solver_grid.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "solver/bits.h"
#include "solver/techniques.h"
#include "solver/test_puzzles.h"

namespace {

// Makes cell (r, c) hold exactly `digits`.
void Hold(SolverGrid& g, int r, int c, std::initializer_list<int> digits) {
  DigitSet& set = g.At(r, c);
  set.FillAll();
  for (int d = 1; d <= 9; ++d) {
    bool keep = false;
    for (int x : digits) keep = keep || x == d;
    if (!keep) set.Remove(d);
  }
}

std::string Digits(const DigitSet& set) {
  std::string s;
  for (int i = 0; i < set.Count(); ++i) s += char('0' + set.Get(i));
  return s;
}

// Loads 81 characters, '1'..'9' a digit, anything else empty.
void Load(SolverGrid& g, const char* puzzle) {
  g.Reset();
  for (int i = 0; i < 81; ++i) {
    if (puzzle[i] >= '1' && puzzle[i] <= '9') g.SetValue(i / 9, i % 9, puzzle[i] - '0');
  }
}

bool SameCells(const SolverGrid& a, const SolverGrid& b) {
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      if (!a.At(r, c).Equals(b.At(r, c))) return false;
    }
  }
  return true;
}

// A second level-2 puzzle.
const char kLevel2Alt[] =
    ".7...8.9...8..........79.15....9..7.....27.5.5.....9.6..5....3.6.4.....93892.1.4.";

TEST(DigitSetTest, NewSetHoldsOneToNine) {
  DigitSet set;
  EXPECT_EQ(set.Count(), 9);
  EXPECT_EQ(set.Get(0), 1);
  EXPECT_EQ(set.Get(8), 9);
  EXPECT_EQ(set.Get(9), 0);
  EXPECT_EQ(set.Get(-1), 0);
  EXPECT_FALSE(set.IsSingle());
}

TEST(DigitSetTest, RemoveClosesTheGapAndNeverEmptiesTheSet) {
  DigitSet set;
  set.SetPair(2, 5);
  EXPECT_EQ(Digits(set), "25");
  DigitSet three;
  for (int d : {1, 3, 4, 6, 8, 9}) three.Remove(d);
  ASSERT_EQ(Digits(three), "257");
  EXPECT_TRUE(three.Remove(5));
  EXPECT_EQ(Digits(three), "27");
  EXPECT_EQ(three.Get(2), 0);
  DigitSet other;
  other.SetPair(2, 7);
  EXPECT_TRUE(three.Equals(other));  // the freed slot was zeroed
  EXPECT_TRUE(three.Remove(4));
  EXPECT_EQ(Digits(three), "27");
  DigitSet single;
  single.SetSingle(7);
  EXPECT_FALSE(single.Remove(7));
  EXPECT_EQ(Digits(single), "7");
  EXPECT_TRUE(single.IsSingle());
}

TEST(DigitSetTest, EqualsComparesCountAndSlots) {
  DigitSet a, b, c, d;
  a.SetPair(3, 8);
  b.SetPair(3, 8);
  c.SetPair(3, 9);
  d.SetSingle(3);
  EXPECT_TRUE(a.Equals(b));
  EXPECT_FALSE(a.Equals(c));
  EXPECT_FALSE(d.Equals(a));
  d.Assign(a);
  EXPECT_TRUE(d.Equals(a));
  EXPECT_TRUE(a.Contains(8));
  EXPECT_FALSE(a.Contains(5));
}

TEST(SolverGridTest, QueriesOutsideTheGridAnswerNothing) {
  SolverGrid g;
  EXPECT_FALSE(g.IsSolved(9, 0));
  EXPECT_EQ(g.GetValue(-1, 4), 0);
  EXPECT_EQ(g.CandidateCount(0, 9), 0);
  EXPECT_EQ(g.GetCandidate(3, 3, 9), 0);
  EXPECT_EQ(g.GetCandidate(3, 3, -1), 0);
  g.SetValue(0, 9, 5);
  g.SetValue(0, 0, 0);
  g.SetValue(0, 0, 10);
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) EXPECT_EQ(g.CandidateCount(r, c), 9);
  }
  EXPECT_EQ(SolverGrid::RowPeers(9, 0).length, 0);
}

TEST(SolverGridTest, UnsolvedCellReportsItsSmallestCandidate) {
  SolverGrid g;
  EXPECT_EQ(g.GetValue(4, 4), 1);
  Hold(g, 4, 4, {3, 6});
  EXPECT_EQ(g.GetValue(4, 4), 3);
  EXPECT_FALSE(g.IsSolved(4, 4));
  EXPECT_EQ(g.GetCandidate(4, 4, 1), 6);
  g.SetValue(4, 4, 8);
  EXPECT_TRUE(g.IsSolved(4, 4));
  EXPECT_EQ(g.GetValue(4, 4), 8);
}

TEST(SolverGridTest, ResetRestoresCellsAndLeavesTheSnapshot) {
  SolverGrid g;
  Load(g, kLevel3);
  g.TakeSnapshot();
  g.Reset();
  EXPECT_EQ(g.CandidateCount(0, 0), 9);
  EXPECT_TRUE(g.SnapshotAt(0, 0).IsSingle());
  EXPECT_EQ(g.SnapshotAt(0, 0).Get(0), 8);
  EXPECT_FALSE(g.IsUnchanged());
}

TEST(HouseListTest, ListsHoldTheRightCellsInAscendingOrder) {
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      const int r0 = r / 3 * 3, c0 = c / 3 * 3;
      const HouseList lists[] = {
          SolverGrid::RowPeers(r, c),         SolverGrid::ColumnPeers(r, c),
          SolverGrid::BoxPeers(r, c),         SolverGrid::RowOutsideBox(r, c),
          SolverGrid::ColumnOutsideBox(r, c), SolverGrid::BoxOutsideRow(r, c),
          SolverGrid::BoxOutsideColumn(r, c)};
      for (int kind = 0; kind < kListKinds; ++kind) {
        const HouseList& list = lists[kind];
        int expected = 0;
        for (int y = 0; y < 81; ++y) {
          const int yr = y / 9, yc = y % 9;
          const bool inBox = yr / 3 * 3 == r0 && yc / 3 * 3 == c0;
          bool member = false;
          switch (kind) {
            case kRowPeers: member = yr == r && yc != c; break;
            case kColumnPeers: member = yc == c && yr != r; break;
            case kBoxPeers: member = inBox && y != r * 9 + c; break;
            case kRowOutsideBox: member = yr == r && !inBox; break;
            case kColumnOutsideBox: member = yc == c && !inBox; break;
            case kBoxOutsideRow: member = inBox && yr != r; break;
            case kBoxOutsideColumn: member = inBox && yc != c; break;
          }
          // Every list's fixed order is ascending cell order.
          if (member) {
            ASSERT_LT(expected, list.length) << "kind " << kind << " cell " << r << "," << c;
            EXPECT_EQ(list.cells[expected], y) << "kind " << kind << " cell " << r << "," << c;
            ++expected;
          }
        }
        EXPECT_EQ(expected, list.length);
      }
    }
  }
}

TEST(SolverGridTest, PlacesCountOpenCellsUnlessTheDigitIsPlaced) {
  SolverGrid g;
  Hold(g, 0, 0, {1, 2});
  Hold(g, 0, 3, {2, 5});
  for (int c = 4; c < 9; ++c) Hold(g, 0, c, {5, 6});
  EXPECT_EQ(g.PlacesInRow(0, 0, 2), 4);  // (0,0), (0,1), (0,2), (0,3)
  EXPECT_EQ(g.PlacesInRow(0, 0, 6), 7);  // (0,0) does not hold 6
  g.SetValue(0, 8, 6);
  EXPECT_EQ(g.PlacesInRow(0, 0, 6), 1);  // placed, though others still list it
  EXPECT_EQ(g.PlacesInRow(0, 8, 6), 1);
  EXPECT_EQ(g.PlacesInColumn(0, 8, 6), 1);
  EXPECT_EQ(g.PlacesInBox(1, 1, 2), 9);
  EXPECT_EQ(g.PlacesInRow(9, 0, 2), 0);
}

TEST(SolverGridTest, ConsistencyLooksOnlyAtSolvedCells) {
  SolverGrid g;
  EXPECT_TRUE(g.IsConsistent());
  for (int c = 1; c < 9; ++c) g.SetValue(0, c, c);
  Hold(g, 0, 0, {1, 2});  // both already placed in the row
  EXPECT_TRUE(g.IsConsistent());
  g.SetValue(5, 0, 4);
  g.SetValue(8, 0, 4);  // column clash
  EXPECT_FALSE(g.IsConsistent());
  SolverGrid box;
  box.SetValue(0, 0, 3);
  box.SetValue(2, 2, 3);
  EXPECT_FALSE(box.IsConsistent());
}

TEST(SolveTest, EmptyGridChangesNothingAtEveryLevel) {
  for (int level : {1, 2, 3}) {
    SolverGrid g;
    g.Reset();
    EXPECT_TRUE(g.Solve(level));
    for (int r = 0; r < 9; ++r) {
      for (int c = 0; c < 9; ++c) ASSERT_EQ(g.CandidateCount(r, c), 9);
    }
  }
}

TEST(SolveTest, ClashingDigitsFailBeforeAnyTechniqueRuns) {
  for (const auto& clash : {std::pair<int, int>{0, 7}, {7, 0}, {1, 1}}) {
    SolverGrid g;
    g.Reset();
    g.SetValue(0, 0, 5);
    g.SetValue(clash.first, clash.second, 5);
    EXPECT_FALSE(g.Solve(3));
    EXPECT_EQ(g.CandidateCount(0, 1) + g.CandidateCount(4, 4), 18);  // untouched
  }
}

TEST(SolveTest, CompleteConsistentGridIsSolved) {
  SolverGrid g;
  Load(g, kSolution);
  EXPECT_TRUE(g.Solve(1));
  EXPECT_TRUE(g.IsComplete());
}

TEST(SolveTest, LevelBelowTwoActsAsOneAndAboveThreeAsThree) {
  for (const char* puzzle : {kLevel2, kLevel3}) {
    SolverGrid zero, one, five, three;
    Load(zero, puzzle);
    Load(one, puzzle);
    Load(five, puzzle);
    Load(three, puzzle);
    EXPECT_TRUE(zero.Solve(0));
    EXPECT_TRUE(one.Solve(1));
    EXPECT_TRUE(five.Solve(5));
    EXPECT_TRUE(three.Solve(3));
    EXPECT_TRUE(SameCells(zero, one));
    EXPECT_TRUE(SameCells(five, three));
    EXPECT_FALSE(one.IsComplete());
    EXPECT_TRUE(three.IsComplete());
  }
}

TEST(SolveTest, PuzzleNeedingBoxLineStepsIsFinishedOnlyFromLevelTwo) {
  for (const char* puzzle : {kLevel2, kLevel2Alt}) {
    SolverGrid one, two;
    Load(one, puzzle);
    Load(two, puzzle);
    EXPECT_TRUE(one.Solve(1));
    EXPECT_FALSE(one.IsComplete());
    EXPECT_TRUE(two.Solve(2));
    EXPECT_TRUE(two.IsComplete());
    EXPECT_TRUE(two.IsConsistent());
  }
  SolverGrid two, three;
  Load(two, kLevel3);
  Load(three, kLevel3);
  EXPECT_TRUE(two.Solve(2));
  EXPECT_FALSE(two.IsComplete());
  EXPECT_TRUE(three.Solve(3));
  EXPECT_TRUE(three.IsComplete());
}

TEST(SolveTest, GridFilledWithAClashDuringAPassIsAContradiction) {
  // One pass of level-1 techniques runs through and leaves every cell
  // solved, but two cells of a house hold the same digit.
  SolverGrid pass;
  Load(pass, kClashAfterPass);
  ASSERT_TRUE(pass.IsConsistent());
  ASSERT_TRUE(pass.EliminateRowValues() && pass.EliminateColumnValues() &&
              pass.EliminateBoxValues() && pass.HiddenSingleInRow() &&
              pass.HiddenSingleInColumn() && pass.HiddenSingleInBox());
  ASSERT_TRUE(pass.IsComplete());
  ASSERT_FALSE(pass.IsConsistent());
  for (int level : {1, 2, 3}) {
    SolverGrid g;
    Load(g, kClashAfterPass);
    EXPECT_FALSE(g.Solve(level)) << "level " << level;
  }
}

TEST(SolveTest, VerdictOnlySolveMatchesSolveAndLeavesTheGridAsLoaded) {
  for (const char* puzzle : {kLevel2, kLevel3, kClashAfterPass}) {
    for (int level : {1, 2, 3}) {
      SolverGrid solved, looked;
      Load(solved, puzzle);
      Load(looked, puzzle);
      const SolverGrid loaded = looked;
      bool cells[81];
      const bool verdict = solved.Solve(level);
      EXPECT_EQ(looked.SolveForVerdict(level, cells), verdict);
      EXPECT_TRUE(SameCells(looked, loaded));
      for (int i = 0; i < 81; ++i) EXPECT_EQ(cells[i], solved.IsSolved(i / 9, i % 9));
    }
  }
}

TEST(EliminationTest, CellWithBothDigitsPlacedInItsRowIsAContradiction) {
  SolverGrid g;
  Hold(g, 2, 0, {4, 6});
  g.SetValue(2, 3, 4);
  g.SetValue(2, 7, 6);
  EXPECT_FALSE(g.EliminateRowValues());
  EXPECT_EQ(Digits(g.At(2, 0)), "6");  // the first removal stays
}

TEST(EliminationTest, CellNarrowedToOneCountsAsSolvedForLaterCells) {
  SolverGrid g;
  Hold(g, 0, 0, {1, 2});
  g.SetValue(0, 8, 2);  // (0,0) becomes {1} while visited
  EXPECT_TRUE(g.EliminateRowValues());
  EXPECT_EQ(Digits(g.At(0, 0)), "1");
  EXPECT_FALSE(g.At(0, 4).Contains(1));  // visited after (0,0)
  EXPECT_TRUE(g.EliminateColumnValues());
  EXPECT_FALSE(g.At(5, 0).Contains(1));
  EXPECT_TRUE(g.EliminateBoxValues());
  EXPECT_FALSE(g.At(1, 1).Contains(1));
}

TEST(HiddenSingleTest, SmallestDigitWithNoOtherPlaceIsPlaced) {
  SolverGrid g;
  for (int c = 1; c < 9; ++c) Hold(g, 3, c, {1, 3, 4, 5, 6, 8, 9});  // no 2, no 7
  EXPECT_TRUE(g.HiddenSingleInRow());
  EXPECT_EQ(Digits(g.At(3, 0)), "2");
}

TEST(HiddenSingleTest, DigitPlacedElsewhereInTheHouseIsNeverPlacedAgain) {
  SolverGrid g;
  g.SetValue(3, 8, 7);
  for (int c = 1; c < 8; ++c) Hold(g, 3, c, {1, 2, 3});
  Hold(g, 3, 0, {1, 2, 3, 7});
  EXPECT_TRUE(g.HiddenSingleInRow());
  EXPECT_EQ(Digits(g.At(3, 0)), "1237");
  Hold(g, 4, 4, {5, 6});
  for (int r = 0; r < 9; ++r) {
    if (r != 4) Hold(g, r, 4, {1, 2, 3, 4, 6});
  }
  EXPECT_TRUE(g.HiddenSingleInColumn());
  EXPECT_EQ(Digits(g.At(4, 4)), "5");
}

TEST(PointingTest, DigitConfinedToTheRowInItsBoxLeavesTheRestOfTheRow) {
  SolverGrid g;
  for (int r = 1; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) Hold(g, r, c, {1, 2, 3});  // no 7 below row 0
  }
  g.SetValue(0, 5, 7);  // a solved cell of the stretch stays as it is
  EXPECT_TRUE(g.PointingInRow());
  for (int c = 3; c < 9; ++c) {
    if (c != 5) {
      EXPECT_FALSE(g.At(0, c).Contains(7)) << c;
    }
  }
  EXPECT_EQ(Digits(g.At(0, 5)), "7");
  EXPECT_TRUE(g.At(0, 1).Contains(7));
}

TEST(PointingTest, SolvedDigitInTheBoxOutsideTheRowPreventsIt) {
  SolverGrid g;
  for (int r = 1; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) Hold(g, r, c, {1, 2, 3});
  }
  g.SetValue(2, 2, 7);
  EXPECT_TRUE(g.PointingInRow());
  EXPECT_TRUE(g.At(0, 4).Contains(7));
}

TEST(PointingTest, ColumnMemberWorksAlongTheColumn) {
  SolverGrid g;
  for (int r = 3; r < 6; ++r) {
    for (int c = 3; c < 6; ++c) {
      if (c != 4) Hold(g, r, c, {1, 2});
    }
  }
  EXPECT_TRUE(g.PointingInColumn());
  for (int r = 0; r < 9; ++r) {
    if (r < 3 || r > 5) {
      EXPECT_EQ(Digits(g.At(r, 4)), "12") << r;  // 3..9 all confined to the column
    }
  }
  EXPECT_EQ(g.CandidateCount(4, 4), 9);
}

TEST(ClaimingTest, DigitConfinedToTheBoxInItsRowLeavesTheRestOfTheBox) {
  SolverGrid g;
  for (int c = 3; c < 9; ++c) Hold(g, 0, c, {1, 2, 3});  // no 7 outside the box
  EXPECT_TRUE(g.ClaimingInRow());
  for (int r = 1; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) EXPECT_FALSE(g.At(r, c).Contains(7));
  }
  EXPECT_TRUE(g.At(0, 0).Contains(7));
  EXPECT_TRUE(g.At(3, 0).Contains(7));
}

TEST(NakedPairTest, PairRemovesItsDigitsFromTheRestOfTheRow) {
  SolverGrid g;
  Hold(g, 0, 1, {2, 9});
  Hold(g, 0, 6, {2, 9});
  Hold(g, 0, 3, {2, 5, 9});
  EXPECT_TRUE(g.NakedPairInRow());
  EXPECT_EQ(Digits(g.At(0, 1)), "29");
  EXPECT_EQ(Digits(g.At(0, 6)), "29");
  EXPECT_EQ(Digits(g.At(0, 3)), "5");
  for (int c : {0, 2, 4, 5, 7, 8}) EXPECT_EQ(Digits(g.At(0, c)), "1345678");
}

TEST(NakedPairTest, ThirdPairOrPlacedDigitIsAContradiction) {
  SolverGrid third;
  Hold(third, 0, 0, {2, 9});
  Hold(third, 0, 4, {2, 9});
  Hold(third, 0, 8, {2, 9});
  EXPECT_FALSE(third.NakedPairInRow());
  SolverGrid placed;
  Hold(placed, 0, 0, {2, 9});
  Hold(placed, 0, 4, {2, 9});
  placed.SetValue(0, 7, 9);
  EXPECT_FALSE(placed.NakedPairInRow());
}

TEST(NakedPairTest, CellWithAThirdDigitIsNoPartner) {
  SolverGrid g;
  Hold(g, 0, 0, {2, 9});
  Hold(g, 0, 4, {2, 5, 9});
  Hold(g, 1, 1, {2, 9});  // the box partner
  EXPECT_TRUE(g.NakedPairInRow());
  EXPECT_EQ(Digits(g.At(0, 4)), "259");
  EXPECT_TRUE(g.NakedPairInBox());
  EXPECT_EQ(Digits(g.At(2, 2)), "1345678");
  EXPECT_EQ(Digits(g.At(0, 4)), "259");
}

// Row 0 where 3 and 8 are open only in (0,0) and (0,5); 1 and 5 keep three
// or more places.
void HiddenPairRow(SolverGrid& g, bool extraEight) {
  Hold(g, 0, 0, {1, 3, 5, 8});
  Hold(g, 0, 5, {3, 6, 8});
  for (int c = 1; c < 9; ++c) {
    if (c != 5) Hold(g, 0, c, {1, 2, 4, 5, 6, 7, 9});
  }
  if (extraEight) Hold(g, 0, 7, {1, 8});
}

TEST(HiddenPairTest, EachCellOfThePairIsReducedWhenVisited) {
  SolverGrid g;
  HiddenPairRow(g, false);
  EXPECT_EQ(g.PlacesInRow(0, 0, 3), 2);
  EXPECT_TRUE(g.HiddenPairInRow());
  EXPECT_EQ(Digits(g.At(0, 0)), "38");
  EXPECT_EQ(Digits(g.At(0, 5)), "38");
  EXPECT_EQ(Digits(g.At(0, 1)), "1245679");
}

TEST(HiddenPairTest, ThirdPlaceForOneDigitStopsThePair) {
  SolverGrid g;
  HiddenPairRow(g, true);
  EXPECT_TRUE(g.HiddenPairInRow());
  EXPECT_EQ(Digits(g.At(0, 0)), "1358");
  EXPECT_EQ(Digits(g.At(0, 5)), "368");
}

TEST(HiddenPairTest, BoxMemberCountsPlacesInTheBox) {
  SolverGrid g;
  Hold(g, 0, 0, {4, 6, 7});
  Hold(g, 2, 2, {1, 4, 7});
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      if ((r || c) && (r != 2 || c != 2)) Hold(g, r, c, {1, 2, 3, 5, 6, 8, 9});
    }
  }
  EXPECT_TRUE(g.HiddenPairInBox());
  EXPECT_EQ(Digits(g.At(0, 0)), "47");
  EXPECT_EQ(Digits(g.At(2, 2)), "47");
}

TEST(SolveTest, PassLimitIsNeverReachedOnRealPuzzles) {
  // A solve ends when a pass changes nothing, long before the guard.
  SolverGrid g;
  Load(g, kLevel3);
  EXPECT_TRUE(g.Solve(3));
  EXPECT_TRUE(g.IsComplete());
  EXPECT_TRUE(g.IsConsistent());
}

// A level admits the table's techniques up to its own level and no further;
// levels outside 1..6 act as the nearest; a family's members share a level;
// level 3 admits exactly the per-cell techniques.
TEST(TechniqueTableTest, EachLevelAdmitsExactlyTheTechniquesUpToIt) {
  for (int level = -2; level <= 9; ++level) {
    const int own = level < 1 ? 1 : level > 6 ? 6 : level;
    const int admitted = AdmittedTechniques(level);
    for (int t = 0; t < kTechniqueCount; ++t) {
      EXPECT_EQ(t < admitted, kTechniqueTable[t].level <= own) << "level " << level << ", technique " << t;
    }
  }
  EXPECT_EQ(AdmittedTechniques(3), int(kFirstPatternTechnique));
  EXPECT_EQ(AdmittedTechniques(6), kTechniqueCount);
  for (const TechniqueInfo& info : kTechniqueTable) {
    EXPECT_EQ(info.level, FamilyLevel(info.family)) << FamilyName(info.family);
  }
}

TEST(BitsTest, DigitsLoadAsOneDigitAndAnythingElseAsEveryDigit) {
  const int values[81] = {5, 0, 9, 10, -1, 1};
  uint16_t masks[81];
  LoadDigitMasks(values, masks);
  EXPECT_EQ(masks[0], 1u << 5);
  EXPECT_EQ(masks[2], 1u << 9);
  EXPECT_EQ(masks[5], 1u << 1);
  for (int x : {1, 3, 4, 80}) EXPECT_EQ(masks[x], kAllDigits) << "cell " << x;
  EXPECT_TRUE(AtMostOneBit(masks[0]) && !TwoBits(masks[0]));
  EXPECT_TRUE(TwoBits((1u << 2) | (1u << 7)) && !TwoBits(kAllDigits));
  EXPECT_EQ(NthBit(kAllDigits, 0), 1);
  EXPECT_EQ(NthBit(kAllDigits, 8), 9);
  EXPECT_EQ(BitCount(kAllDigits), 9);
}

}  // namespace
