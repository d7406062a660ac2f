// Fuzzes the readers of the records file and of the options file on
// arbitrary bytes: whatever the records reader accepts holds possible
// numbers, comes back unchanged through the writer, and takes one more
// solved puzzle without breaking its own rules; whatever the options reader
// accepts comes back unchanged through its writer.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_streams.h"
#include "stock/play_records.h"
#include "stock/player_options.h"

namespace {

std::string Written(const PlayRecords& records) {
  MemoryStream out;
  FUZZ_CHECK(WriteRecords(out.Stream(), records), "the writer takes a stream");
  return out.Contents();
}

std::string Written(const PlayerOptions& options) {
  MemoryStream out;
  FUZZ_CHECK(WritePlayerOptions(out.Stream(), options), "the writer takes a stream");
  return out.Contents();
}

void CheckOptions(const std::string& text) {
  PlayerOptions options;
  if (!ParsePlayerOptions(text, &options)) return;
  const std::string once = Written(options);
  PlayerOptions back;
  FUZZ_CHECK(ParsePlayerOptions(once, &back), "written options read back");
  FUZZ_CHECK(back.marksFollowEntries == options.marksFollowEntries && back.showClashes == options.showClashes,
             "with the same switches");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckOptions(text);
  PlayRecords records;
  if (!ParseRecords(text, &records)) return 0;
  for (const LevelRecord& r : records.levels) {
    FUZZ_CHECK(r.solved >= 0 && r.bestSeconds >= 0 && r.hints >= 0, "no negative number");
    FUZZ_CHECK(r.solved == 0 || r.bestSeconds <= r.totalSeconds / r.solved, "best at most the average");
  }
  const std::string once = Written(records);
  PlayRecords back;
  FUZZ_CHECK(ParseRecords(once, &back), "what was written reads back");
  FUZZ_CHECK(Written(back) == once, "and writes the same again");
  const long long seconds = size > 0 ? data[0] * 37LL : 0;
  AddSolved(&back, 1 + int(size % 3), seconds, int(size % 5));
  FUZZ_CHECK(ParseRecords(Written(back), &records), "one more solved puzzle keeps the rules");
  FormatRecords(records, seconds);
  return 0;
}
