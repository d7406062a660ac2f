// kubri-puzzle: makes, solves, grades and checks puzzles from the command
// line, for people who make puzzles and for measuring the core without a
// window. Exit status: 0 success, 1 a generation failed or a grid is wrong,
// 2 bad usage or an unreadable file.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "puzzle/random.h"
#include "puzzle/safe_file.h"
#include "tools/explain_format.h"
#include "tools/puzzle_lines.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int kUsage = 2;

const char kHelp[] =
    "usage: kubri-puzzle COMMAND [OPTIONS] [FILE...]\n"
    "\n"
    "Commands:\n"
    "  generate   make puzzles of a level\n"
    "  solve      solve puzzle files with the techniques of a level\n"
    "  grade      print the level of every puzzle in files of puzzles\n"
    "  check      tell whether a filled puzzle file is solved correctly\n"
    "  explain    list the solver's steps on puzzles, and why each cell is placed\n"
    "\n"
    "kubri-puzzle COMMAND --help describes each command.\n";

const char kGenerateHelp[] =
    "usage: kubri-puzzle generate --level L [--min A --max B] [--attempts N]\n"
    "                             [--seed S] [--count K] [--format kbr|line]\n"
    "\n"
    "Generates K puzzles (default 1) that level B completes and level A - 1\n"
    "does not; --level L means A = B = L (levels 1 to 3; A defaults to 1 and\n"
    "B to 3). Each generation may use N passes (default 50000). S seeds the\n"
    "random sequence (default: the clock); the seed used is printed to\n"
    "stderr. Puzzles go to stdout as nine board lines each (kbr) or as one\n"
    "line of 81 characters with '.' for an empty cell (line).\n"
    "When K is above 1 and stderr is a terminal, progress shows there.\n"
    "Exit status 0 when every generation succeeded, 1 when any failed (its\n"
    "board is printed as it was left).\n";

const char kSolveHelp[] =
    "usage: kubri-puzzle solve [--level L] FILE...\n"
    "\n"
    "Loads each puzzle file, solves it with the techniques of level L (1 to\n"
    "3, default 3) and prints the board with the candidates of undecided\n"
    "cells, then '# complete', '# incomplete' or '# contradiction'. The\n"
    "output is itself a puzzle file.\n";

const char kGradeHelp[] =
    "usage: kubri-puzzle grade FILE...\n"
    "\n"
    "Reads puzzles one after another (nine board lines each, or one line of\n"
    "81 characters each) and prints one line per puzzle: its level 1, 2 or\n"
    "3, or 'dropped: contradiction' or 'dropped: level 3 cannot complete it'.\n"
    "A puzzle cut short at the end of a file of board lines is ignored.\n";

const char kCheckHelp[] =
    "usage: kubri-puzzle check FILE\n"
    "\n"
    "Loads a filled puzzle file and prints 'correct' or 'wrong' (exit\n"
    "status 0 or 1).\n";

const char kExplainHelp[] =
    "usage: kubri-puzzle explain [--level L] [--format text|tsv] FILE...\n"
    "\n"
    "Reads puzzles as grade does (nine board lines each, or one line of 81\n"
    "characters each) and replays the solver with the techniques of level L\n"
    "(1 to 3, default 3) from each puzzle's values, in the solver's own order.\n"
    "\n"
    "tsv: one line per step that changed something,\n"
    "  N<TAB>FAMILY<TAB>HOUSE<TAB>CHANGES\n"
    "N counts from 1 for each puzzle; FAMILY is value elimination, hidden\n"
    "single, pointing, claiming, naked pair or hidden pair; HOUSE is 'row R',\n"
    "'column C' or 'box B' (boxes left to right, then top to bottom); CHANGES\n"
    "lists each changed cell as rRcC=D when one digit D is left, else as\n"
    "rRcC-DIGITS with the digits removed.\n"
    "text (the default): each placement with the step that made it and the\n"
    "level 2 and 3 steps it relied on, then the steps per family and the level\n"
    "the puzzle needs.\n"
    "\n"
    "Each puzzle ends with '# complete', '# incomplete' or '# contradiction',\n"
    "as solve gives it.\n";

// Wide paths for Board::Load: UTF-8 arguments decoded to UTF-32 (POSIX) or
// UTF-16 (Windows).
std::wstring Widen(const std::string& text) {
  std::wstring out;
  const size_t size = text.size();
  for (size_t i = 0; i < size;) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    int extra = -1;
    unsigned long u = 0;
    if (b < 0x80) {
      extra = 0, u = b;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1, u = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, u = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3, u = b & 0x07;
    }
    bool ok = extra >= 0 && i + size_t(extra) < size;
    for (int k = 1; ok && k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      ok = (next & 0xC0) == 0x80;
      u = (u << 6) | (next & 0x3F);
    }
    if (!ok || u > 0x10FFFF) {
      out.push_back(wchar_t(0xFFFD));
      ++i;
      continue;
    }
    i += size_t(extra) + 1;
    if (sizeof(wchar_t) == 2 && u >= 0x10000) {
      u -= 0x10000;
      out.push_back(wchar_t(0xD800 + (u >> 10)));
      out.push_back(wchar_t(0xDC00 + (u & 0x3FF)));
    } else {
      out.push_back(wchar_t(u));
    }
  }
  return out;
}

