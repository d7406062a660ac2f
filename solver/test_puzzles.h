// Puzzles the tests share: 81 characters each, row-major, '1'..'9' a digit
// and '.' an empty cell.
#pragma once

// A complete, consistent grid: the solution the random grids derive from.
inline constexpr char kSolution[] =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
// Level 1: value elimination and hidden singles finish it.
inline constexpr char kLevel1[] =
    ".3..7.4...2.3.86...7.1.6.9.49..835.2..57..8...83.........4....3..9...27.84...7...";
// Level 2: level 1 stalls on it, pointing or claiming finishes it.
inline constexpr char kLevel2[] =
    "...5..1..97......3..6..4.255839.62...4..1..3.2.....4..8..732.....7...38......9...";
// Level 3: needs pairs.
inline constexpr char kLevel3[] =
    "8........35...21.867.....32..8.3....91...5...5....47....5.1..26.9.68.51...3......";
// A contradiction that only shows after the hidden singles of one pass fill
// the grid with a clash, which only the final check finds.
inline constexpr char kClashAfterPass[] =
    "15..936.8734.825.9...4.5.7351624793.8735691..4..1...659..3.64.1..587139636.9.42.7";
