// The seven house lists of every cell, computed once at compile time: cell
// indexes (row * 9 + col) in the fixed order each technique walks them.
#pragma once

#include <cstdint>

// The three kinds of house. Houses of one kind are numbered 0..8: rows top
// to bottom, columns left to right, boxes left to right and then top to
// bottom.
enum HouseKind : int { kRow, kColumn, kBox, kHouseKinds };

// The lists a technique walks from the visited cell (r, c). The peers of a
// house kind share its number.
enum ListKind : int {
  kRowPeers = kRow,        // row r without (r, c), columns ascending: 8
  kColumnPeers = kColumn,  // column c without (r, c), rows ascending: 8
  kBoxPeers = kBox,        // the box without (r, c), row-major: 8
  kRowOutsideBox,     // row r outside the box, columns ascending: 6
  kColumnOutsideBox,  // column c outside the box, rows ascending: 6
  kBoxOutsideRow,     // the box's two other rows, row-major: 6
  kBoxOutsideColumn,  // the box's two other columns, row-major: 6
  kListKinds
};

// A house list: `length` cell indexes. The visited cell is never in its own.
struct HouseList {
  const uint8_t* cells;
  int length;
};

struct HouseTables {
  uint8_t lists[kListKinds][81][8];
};

constexpr int HouseLength(int kind) { return kind <= kBoxPeers ? 8 : 6; }

constexpr HouseTables BuildHouseTables() {
  HouseTables t{};
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      const int x = r * 9 + c;
      const int r0 = r / 3 * 3;
      const int c0 = c / 3 * 3;
      int n[kListKinds] = {};
      for (int j = 0; j < 9; ++j) {
        if (j != c) t.lists[kRowPeers][x][n[kRowPeers]++] = uint8_t(r * 9 + j);
        if (j != r) t.lists[kColumnPeers][x][n[kColumnPeers]++] = uint8_t(j * 9 + c);
        if (j < c0 || j > c0 + 2) t.lists[kRowOutsideBox][x][n[kRowOutsideBox]++] = uint8_t(r * 9 + j);
        if (j < r0 || j > r0 + 2) t.lists[kColumnOutsideBox][x][n[kColumnOutsideBox]++] = uint8_t(j * 9 + c);
      }
      for (int br = r0; br < r0 + 3; ++br) {
        for (int bc = c0; bc < c0 + 3; ++bc) {
          const uint8_t y = uint8_t(br * 9 + bc);
          if (br != r || bc != c) t.lists[kBoxPeers][x][n[kBoxPeers]++] = y;
          if (br != r) t.lists[kBoxOutsideRow][x][n[kBoxOutsideRow]++] = y;
          if (bc != c) t.lists[kBoxOutsideColumn][x][n[kBoxOutsideColumn]++] = y;
        }
      }
    }
  }
  return t;
}

inline constexpr HouseTables kHouses = BuildHouseTables();

// Two equal digits in a house, the one check behind the hint's clash and the
// clash colour: the first peer of cell x (0..80) in its row, then its column,
// then its box, that holds x's digit, with that house's kind in *house.
// -1 when x holds no digit 1..9 or no peer holds it. values[81], row-major.
inline int ClashingPeer(const int values[81], int x, int* house) {
  if (values[x] < 1 || values[x] > 9) return -1;
  for (int kind = kRowPeers; kind <= kBoxPeers; ++kind) {
    for (int k = 0; k < HouseLength(kind); ++k) {
      const int peer = kHouses.lists[kind][x][k];
      if (values[peer] == values[x]) {
        *house = kind;  // the peers of a house kind share its number
        return peer;
      }
    }
  }
  return -1;
}

// The 27 houses as whole units, for the techniques that gather what a house
// holds once instead of walking it from every cell: for each HouseKind, the
// house of each cell, its position there, and the cells of each house by
// position. Positions rise in row-major order, the order in which the
// techniques visit the cells.
struct HouseUnits {
  uint8_t house[kHouseKinds][81];
  uint8_t position[kHouseKinds][81];
  uint8_t cells[kHouseKinds][9][9];
};

constexpr HouseUnits BuildHouseUnits() {
  HouseUnits u{};
  for (int x = 0; x < 81; ++x) {
    const int r = x / 9, c = x % 9;
    const int houses[kHouseKinds] = {r, c, r / 3 * 3 + c / 3};
    const int positions[kHouseKinds] = {c, r, r % 3 * 3 + c % 3};
    for (int kind = kRow; kind < kHouseKinds; ++kind) {
      u.house[kind][x] = uint8_t(houses[kind]);
      u.position[kind][x] = uint8_t(positions[kind]);
      u.cells[kind][houses[kind]][positions[kind]] = uint8_t(x);
    }
  }
  return u;
}

inline constexpr HouseUnits kUnits = BuildHouseUnits();

// Segments: the three cells a row shares with a box (row segments), and the
// three a column shares with a box (column segments), 27 of each. The
// pointing and claiming lists are each two whole segments of one kind.
struct Segments {
  uint8_t rowCells[27][3];     // row segment r * 3 + box column
  uint8_t columnCells[27][3];  // column segment c * 3 + band
  uint8_t rowOf[81];           // the row segment of a cell
  uint8_t columnOf[81];        // the column segment of a cell
  // For kRowOutsideBox .. kBoxOutsideColumn: the two segments making up the
  // list of each cell (row segments for the row lists and kBoxOutsideRow,
  // column segments for the column lists and kBoxOutsideColumn).
  uint8_t of[kListKinds][81][2];
};

constexpr Segments BuildSegments() {
  Segments g{};
  for (int x = 0; x < 81; ++x) {
    const int r = x / 9, c = x % 9;
    g.rowOf[x] = uint8_t(r * 3 + c / 3);
    g.columnOf[x] = uint8_t(c * 3 + r / 3);
    g.rowCells[r * 3 + c / 3][c % 3] = uint8_t(x);
    g.columnCells[c * 3 + r / 3][r % 3] = uint8_t(x);
    int n = 0;
    for (int b = 0; b < 3; ++b) {
      if (b != c / 3) g.of[kRowOutsideBox][x][n++] = uint8_t(r * 3 + b);
    }
    n = 0;
    for (int b = 0; b < 3; ++b) {
      if (b != r / 3) g.of[kColumnOutsideBox][x][n++] = uint8_t(c * 3 + b);
    }
    n = 0;
    for (int rr = r / 3 * 3; rr < r / 3 * 3 + 3; ++rr) {
      if (rr != r) g.of[kBoxOutsideRow][x][n++] = uint8_t(rr * 3 + c / 3);
    }
    n = 0;
    for (int cc = c / 3 * 3; cc < c / 3 * 3 + 3; ++cc) {
      if (cc != c) g.of[kBoxOutsideColumn][x][n++] = uint8_t(cc * 3 + r / 3);
    }
  }
  return g;
}

inline constexpr Segments kSegments = BuildSegments();