#ifdef _WIN32
std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) {
    unsigned long u = static_cast<unsigned short>(*text);
    if (u >= 0xD800 && u <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (static_cast<unsigned short>(text[1]) - 0xDC00);
      ++text;
    }
    if (u < 0x80) {
      out.push_back(char(u));
    } else if (u < 0x800) {
      out.push_back(char(0xC0 | (u >> 6)));
      out.push_back(char(0x80 | (u & 0x3F)));
    } else if (u < 0x10000) {
      out.push_back(char(0xE0 | (u >> 12)));
      out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
      out.push_back(char(0x80 | (u & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (u >> 18)));
      out.push_back(char(0x80 | ((u >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
      out.push_back(char(0x80 | (u & 0x3F)));
    }
  }
  return out;
}
#endif

int Fail(const std::string& message) {
  std::fprintf(stderr, "kubri-puzzle: %s\n", message.c_str());
  return kUsage;
}

// A whole decimal number within [low, high], or false.
bool ParseNumber(const std::string& text, long long low, long long high, long long* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < low || value > high) return false;
  if (!(text[0] == '-' || (text[0] >= '0' && text[0] <= '9'))) return false;
  *out = value;
  return true;
}

// The command's arguments: options with values, and plain operands.
struct Arguments {
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<std::string> operands;
  bool help = false;
};

// Splits "--name value" and "--name=value"; `valued` lists the options that
// take a value. An unknown option or a missing value is an error.
bool Split(const std::vector<std::string>& args, const std::vector<std::string>& valued,
           Arguments* out, std::string* error) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      out->operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      out->help = true;
      continue;
    }
    std::string name = arg, value;
    const size_t equals = arg.find('=');
    const bool inlineValue = equals != std::string::npos;
    if (inlineValue) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    bool known = false;
    for (const std::string& v : valued) known = known || v == name;
    if (!known) {
      *error = "unknown option '" + name + "'";
      return false;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        *error = "option '" + name + "' needs a value";
        return false;
      }
      value = args[++i];
    }
    out->options.emplace_back(name, value);
  }
  return true;
}

// Reads a level option (1..3) if present. False on a bad value.
bool LevelOption(const Arguments& a, const char* name, int* level, std::string* error) {
  for (const auto& option : a.options) {
    if (option.first != name) continue;
    long long value = 0;
    if (!ParseNumber(option.second, 1, 3, &value)) {
      *error = std::string("option '") + name + "' takes a level from 1 to 3, not '" +
               option.second + "'";
      return false;
    }
    *level = int(value);
  }
  return true;
}

bool IsTerminal(FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

// m:ss, or h:mm:ss from an hour on.
std::string ClockTime(double seconds) {
  const long long s = (long long)(seconds + 0.5);
  char text[32];
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  }
  return text;
}

// Progress of a long generation on stderr, when stderr is a terminal: done /
// total, the time taken and an estimate of the time left, on one line that
// is rewritten at most four times a second. Silent otherwise, so that
// redirected output never changes.
class Progress {
 public:
  explicit Progress(long long count)
      : total(count), shown(count > 1 && IsTerminal(stderr)), start(Clock::now()), last(start) {}

  void Update(long long done) {
    if (!shown) return;
    const Clock::time_point now = Clock::now();
    if (done < total && now - last < std::chrono::milliseconds(250)) return;
    last = now;
    const double elapsed = std::chrono::duration<double>(now - start).count();
    std::string line = std::to_string(done) + "/" + std::to_string(total) + "  " +
                       ClockTime(elapsed) + " elapsed";
    if (done > 0 && done < total) {
      line += ", about " + ClockTime(elapsed / double(done) * double(total - done)) + " left";
    }
    // Spaces over what a longer line before left (no terminal escapes, which
    // not every console understands).
    const size_t length = line.size();
    if (length < width) line.append(width - length, ' ');
    width = length;
    std::fprintf(stderr, "\r%s%s", line.c_str(), done >= total ? "\n" : "");
    std::fflush(stderr);
  }

 private:
  using Clock = std::chrono::steady_clock;
  const long long total;
  const bool shown;
  const Clock::time_point start;
  Clock::time_point last;
  size_t width = 0;
};

