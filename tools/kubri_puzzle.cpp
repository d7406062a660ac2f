// kubri-puzzle: makes, solves, grades and checks puzzles from the command
// line, for people who make puzzles and for measuring the core without a
// window. Exit status: 0 success, 1 a generation failed, a grid is wrong or
// the output could not be written, 2 bad usage or a file that cannot be read
// as puzzles.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "puzzle/random.h"
#include "puzzle/safe_file.h"
#include "solver/search.h"
#include "tools/explain_format.h"
#include "tools/puzzle_lines.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

const char kHelpEnd[] =
    "\n"
    "kubri-puzzle COMMAND --help describes each command.\n"
    "A FILE named - is standard input. A file holds puzzles of nine board\n"
    "lines, each maybe followed by candidate lines as solve writes them, or\n"
    "puzzles of one line of 81 characters ('1' to '9' a digit, '.' or '0' an\n"
    "empty cell), told apart by its contents.\n"
    "Exit status: 0 success; 1 a generation failed, a grid is wrong or the\n"
    "output could not be written; 2 bad usage or a file that cannot be read\n"
    "as puzzles.\n";

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
static_assert(Board::kWaitedForAttempts == 50000, "the help above names the default passes");
static_assert(kLowestLevel == 1 && kHighestPlayLevel == 3, "the help above names the play levels");

const char kSolveHelp[] =
    "usage: kubri-puzzle solve [--level L] FILE...\n"
    "\n"
    "Solves every puzzle of the files and prints each as a board with the\n"
    "candidates of its undecided cells, then a verdict line.\n"
    "Without --level: every puzzle of exactly one solution is finished,\n"
    "by the level 3 techniques and, where they stop short, by a search;\n"
    "the verdict is '# complete', or '# several solutions' or\n"
    "'# contradiction' (no solution) under what level 3 decided.\n"
    "With --level L (1 to 6): only the techniques of level L, and the\n"
    "verdict '# complete', '# incomplete' or '# contradiction'.\n"
    "The output is itself a file of puzzles that every command reads.\n";

const char kGradeHelp[] =
    "usage: kubri-puzzle grade FILE...\n"
    "\n"
    "Reads puzzles one after another (nine board lines each, or one line of\n"
    "81 characters each) and prints one line per puzzle: its level 1 to 6,\n"
    "or 'dropped: several solutions' or 'dropped: contradiction' (no\n"
    "solution). With more than one file each line starts with the puzzle's\n"
    "name and ': '. A puzzle cut short at the end of a file of board lines\n"
    "is ignored.\n";

const char kCheckHelp[] =
    "usage: kubri-puzzle check FILE\n"
    "\n"
    "Reads filled puzzles (one board, several boards, or lines of 81\n"
    "characters) and prints 'correct' or 'wrong' for each (exit status 0,\n"
    "or 1 when any is wrong).\n";

const char kExplainHelp[] =
    "usage: kubri-puzzle explain [--level L] [--format text|tsv] FILE...\n"
    "\n"
    "Reads puzzles as grade does (nine board lines each, or one line of 81\n"
    "characters each) and replays the solver with the techniques of level L\n"
    "from each puzzle's values, in the solver's own order. L is 1 to 6; by\n"
    "default it is the puzzle's own level, the lowest level that completes\n"
    "it, or 3 for a puzzle of several solutions or none.\n"
    "\n"
    "tsv: one line per step that changed something,\n"
    "  N<TAB>FAMILY<TAB>HOUSE<TAB>CHANGES\n"
    "N counts from 1 for each puzzle; FAMILY is value elimination, hidden\n"
    "single, pointing, claiming, naked pair or hidden pair; HOUSE is 'row R',\n"
    "'column C' or 'box B' (boxes left to right, then top to bottom); CHANGES\n"
    "lists each changed cell as rRcC=D when one digit D is left, else as\n"
    "rRcC-DIGITS with the digits removed.\n"
    "text (the default): the puzzle and the level replayed, each placement\n"
    "with the step that made it and the level 2 and 3 steps it relied on,\n"
    "then the steps per family and the level the puzzle needs.\n"
    "\n"
    "Each puzzle ends with '# complete', '# incomplete' or '# contradiction',\n"
    "as solve gives it.\n";
static_assert(kHighestPlayLevel == 3 && kHighestGradeLevel == 6,
              "the solve, grade and explain helps name the highest play and solver levels");

