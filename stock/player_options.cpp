// The options file: its text and its reading and writing.
#include "stock/player_options.h"

#include "puzzle/safe_file.h"

namespace {

constexpr int kOptionsVersion = 1;
constexpr size_t kMaxOptionsFileBytes = 256;
const char kFollowKey[] = "marks follow entries";
const char kClashesKey[] = "show clashes";

bool ReadSwitch(const std::string& line, const char* key, bool* on) {
  long long n = 0;
  if (!ReadKeyNumber(line, key, 1, &n)) return false;
  *on = n == 1;
  return true;
}

}  // namespace

bool WritePlayerOptions(FILE* stream, const PlayerOptions& options) {
  if (!stream) return false;
  std::fprintf(stream, "Kubri options %d\n%s %d\n%s %d\n", kOptionsVersion, kFollowKey,
               options.marksFollowEntries ? 1 : 0, kClashesKey, options.showClashes ? 1 : 0);
  return true;
}

bool ParsePlayerOptions(const std::string& text, PlayerOptions* options) {
  std::string lines[3];
  int count = 0;
  if (!SplitLines(text, lines, 3, &count) || count != 3) return false;
  long long version = 0;
  if (!ReadKeyNumber(lines[0], "Kubri options", 999, &version) || version != kOptionsVersion) return false;
  return ReadSwitch(lines[1], kFollowKey, &options->marksFollowEntries) &&
         ReadSwitch(lines[2], kClashesKey, &options->showClashes);
}

GameFileResult LoadOptionsFile(const wchar_t* path, PlayerOptions* options) {
  const GameFileResult result = LoadCheckedFile(
      path, kMaxOptionsFileBytes, [options](const std::string& text) { return ParsePlayerOptions(text, options); });
  if (result != kGameFileRead) *options = PlayerOptions();
  return result;
}

bool SaveOptionsFile(const wchar_t* path, const PlayerOptions& options) {
  SafeFileWriter writer;
  if (!writer.Open(path)) return false;
  WritePlayerOptions(writer.Stream(), options);
  return writer.Commit();
}