void WriteLine(const Board& board) {
  char line[83];
  FormatPuzzleLine(board, line);
  std::fputs(line, stdout);
}

int Generate(const std::vector<std::string>& args) {
  Arguments a;
  std::string error;
  if (!Split(args, {"--level", "--min", "--max", "--attempts", "--seed", "--count", "--format"},
             &a, &error)) {
    return Fail(error);
  }
  if (a.help) {
    std::fputs(kGenerateHelp, stdout);
    return 0;
  }
  if (!a.operands.empty()) return Fail("generate takes no file ('" + a.operands[0] + "')");
  int level = 0, minLevel = 0, maxLevel = 0;
  if (!LevelOption(a, "--level", &level, &error) || !LevelOption(a, "--min", &minLevel, &error) ||
      !LevelOption(a, "--max", &maxLevel, &error)) {
    return Fail(error);
  }
  if (!level && !minLevel && !maxLevel) return Fail("generate needs --level (or --min/--max)");
  if (level) {
    if (!minLevel) minLevel = level;
    if (!maxLevel) maxLevel = level;
  }
  if (!minLevel) minLevel = 1;
  if (!maxLevel) maxLevel = 3;
  if (minLevel > maxLevel) return Fail("--min is above --max");
  long long attempts = 50000, count = 1, seed = -1;
  bool lineFormat = false;
  for (const auto& option : a.options) {
    const std::string& name = option.first;
    const std::string& value = option.second;
    if (name == "--attempts" && !ParseNumber(value, 0, 2147483647, &attempts)) {
      return Fail("--attempts takes a number from 0 up, not '" + value + "'");
    }
    if (name == "--count" && !ParseNumber(value, 0, 2147483647, &count)) {
      return Fail("--count takes a number from 0 up, not '" + value + "'");
    }
    if (name == "--seed" && !ParseNumber(value, 0, 4294967295LL, &seed)) {
      return Fail("--seed takes a number from 0 to 4294967295, not '" + value + "'");
    }
    if (name == "--format") {
      if (value != "kbr" && value != "line") return Fail("--format is kbr or line, not '" + value + "'");
      lineFormat = value == "line";
    }
  }
  const unsigned used = seed >= 0 ? unsigned(seed) : unsigned(std::time(nullptr));
  std::fprintf(stderr, "seed %u\n", used);
  SeedRand(used);
  int status = 0;
  Board board;
  Progress progress(count);
  for (long long i = 0; i < count; ++i) {
    if (!board.Generate(minLevel, maxLevel, int(attempts))) status = 1;
    if (lineFormat) {
      WriteLine(board);
    } else {
      board.Write(stdout, true);
    }
    progress.Update(i + 1);
  }
  std::fflush(stdout);
  return status;
}

// Loads a puzzle file, telling an unreadable file from a short one.
bool LoadFile(const std::string& path, Board* board, std::string* error) {
  const std::wstring wide = Widen(path);
  if (board->Load(wide.c_str())) return true;
  FILE* probe = OpenTextFileForReading(wide.c_str());
  if (!probe) {
    *error = "cannot open '" + path + "': " + std::strerror(errno);
    return false;
  }
  std::fclose(probe);
  *error = "'" + path + "' is not a puzzle file (fewer than nine lines)";
  return false;
}

int Solve(const std::vector<std::string>& args) {
  Arguments a;
  std::string error;
  if (!Split(args, {"--level"}, &a, &error)) return Fail(error);
  if (a.help) {
    std::fputs(kSolveHelp, stdout);
    return 0;
  }
  int level = 3;
  if (!LevelOption(a, "--level", &level, &error)) return Fail(error);
  if (a.operands.empty()) return Fail("solve needs a puzzle file");
  for (const std::string& path : a.operands) {
    Board board;
    if (!LoadFile(path, &board, &error)) return Fail(error);
    const bool verdict = board.SolveAtLevel(level);
    board.Write(stdout, false);
    std::puts(!verdict ? "# contradiction" : board.IsComplete() ? "# complete" : "# incomplete");
  }
  std::fflush(stdout);
  return 0;
}

void PrintGrade(const Board& board) {
  const int grade = GradePuzzle(board);
  if (grade == kGradeContradiction) {
    std::puts("dropped: contradiction");
  } else if (grade == kGradeUnfinished) {
    std::puts("dropped: level 3 cannot complete it");
  } else {
    std::printf("%d\n", grade);
  }
}

