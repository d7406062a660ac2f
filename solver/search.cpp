// The search: bit boards of where each digit may still go, singles
// propagated at every node, the most constrained cell tried first.
#include "solver/search.h"

#include <cstring>

#include "solver/bits.h"

namespace {

// A set of cells: three bands of 27 cells each, bit (x % 27) of band x / 27.
struct Cells {
  uint32_t band[3] = {};

  bool Empty() const { return (band[0] | band[1] | band[2]) == 0; }
  bool Has(int x) const { return band[x / 27] >> (x % 27) & 1u; }
  void Add(int x) { band[x / 27] |= 1u << (x % 27); }
  int Count() const { return BitCount(band[0]) + BitCount(band[1]) + BitCount(band[2]); }
  // The lowest cell of a set that is not empty.
  int First() const {
    for (int b = 0; b < 3; ++b) {
      if (band[b]) return b * 27 + LowestBit(band[b]);
    }
    return -1;
  }
  Cells operator&(const Cells& o) const {
    return {{band[0] & o.band[0], band[1] & o.band[1], band[2] & o.band[2]}};
  }
  Cells operator|(const Cells& o) const {
    return {{band[0] | o.band[0], band[1] | o.band[1], band[2] | o.band[2]}};
  }
  Cells operator~() const {
    constexpr uint32_t kBand = (1u << 27) - 1;
    return {{~band[0] & kBand, ~band[1] & kBand, ~band[2] & kBand}};
  }
  Cells& operator&=(const Cells& o) { return *this = *this & o; }
  Cells& operator|=(const Cells& o) { return *this = *this | o; }
};

// The 27 houses (rows, columns, boxes) and each cell's peers, as cell sets.
struct Geometry {
  Cells house[27];
  Cells peers[81];

  Geometry() {
    for (int x = 0; x < 81; ++x) {
      const int r = x / 9, c = x % 9, b = (r / 3) * 3 + c / 3;
      house[r].Add(x);
      house[9 + c].Add(x);
      house[18 + b].Add(x);
    }
    for (int x = 0; x < 81; ++x) {
      const int r = x / 9, c = x % 9, b = (r / 3) * 3 + c / 3;
      peers[x] = house[r] | house[9 + c] | house[18 + b];
      peers[x].band[x / 27] &= ~(1u << (x % 27));
    }
  }
};

const Geometry& Shape() {
  static const Geometry geometry;
  return geometry;
}

// One node of the search: where each digit may still go among the open
// cells, and the digits placed so far.
struct Node {
  Cells may[9];   // may[d - 1]: the open cells that may take d
  Cells open;     // the cells without a digit
  uint32_t placedIn[9];  // placedIn[d - 1]: bit h for each house h holding d
  uint8_t value[81];

  // Puts d in open cell x: x leaves every board, d leaves x's peers.
  void Place(int x, int d) {
    value[x] = uint8_t(d);
    const uint32_t keep = ~(1u << (x % 27));
    for (Cells& m : may) m.band[x / 27] &= keep;
    open.band[x / 27] &= keep;
    may[d - 1] &= ~Shape().peers[x];
    const int r = x / 9, c = x % 9;
    placedIn[d - 1] |= 1u << r | 1u << (9 + c) | 1u << (18 + (r / 3) * 3 + c / 3);
  }

