#pragma once
// The pattern matcher: compiles and matches the regular expressions of update conditions and
// version checks (ECMAScript, whole-string match) in a process of its own, within a CPU-time
// budget for each request and one for the whole command.

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace quarx::core::fwupdate {

// libstdc++'s regex matcher recurses once per character of the value (and compiling recurses
// with the pattern), so long texts would overflow the stack instead of failing cleanly.
constexpr std::size_t kMaxMatchedValueBytes = 4096;
constexpr std::size_t kMaxPatternBytes = 1024;
// CPU time, not wall-clock time: a tool that is stopped (Ctrl-Z) or starved by a busy machine
// must not turn a legitimate match into a failure.
constexpr std::chrono::milliseconds kMatchCpuBudget{1000};
constexpr std::chrono::milliseconds kCommandCpuBudget{10000};
// The last resort for a matching process that neither answers nor spends CPU (stopped on its
// own, stuck in the kernel). Only time in which the tool itself ran counts towards it.
constexpr std::chrono::seconds kMatchWallClockLimit{60};
// A test seam: while this variable is set, every request starts the matching process anew, and
// starting it fails as a refused fork does (root ignores the process limits that would make it
// fail for real).
constexpr const char* kRefuseMatcherStartVariable = "QUARX_TEST_REFUSE_MATCHER_START";

// The matcher could not do its work at all: the matching process cannot be started or its
// connection fails, or the command's CPU budget is spent. An error of the command, never a
// mismatch: a check that could not be made is not a check that failed.
class PatternMatcherError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PatternBudgets {
  std::chrono::milliseconds perRequest = kMatchCpuBudget;  // one compilation or one match
  std::chrono::milliseconds perCommand = kCommandCpuBudget;
};

// One matching process, started at the first request and again after it died; compiled
// patterns are kept in it, so that matching an ordinary pattern costs one round trip.
class PatternMatcher {
 public:
  explicit PatternMatcher(PatternBudgets budgets = {});
  // Ends the matching process.
  ~PatternMatcher();
  PatternMatcher(const PatternMatcher&) = delete;
  PatternMatcher& operator=(const PatternMatcher&) = delete;

  // Throws std::regex_error for a pattern that does not compile, one longer than
  // kMaxPatternBytes, one holding a number the compiler would overflow, and one whose
  // compilation crashes or outlasts its budget.
  void Compile(const std::string& pattern);
  // Whole-string match. A value longer than kMaxMatchedValueBytes does not match and is not
  // handed to the matcher. A pattern that does not compile throws as Compile does; a match that
  // fails, crashes or outlasts its budget throws std::runtime_error.
  bool Match(const std::string& value, const std::string& pattern);
  // CPU time the matching processes of this matcher have spent.
  std::chrono::nanoseconds CpuSpent() const { return spentByEnded_ + spentByRunning_; }

 private:
  struct Answer;
  Answer Ask(char request, const std::string& pattern, const std::string& value);
  void Start();
  // Sends the whole request; false when the matching process has gone.
  bool Send(const std::string& request);
  // Waits for the answer within the wall-clock limit; false when the process ended first.
  bool Receive(Answer& answer);
  // Reaps the matching process (killing it first) and returns how it ended.
  int Reap();
  // Keeps the matching process on the CPU the tool runs on.
  void FollowToolCpu();

  PatternBudgets budgets_;
  pid_t child_ = -1;
  int socket_ = -1;
  int childCpu_ = -1;
  std::chrono::nanoseconds spentByEnded_{0};
  std::chrono::nanoseconds spentByRunning_{0};
  bool budgetSpent_ = false;

  friend void StartPatternBudgetsAfresh();
};

// The matching process, from fork() to _exit(): serves the requests of `tool`, its parent, on
// `socket` until the tool closes it. Declared here so that a test can start it on a socket of
// its own.
[[noreturn]] void ServeMatchRequests(int socket, pid_t tool);

// The matcher of this process: all the pattern work of one command shares its budget.
PatternMatcher& ProcessPatternMatcher();
// The matcher of the version checks after a camera was flashed, with a budget of their own: the
// conditions may have spent the command's, and a finished update must not end unchecked for it.
PatternMatcher& VersionCheckPatternMatcher();
// A test seam: both matchers above end their matching processes and start over with the budgets
// of a new command, as each run of the tool does. A test binary runs many commands' worth of
// tests in one process, where the budgets would otherwise run out for whichever tests come last.
void StartPatternBudgetsAfresh();
void CompilePattern(const std::string& pattern);
bool MatchWhole(const std::string& value, const std::string& pattern);

}  // namespace quarx::core::fwupdate