// Calls each(board, number, lines) for every puzzle of a file: nine board
// lines each (the board's number then counts boards), or one line of 81
// characters each (it is the line's number, and `lines` is true). A
// malformed line is reported and skipped. Returns 0, or 2 when the file
// cannot be opened or held a malformed line.
template <class Each>
int ForEachPuzzle(const std::string& path, Each each) {
  const std::wstring wide = Widen(path);
  FILE* stream = OpenTextFileForReading(wide.c_str());
  if (!stream) return Fail("cannot open '" + path + "': " + std::strerror(errno));
  int status = 0;
  Board board;
  int number = 0;
  if (!HoldsPuzzleLines(stream)) {
    while (board.Read(stream, true)) {
      each(board, ++number, false);
    }
  } else {
    PuzzleLineResult result;
    while ((result = ReadPuzzleLine(stream, &board, &number)) != kPuzzleLineEnd) {
      if (result == kPuzzleLineMalformed) {
        std::fflush(stdout);
        std::fprintf(stderr, "kubri-puzzle: %s:%d: not a line of 81 characters\n",
                     path.c_str(), number);
        status = kUsage;
        continue;
      }
      each(board, number, true);
    }
  }
  std::fclose(stream);
  return status;
}

int GradeFile(const std::string& path) {
  return ForEachPuzzle(path, [](const Board& board, int, bool) { PrintGrade(board); });
}

int Grade(const std::vector<std::string>& args) {
  Arguments a;
  std::string error;
  if (!Split(args, {}, &a, &error)) return Fail(error);
  if (a.help) {
    std::fputs(kGradeHelp, stdout);
    return 0;
  }
  if (a.operands.empty()) return Fail("grade needs a file of puzzles");
  int status = 0;
  for (const std::string& path : a.operands) {
    const int result = GradeFile(path);
    if (result != 0) status = result;
  }
  std::fflush(stdout);
  return status;
}

// How the explain command writes each puzzle.
struct ExplainOutput {
  int level = 3;
  bool tsv = false;
  Explanation* explanation = nullptr;
  int puzzles = 0;
};

// `where` names the puzzle in the text format: the file, and the line of a
// puzzle line.
void ExplainPuzzle(const Board& board, const std::string& where, ExplainOutput* o) {
  int values[81];
  for (int i = 0; i < 81; ++i) values[i] = board.GetValue(i / 9, i % 9);
  Explain(values, o->level, o->explanation);
  if (o->tsv) {
    WriteExplanationTsv(*o->explanation, stdout);
  } else {
    std::printf("%s%s\n", o->puzzles ? "\n" : "", where.c_str());
    WriteExplanationText(*o->explanation, GradePuzzle(board), stdout);
  }
  ++o->puzzles;
}

int ExplainFile(const std::string& path, ExplainOutput* o) {
  // A puzzle is named by its file (with " (board N)" from the second board
  // on), or by file:line.
  return ForEachPuzzle(path, [&path, o](const Board& board, int number, bool lines) {
    const std::string where = lines ? path + ":" + std::to_string(number)
                              : number == 1 ? path
                                            : path + " (board " + std::to_string(number) + ")";
    ExplainPuzzle(board, where, o);
  });
}

int ExplainCommand(const std::vector<std::string>& args) {
  Arguments a;
  std::string error;
  if (!Split(args, {"--level", "--format"}, &a, &error)) return Fail(error);
  if (a.help) {
    std::fputs(kExplainHelp, stdout);
    return 0;
  }
  ExplainOutput o;
  if (!LevelOption(a, "--level", &o.level, &error)) return Fail(error);
  for (const auto& option : a.options) {
    if (option.first != "--format") continue;
    if (option.second != "text" && option.second != "tsv") {
      return Fail("--format is text or tsv, not '" + option.second + "'");
    }
    o.tsv = option.second == "tsv";
  }
  if (a.operands.empty()) return Fail("explain needs a file of puzzles");
  std::unique_ptr<Explanation> explanation(new Explanation);
  o.explanation = explanation.get();
  int status = 0;
  for (const std::string& path : a.operands) {
    const int result = ExplainFile(path, &o);
    if (result != 0) status = result;
  }
  std::fflush(stdout);
  return status;
}

int Check(const std::vector<std::string>& args) {
  Arguments a;
  std::string error;
  if (!Split(args, {}, &a, &error)) return Fail(error);
  if (a.help) {
    std::fputs(kCheckHelp, stdout);
    return 0;
  }
  if (a.operands.size() != 1) return Fail("check takes exactly one puzzle file");
  Board board;
  if (!LoadFile(a.operands[0], &board, &error)) return Fail(error);
  const bool correct = board.IsCorrect();
  std::puts(correct ? "correct" : "wrong");
  return correct ? 0 : 1;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fputs(kHelp, stderr);
    return kUsage;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (command == "generate") return Generate(rest);
  if (command == "solve") return Solve(rest);
  if (command == "grade") return Grade(rest);
  if (command == "check") return Check(rest);
  if (command == "explain") return ExplainCommand(rest);
  return Fail("unknown command '" + command + "' (try --help)");
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
  return Run(args);
}
#else
int main(int argc, char** argv) {
  return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
