// The records rules, the records file and its text, and the play clock.
#include "stock/play_records.h"

#include "puzzle/safe_file.h"

namespace {

// Version 1 had no "counted" lines; it still reads.
constexpr int kRecordsVersion = 2;
constexpr size_t kMaxRecordsFileBytes = 4096;
// The version line and one line per level come first, always.
constexpr int kRecordsHeadLines = 1 + kPlayLevelCount;
constexpr int kMaxRecordsLines = kRecordsHeadLines + kRememberedPuzzles;
const char kCountedKey[] = "counted ";
const char* const kLevelKeys[] = {"level 1", "level 2", "level 3"};
static_assert(sizeof kLevelKeys / sizeof kLevelKeys[0] == kPlayLevelCount, "one key per play level");

// "level L solved N best B total T hints H"
bool ReadLevel(const std::string& line, const char* key, LevelRecord* record) {
  const std::string prefix = std::string(key) + " ";
  if (line.compare(0, prefix.size(), prefix) != 0) return false;
  const char* names[4] = {"solved", "best", "total", "hints"};
  long long* fields[4] = {&record->solved, &record->bestSeconds, &record->totalSeconds, &record->hints};
  size_t start = prefix.size();
  for (int i = 0; i < 4; ++i) {
    size_t end = line.find(' ', start);
    end = line.find(' ', end == std::string::npos ? end : end + 1);
    if ((end == std::string::npos) != (i == 3)) return false;
    if (!ReadKeyNumber(line.substr(start, end - start), names[i], kMaxRecordNumber, fields[i])) return false;
    start = end + 1;
  }
  if (record->solved == 0) return record->bestSeconds == 0 && record->totalSeconds == 0 && record->hints == 0;
  // The best time is at most the average, and the total at least the best.
  return record->bestSeconds <= record->totalSeconds / record->solved;
}

void AddTime(std::wstring* text, long long seconds) { *text += FormatDuration(seconds); }

// "counted" and sixteen lower-case hex digits.
bool ReadCounted(const std::string& line, PuzzleKey* key) {
  const size_t prefix = sizeof kCountedKey - 1;
  if (line.size() != prefix + 16 || line.compare(0, prefix, kCountedKey) != 0) return false;
  PuzzleKey k = 0;
  for (size_t i = prefix; i < line.size(); ++i) {
    const char c = line[i];
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    k = k << 4 | PuzzleKey(digit);
  }
  *key = k;
  return true;
}

}  // namespace

PuzzleKey PuzzleKeyOf(const Board& board) {
  // FNV-1a over the given digit of each cell, 0 where there is none.
  PuzzleKey hash = 14695981039346656037ULL;
  for (int i = 0; i < 81; ++i) {
    const int row = i / 9, col = i % 9;
    hash ^= PuzzleKey(board.IsGiven(row, col) ? board.GetValue(row, col) : 0);
    hash *= 1099511628211ULL;
  }
  return hash;
}

bool HasCounted(const PlayRecords& records, PuzzleKey key) {
  for (int i = 0; i < records.countedCount; ++i) {
    if (records.counted[i] == key) return true;
  }
  return false;
}

void NoteCounted(PlayRecords* records, PuzzleKey key) {
  if (HasCounted(*records, key)) return;
  if (records->countedCount == kRememberedPuzzles) {
    for (int i = 1; i < kRememberedPuzzles; ++i) records->counted[i - 1] = records->counted[i];
    --records->countedCount;
  }
  records->counted[records->countedCount++] = key;
}

SolveCount CountSolve(PlayRecords* records, const GameProgress& progress, PuzzleKey key, long long seconds) {
  if (!IsLevelSource(progress.source) || progress.answerUsed) {
    return kSolveNotCounting;
  }
  if (progress.counted || HasCounted(*records, key)) return kSolveCountedBefore;
  AddSolved(records, progress.source, seconds, progress.hints);
  NoteCounted(records, key);
  return kSolveCountedNow;
}

bool CountsAsSolved(const GameProgress& progress) {
  return IsLevelSource(progress.source) && !progress.answerUsed && !progress.counted;
}

void AddSolved(PlayRecords* records, int level, long long seconds, int hints) {
  if (!IsPlayLevel(level)) return;
  LevelRecord& r = records->levels[level - kLowestLevel];
  if (seconds < 0) seconds = 0;
  if (r.solved >= kMaxRecordNumber || r.totalSeconds > kMaxRecordNumber - seconds ||
      r.hints > kMaxRecordNumber - hints) {
    return;  // a number that big is no longer worth keeping exactly
  }
  if (r.solved == 0 || seconds < r.bestSeconds) r.bestSeconds = seconds;
  ++r.solved;
  r.totalSeconds += seconds;
  r.hints += hints > 0 ? hints : 0;
}