int Fail(const std::string& message) {
  std::fflush(stdout);
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

// One command-line argument as text (UTF-8) and, should it name a file, as
// the path that opens it.
struct Argument {
  std::string text;
  std::filesystem::path path;
};

enum OptionKind { kLevelOption, kSolverLevelOption, kNumberOption, kChoiceOption };

// An option that takes a value: a play level (the levels puzzles are made
// at), a level of the solver 1..kHighestGradeLevel, a number from low to high
// (INT_MAX reads "up"), or one of two words.
struct OptionRule {
  const char* name;
  OptionKind kind;
  long long low;
  long long high;
  const char* choices[2];
};

// Empty when `value` suits the option, else what is wrong with it.
std::string CheckValue(const OptionRule& rule, const std::string& value) {
  const std::string name = rule.name;
  long long number = 0;
  switch (rule.kind) {
    case kLevelOption:
      if (ParseNumber(value, kLowestLevel, kHighestPlayLevel, &number)) return "";
      return "option '" + name + "' takes a level from " + std::to_string(kLowestLevel) + " to " +
             std::to_string(kHighestPlayLevel) + ", not '" + value + "'";
    case kSolverLevelOption:
      if (ParseNumber(value, kLowestLevel, kHighestGradeLevel, &number)) return "";
      return "option '" + name + "' takes a level from " + std::to_string(kLowestLevel) + " to " +
             std::to_string(kHighestGradeLevel) + ", not '" + value + "'";
    case kNumberOption: {
      if (ParseNumber(value, rule.low, rule.high, &number)) return "";
      const std::string range = rule.high == INT_MAX ? std::to_string(rule.low) + " up"
                                                     : std::to_string(rule.low) + " to " +
                                                           std::to_string(rule.high);
      return name + " takes a number from " + range + ", not '" + value + "'";
    }
    case kChoiceOption:
      if (value == rule.choices[0] || value == rule.choices[1]) return "";
      return name + " is " + rule.choices[0] + " or " + rule.choices[1] + ", not '" + value + "'";
  }
  return "";
}

// What a command was given: the options with their values, in order (the
// last of a repeated option counts), and the files.
struct Invocation {
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<Argument> files;

  bool Has(const char* name) const {
    for (const auto& option : options) {
      if (option.first == name) return true;
    }
    return false;
  }
  // The option's value, or `fallback` when it was not given.
  std::string Text(const char* name, const char* fallback) const {
    std::string value = fallback;
    for (const auto& option : options) {
      if (option.first == name) value = option.second;
    }
    return value;
  }
  // The value of an option already checked to be a number.
  long long Number(const char* name, long long fallback) const {
    return Has(name) ? std::strtoll(Text(name, "").c_str(), nullptr, 10) : fallback;
  }
};

// One command of the tool: its name and line in the tool's help, its own
// help, the options it takes, how many files (maxFiles < 0: any number) and
// what to say otherwise, and the handler, which runs on checked arguments
// and returns the exit status.
struct Command {
  const char* name;
  const char* summary;
  const char* help;
  std::vector<OptionRule> options;
  int minFiles;
  int maxFiles;
  const char* filesError;
  int (*run)(const Invocation&);
};

const OptionRule* FindOption(const Command& command, const std::string& name) {
  for (const OptionRule& rule : command.options) {
    if (name == rule.name) return &rule;
  }
  return nullptr;
}

// Splits "--name value" and "--name=value" from the files; "--" ends the
// options and "-" alone is a file. An unknown option or a missing value is
// an error, wherever --help stands. *help is set by --help or -h.
bool SplitArguments(const Command& command, const std::vector<Argument>& args, Invocation* out,
                    bool* help, std::string* error) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i].text;
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      out->files.push_back(args[i]);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      *help = true;
    } else {
      const size_t equals = arg.find('=');
      const std::string name = arg.substr(0, equals);
      if (!FindOption(command, name)) {
        *error = "unknown option '" + name + "'";
        return false;
      }
      if (equals == std::string::npos && i + 1 >= args.size()) {
        *error = "option '" + name + "' needs a value";
        return false;
      }
      out->options.emplace_back(name, equals != std::string::npos ? arg.substr(equals + 1)
                                                                   : args[++i].text);
    }
  }
  return true;
}