  // Places naked and hidden singles until none is left. False on a
  // contradiction: an open cell with no digit, or a house with no place
  // for a digit it lacks.
  bool Propagate() {
    for (;;) {
      if (open.Empty()) return true;
      // Cells that some digit may take once, twice, or more.
      Cells once, twice;
      for (const Cells& m : may) {
        twice |= once & m;
        once |= m;
      }
      if (!(open & ~once).Empty()) return false;
      const Cells naked = once & ~twice;
      if (!naked.Empty()) {
        for (int b = 0; b < 3; ++b) {
          for (uint32_t bits = naked.band[b]; bits; bits &= bits - 1) {
            const int x = b * 27 + LowestBit(bits);
            if (!open.Has(x)) continue;  // placed by an earlier single
            int d = 1;
            while (!may[d - 1].Has(x)) {
              if (++d > 9) return false;  // a peer's single took its digit
            }
            Place(x, d);
          }
        }
        continue;
      }
      bool placed = false;
      for (int d = 1; d <= 9; ++d) {
        for (int h = 0; h < 27; ++h) {
          if (placedIn[d - 1] >> h & 1u) continue;
          const Cells here = may[d - 1] & Shape().house[h];
          if (here.Empty()) return false;
          if (here.Count() == 1) {
            Place(here.First(), d);
            placed = true;
          }
        }
      }
      if (!placed) return true;
    }
  }

  // The open cell with the fewest digits, the lowest among equals; their
  // number in `fewest`.
  int MostConstrained(int* fewest) const {
    Cells once, twice, thrice;
    for (const Cells& m : may) {
      thrice |= twice & m;
      twice |= once & m;
      once |= m;
    }
    const Cells pairs = twice & ~thrice & open;
    *fewest = 2;
    if (!pairs.Empty()) return pairs.First();
    int best = -1;
    *fewest = 10;
    for (int b = 0; b < 3; ++b) {
      for (uint32_t bits = open.band[b]; bits; bits &= bits - 1) {
        const int x = b * 27 + LowestBit(bits);
        int n = 0;
        for (const Cells& m : may) n += m.Has(x);
        if (n < *fewest) {
          *fewest = n;
          best = x;
        }
      }
    }
    return best;
  }

  // A digit that a house lacks and can put in two places only, the first
  // in digit and house order; false when there is none.
  bool DigitWithTwoPlaces(int* digit, Cells* places) const {
    for (int d = 1; d <= 9; ++d) {
      for (int h = 0; h < 27; ++h) {
        if (placedIn[d - 1] >> h & 1u) continue;
        const Cells here = may[d - 1] & Shape().house[h];
        if (here.Count() == 2) {
          *digit = d;
          *places = here;
          return true;
        }
      }
    }
    return false;
  }
};

struct Search {
  int limit;
  SearchOutcome outcome;

  void Run(Node& node) {
    if (!node.Propagate()) return;
    if (node.open.Empty()) {
      if (outcome.solutions++ == 0) std::memcpy(outcome.solution, node.value, 81);
      return;
    }
    int fewest;
    const int x = node.MostConstrained(&fewest);
    int d = 0;
    Cells places;
    if (fewest > 2 && node.DigitWithTwoPlaces(&d, &places)) {
      // Fewer branches: the digit goes to one of its two places.
      for (int b = 0; b < 3; ++b) {
        for (uint32_t bits = places.band[b]; bits && outcome.solutions < limit; bits &= bits - 1) {
          Node next = node;
          next.Place(b * 27 + LowestBit(bits), d);
          Run(next);
        }
      }
      return;
    }
    for (d = 1; d <= 9 && outcome.solutions < limit; ++d) {
      if (!node.may[d - 1].Has(x)) continue;
      Node next = node;
      next.Place(x, d);
      Run(next);
    }
  }
};

}  // namespace

SearchOutcome SearchCandidates(const uint16_t masks[81], int limit) {
  Search search{limit < 1 ? 1 : limit, {}};
  Node root;
  std::memset(root.value, 0, sizeof root.value);
  std::memset(root.placedIn, 0, sizeof root.placedIn);
  for (int x = 0; x < 81; ++x) {
    root.open.Add(x);
    for (unsigned bits = masks[x] & kAllDigits; bits; bits &= bits - 1) {
      root.may[LowestBit(bits) - 1].Add(x);
    }
  }
  search.Run(root);
  return search.outcome;
}

SearchOutcome SearchSolutions(const uint8_t values[81], int limit) {
  uint16_t masks[81];
  LoadDigitMasks(values, masks);
  return SearchCandidates(masks, limit);
}