bool WriteRecords(FILE* stream, const PlayRecords& records) {
  if (!stream) return false;
  std::fprintf(stream, "Kubri records %d\n", kRecordsVersion);
  for (int i = 0; i < kPlayLevelCount; ++i) {
    const LevelRecord& r = records.levels[i];
    std::fprintf(stream, "%s solved %lld best %lld total %lld hints %lld\n", kLevelKeys[i], r.solved,
                 r.bestSeconds, r.totalSeconds, r.hints);
  }
  const int count = records.countedCount < kRememberedPuzzles ? records.countedCount : kRememberedPuzzles;
  for (int i = 0; i < count; ++i) {
    std::fprintf(stream, "%s%016llx\n", kCountedKey, static_cast<unsigned long long>(records.counted[i]));
  }
  return true;
}

bool ParseRecords(const std::string& text, PlayRecords* records) {
  std::string lines[kMaxRecordsLines];
  int count = 0;
  if (!SplitLines(text, lines, kMaxRecordsLines, &count) || count < kRecordsHeadLines) return false;
  long long version = 0;
  if (!ReadKeyNumber(lines[0], "Kubri records", 999, &version) || version < 1 || version > kRecordsVersion) {
    return false;
  }
  if (version == 1 && count != kRecordsHeadLines) return false;
  for (int i = 0; i < kPlayLevelCount; ++i) {
    if (!ReadLevel(lines[1 + i], kLevelKeys[i], &records->levels[i])) return false;
  }
  records->countedCount = 0;
  for (int i = kRecordsHeadLines; i < count; ++i) {
    PuzzleKey key = 0;
    if (!ReadCounted(lines[i], &key)) return false;
    if (!HasCounted(*records, key)) records->counted[records->countedCount++] = key;
  }
  return true;
}

GameFileResult LoadRecordsFile(const wchar_t* path, PlayRecords* records) {
  const GameFileResult result = LoadCheckedFile(
      path, kMaxRecordsFileBytes, [records](const std::string& text) { return ParseRecords(text, records); });
  if (result != kGameFileRead) *records = PlayRecords();
  return result;
}

bool SaveRecordsFile(const wchar_t* path, const PlayRecords& records) {
  SafeFileWriter writer;
  if (!writer.Open(path)) return false;
  WriteRecords(writer.Stream(), records);
  return writer.Commit();
}

std::wstring FormatDuration(long long seconds) {
  if (seconds < 0) seconds = 0;
  const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  std::wstring text = h > 0 ? std::to_wstring(h) + L":" : L"";
  text += (h > 0 && m < 10 ? L"0" : L"") + std::to_wstring(m) + L":";
  text += (s < 10 ? L"0" : L"") + std::to_wstring(s);
  return text;
}

std::wstring FormatRecords(const PlayRecords& records, long long currentSeconds) {
  static const wchar_t* const kLevelNames[] = {
      L"\u30ec\u30d9\u30eb\uff11", L"\u30ec\u30d9\u30eb\uff12", L"\u30ec\u30d9\u30eb\uff13"};  // レベル１..３
  static_assert(sizeof kLevelNames / sizeof kLevelNames[0] == kPlayLevelCount, "one name per play level");
  std::wstring text;
  for (int i = 0; i < kPlayLevelCount; ++i) {
    const LevelRecord& r = records.levels[i];
    text += kLevelNames[i];
    text += L"\uff1a\u89e3\u3044\u305f\u6570 " + std::to_wstring(r.solved);  // ：解いた数
    if (r.solved > 0) {
      text += L"\u3001\u6700\u77ed ";  // 、最短
      AddTime(&text, r.bestSeconds);
      text += L"\u3001\u5e73\u5747 ";  // 、平均
      AddTime(&text, (r.totalSeconds + r.solved / 2) / r.solved);
      text += L"\u3001\u30d2\u30f3\u30c8 " + std::to_wstring(r.hints);  // 、ヒント
    }
    text += L"\n";
  }
  text += L"\n\u3053\u306e\u554f\u984c\uff1a";  // この問題：
  AddTime(&text, currentSeconds);
  return text;
}

void PlayClock::Update(unsigned long long now, bool playing) {
  if (running && now > last) elapsed += now - last;
  last = now;
  running = playing;
}

void PlayClock::Reset(long long seconds) {
  elapsed = seconds > 0 ? static_cast<unsigned long long>(seconds) * 1000 : 0;
  running = false;
}