// Checks every option's value in the order given, then the number of files.
bool CheckInvocation(const Command& command, const Invocation& in, std::string* error) {
  for (const auto& option : in.options) {
    *error = CheckValue(*FindOption(command, option.first), option.second);
    if (!error->empty()) return false;
  }
  const int files = int(in.files.size());
  if (files >= command.minFiles && (command.maxFiles < 0 || files <= command.maxFiles)) {
    return true;
  }
  *error = command.filesError;
  if (command.maxFiles == 0) *error += " ('" + in.files[0].text + "')";
  return false;
}

int RunCommand(const Command& command, const std::vector<Argument>& args) {
  Invocation in;
  bool help = false;
  std::string error;
  if (!SplitArguments(command, args, &in, &help, &error)) return Fail(error);
  if (help) {
    std::fputs(command.help, stdout);
    return 0;
  }
  if (!CheckInvocation(command, in, &error)) return Fail(error);
  return command.run(in);
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

int Generate(const Invocation& in) {
  const int level = int(in.Number("--level", 0));
  int minLevel = int(in.Number("--min", level));
  int maxLevel = int(in.Number("--max", level));
  if (!level && !minLevel && !maxLevel) return Fail("generate needs --level (or --min/--max)");
  if (!minLevel) minLevel = kLowestLevel;
  if (!maxLevel) maxLevel = kHighestPlayLevel;
  if (minLevel > maxLevel) return Fail("--min is above --max");
  const long long attempts = in.Number("--attempts", Board::kWaitedForAttempts);
  const long long count = in.Number("--count", 1);
  const long long seed = in.Number("--seed", -1);
  const bool lineFormat = in.Text("--format", "kbr") == "line";
  const unsigned used = seed >= 0 ? unsigned(seed) : unsigned(std::time(nullptr));
  std::fprintf(stderr, "seed %u\n", used);
  SeedRand(used);
  int status = 0;
  Board board;
  Progress progress(count);
  // Output that cannot be written ends the run; the status says so later.
  for (long long i = 0; i < count && !std::ferror(stdout); ++i) {
    if (!board.Generate(minLevel, maxLevel, int(attempts))) status = kFailure;
    if (lineFormat) {
      WriteLine(board);
    } else {
      board.Write(stdout, true);
    }
    progress.Update(i + 1);
  }
  return status;
}

// Called for every puzzle of a file, with the name it goes by (see
// PuzzleName).
using EachPuzzle = std::function<void(Board& puzzle, const std::string& where)>;

// The name a file goes by in messages.
std::string ShownName(const Argument& file) { return file.text == "-" ? "stdin" : file.text; }

// Standard input for "-", else the file opened for reading in text mode;
// null (reported) when it cannot be opened or is a directory.
FILE* OpenInput(const Argument& file) {
  if (file.text == "-") return stdin;
  std::error_code error;
  if (std::filesystem::is_directory(file.path, error)) {
    Fail("'" + file.text + "' is a directory, not a puzzle file");
    return nullptr;
  }
#ifdef _WIN32
  FILE* stream = _wfopen(file.path.c_str(), L"r");
#else
  FILE* stream = std::fopen(file.path.c_str(), "r");
#endif
  if (!stream) Fail("cannot open '" + file.text + "': " + std::strerror(errno));
  return stream;
}

// The name of the file's puzzle number `count` (from 1) that `reader` has
// just read.
std::string PuzzleName(const std::string& file, const PuzzleFileReader& reader, int count) {
  if (reader.Kind() == kPuzzleFileLines) return file + ":" + std::to_string(reader.Line());
  return count == 1 ? file : file + " (board " + std::to_string(count) + ")";
}

// Reads every puzzle of a file, boards with their candidate lines, and calls
// `each` for it. A bad line is reported and the puzzles around it still read
// (where the format allows). Returns 0, or 2 when the file cannot be opened
// or read, holds a bad line, or holds no puzzle.
int ForEachPuzzle(const Argument& file, const EachPuzzle& each) {
  FILE* stream = OpenInput(file);
  if (!stream) return kUsage;
  const std::string name = ShownName(file);
  PuzzleFileReader reader(stream);
  Board board;
  int status = 0, puzzles = 0;
  PuzzleReadResult result;
  // Output that cannot be written ends the reading; the status says so later.
  while (!std::ferror(stdout) && (result = reader.Next(&board)) != kPuzzleEnd) {
    if (result == kPuzzleRead) {
      ++puzzles;
      each(board, PuzzleName(name, reader, puzzles));
    } else if (result == kPuzzleBadLine) {
      status = Fail(name + ":" + std::to_string(reader.Line()) + ": " + reader.BadLineText());
    } else if (puzzles == 0) {  // cut short; after a whole board it is passed over
      status = Fail("'" + name + "' is not a puzzle file (fewer than nine lines)");
    }
  }
  if (std::ferror(stream)) {
    status = Fail("cannot read '" + name + "': " + std::strerror(errno));
  } else if (puzzles == 0 && status == 0 && !std::ferror(stdout)) {
    status = Fail("'" + name + "' holds no puzzle");
  }
  if (stream != stdin) std::fclose(stream);
  return status;
}

// Runs `each` over the puzzles of every file; the worst status of them.
int ForEachFile(const Invocation& in, const EachPuzzle& each) {
  int status = 0;
  for (const Argument& file : in.files) {
    status = std::max(status, ForEachPuzzle(file, each));
  }
  return status;
}

// Solves with the techniques of the highest play level and, where they stop
// short, finishes a puzzle of one solution with the search's; the verdict
// line.
const char* SolveFully(Board& board) {
  uint8_t values[81];
  for (int i = 0; i < 81; ++i) values[i] = uint8_t(board.GetValue(i / 9, i % 9));
  if (!board.SolveAtLevel(kHighestPlayLevel)) return "# contradiction";
  if (board.IsComplete()) return "# complete";
  const SearchOutcome outcome = SearchSolutions(values, 2);
  if (outcome.solutions == 0) return "# contradiction";
  if (outcome.solutions > 1) return "# several solutions";
  for (int i = 0; i < 81; ++i) board.SetValue(i / 9, i % 9, outcome.solution[i]);
  return "# complete";
}

int Solve(const Invocation& in) {
  const int level = int(in.Number("--level", 0));
  return ForEachFile(in, [level](Board& board, const std::string&) {
    const char* verdict = nullptr;
    if (level == 0) {
      verdict = SolveFully(board);
    } else {
      const bool consistent = board.SolveAtLevel(level);
      verdict = !consistent ? "# contradiction" : board.IsComplete() ? "# complete" : "# incomplete";
    }
    board.Write(stdout, false);
    std::puts(verdict);
  });
}

int Grade(const Invocation& in) {
  const bool named = in.files.size() > 1;
  return ForEachFile(in, [named](Board& board, const std::string& where) {
    if (named) std::printf("%s: ", where.c_str());
    const int grade = GradeAtAnyLevel(board);
    if (grade == kGradeContradiction) {
      std::puts("dropped: contradiction");
    } else if (grade == kGradeSeveral) {
      std::puts("dropped: several solutions");
    } else if (grade == kGradeUnfinished) {
      std::printf("dropped: level %d cannot complete it\n", kHighestGradeLevel);
    } else {
      std::printf("%d\n", grade);
    }
  });
}

int Check(const Invocation& in) {
  bool correct = true;
  const int status = ForEachFile(in, [&correct](Board& board, const std::string&) {
    const bool right = board.IsCorrect();
    std::puts(right ? "correct" : "wrong");
    correct = correct && right;
  });
  return std::max(status, correct ? 0 : kFailure);
}

// The line under a puzzle's name in explain's text: the level replayed, and
// why that one.
std::string LevelNote(int level, bool asked, int grade) {
  const std::string replayed = "replayed at level " + std::to_string(level);
  if (asked) return replayed + ", as --level asks";
  if (grade >= kLowestLevel) return replayed + ", the lowest level that completes it";
  return replayed + ", since no level completes it";
}

// Replays one puzzle at `level` (0: its own level) and writes it as tsv or
// as text under `where`, the name of the puzzle.
void ExplainPuzzle(const Board& board, const std::string& where, int level, bool tsv,
                   Explanation* explanation) {
  const int grade = GradeAtAnyLevel(board);
  // A puzzle that no level completes although it has one solution is
  // replayed as far as the solver goes; one of several solutions or none
  // as far as the highest play level goes, as before.
  const int replayed = level                      ? level
                       : grade >= kLowestLevel    ? grade
                       : grade == kGradeUnfinished ? kHighestGradeLevel
                                                  : kHighestPlayLevel;
  int values[81];
  for (int i = 0; i < 81; ++i) values[i] = board.GetValue(i / 9, i % 9);
  Explain(values, replayed, explanation);
  if (tsv) {
    WriteExplanationTsv(*explanation, stdout);
  } else {
    std::printf("%s\n%s\n", where.c_str(), LevelNote(replayed, level != 0, grade).c_str());
    WriteExplanationText(*explanation, grade, stdout);
  }
}

int ExplainCommand(const Invocation& in) {
  const int level = int(in.Number("--level", 0));
  const bool tsv = in.Text("--format", "text") == "tsv";
  std::unique_ptr<Explanation> explanation(new Explanation);
  int puzzles = 0;
  return ForEachFile(in, [&](Board& board, const std::string& where) {
    if (!tsv && puzzles++ > 0) std::puts("");
    ExplainPuzzle(board, where, level, tsv, explanation.get());
  });
}

const OptionRule kLevel{"--level", kLevelOption, 0, 0, {}};
const OptionRule kSolverLevel{"--level", kSolverLevelOption, 0, 0, {}};

const Command kCommands[] = {
    {"generate", "make puzzles of a level", kGenerateHelp,
     {kLevel,
      {"--min", kLevelOption, 0, 0, {}},
      {"--max", kLevelOption, 0, 0, {}},
      {"--attempts", kNumberOption, 0, INT_MAX, {}},
      {"--seed", kNumberOption, 0, 4294967295LL, {}},
      {"--count", kNumberOption, 0, INT_MAX, {}},
      {"--format", kChoiceOption, 0, 0, {"kbr", "line"}}},
     0, 0, "generate takes no file", Generate},
    {"solve", "solve puzzle files with the techniques of a level", kSolveHelp, {kSolverLevel}, 1, -1,
     "solve needs a puzzle file", Solve},
    {"grade", "print the level of every puzzle in files of puzzles", kGradeHelp, {}, 1, -1,
     "grade needs a file of puzzles", Grade},
    {"check", "tell whether a filled puzzle file is solved correctly", kCheckHelp, {}, 1, 1,
     "check takes exactly one puzzle file", Check},
    {"explain", "list the solver's steps on puzzles, and why each cell is placed", kExplainHelp,
     {kSolverLevel, {"--format", kChoiceOption, 0, 0, {"text", "tsv"}}}, 1, -1,
     "explain needs a file of puzzles", ExplainCommand},
};

void WriteToolHelp(FILE* out) {
  std::fputs("usage: kubri-puzzle COMMAND [OPTIONS] [FILE...]\n\nCommands:\n", out);
  for (const Command& command : kCommands) {
    std::fprintf(out, "  %-10s %s\n", command.name, command.summary);
  }
  std::fputs(kHelpEnd, out);
}

// The exit status once standard output is flushed: `status`, or 1 (said on
// stderr) when the output could not be written whole.
int FlushOutput(int status) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  if (flushed && !std::ferror(stdout)) return status;
  std::fprintf(stderr, "kubri-puzzle: cannot write the output%s%s\n", error ? ": " : "",
               error ? std::strerror(error) : "");
  return kFailure;
}

int Dispatch(const std::vector<Argument>& args) {
  if (args.empty()) {
    WriteToolHelp(stderr);
    return kUsage;
  }
  const std::string& name = args[0].text;
  if (name == "--help" || name == "-h" || name == "help") {
    WriteToolHelp(stdout);
    return 0;
  }
  const std::vector<Argument> rest(args.begin() + 1, args.end());
  for (const Command& command : kCommands) {
    if (name == command.name) return RunCommand(command, rest);
  }
  return Fail("unknown command '" + name + "' (try --help)");
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<Argument> args;
  for (int i = 1; i < argc; ++i) {
    Argument arg;
    WideToUtf8(argv[i], &arg.text);  // a character without an encoding shows as U+FFFD
    arg.path = std::filesystem::path(argv[i]);
    args.push_back(arg);
  }
  return FlushOutput(Dispatch(args));
}
#else
int main(int argc, char** argv) {
  std::vector<Argument> args;
  for (int i = 1; i < argc; ++i) args.push_back({argv[i], std::filesystem::path(argv[i])});
  return FlushOutput(Dispatch(args));
}
#endif
