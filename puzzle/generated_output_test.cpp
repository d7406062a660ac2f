// The generator's output, seed for seed, against a recording of it: a change
// of speed must never change one puzzle. The recording holds levels 1..3
// exactly (seeds 1..40, ten puzzles each) and the background mode (levels 1
// to 3, 1000 attempts; seeds 1..20, twenty each), as
//   kubri-puzzle generate ... --seed S --count K --format line
// printed them. The quick build checks the first seeds of each; the full
// check (KUBRI_GENERATED_FULL) every one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/random.h"

namespace {

#ifdef KUBRI_GENERATED_FULL
constexpr int kSeedsChecked = 1000;
#else
constexpr int kSeedsChecked = 3;
#endif

std::string Line(const Board& b) {
  std::string s;
  for (int i = 0; i < 81; ++i) s += b.HasValue(i / 9, i % 9) ? char('0' + b.GetValue(i / 9, i % 9)) : '.';
  return s;
}

// The recorded puzzles of one file, by seed: "# seed S" and then its lines.
struct Recording {
  std::vector<int> seeds;
  std::vector<std::vector<std::string>> lines;
};

Recording Load(const char* name) {
  Recording r;
  const std::string path = std::string(KUBRI_GENERATED_DATA) + "/" + name;
  FILE* stream = std::fopen(path.c_str(), "r");
  if (!stream) return r;
  char text[256];
  while (std::fgets(text, sizeof text, stream)) {
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.rfind("# seed ", 0) == 0) {
      r.seeds.push_back(std::atoi(line.c_str() + 7));
      r.lines.emplace_back();
    } else if (!r.lines.empty()) {
      r.lines.back().push_back(line);
    }
  }
  std::fclose(stream);
  return r;
}

void ExpectSameOutput(const char* name, int minLevel, int maxLevel, int attempts) {
  const Recording recorded = Load(name);
  ASSERT_FALSE(recorded.seeds.empty()) << "cannot read " << name;
  const size_t seeds = std::min(recorded.seeds.size(), size_t(kSeedsChecked));
  for (size_t i = 0; i < seeds; ++i) {
    SeedRand(unsigned(recorded.seeds[i]));
    Board board;
    for (size_t k = 0; k < recorded.lines[i].size(); ++k) {
      board.Generate(minLevel, maxLevel, attempts);
      ASSERT_EQ(Line(board), recorded.lines[i][k])
          << name << ", seed " << recorded.seeds[i] << ", puzzle " << k + 1;
    }
  }
}

TEST(GeneratedOutputTest, LevelOneExactlyMatchesTheRecording) {
  ExpectSameOutput("generated-level1.txt", 1, 1, Board::kWaitedForAttempts);
}

TEST(GeneratedOutputTest, LevelTwoExactlyMatchesTheRecording) {
  ExpectSameOutput("generated-level2.txt", 2, 2, Board::kWaitedForAttempts);
}

TEST(GeneratedOutputTest, LevelThreeExactlyMatchesTheRecording) {
  ExpectSameOutput("generated-level3.txt", 3, 3, Board::kWaitedForAttempts);
}

TEST(GeneratedOutputTest, BackgroundModeMatchesTheRecording) {
  ExpectSameOutput("generated-background.txt", 1, 3, 1000);
}

}  // namespace
