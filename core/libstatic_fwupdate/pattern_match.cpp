// The pattern matcher: the guards that keep a pattern from the regex compiler, the matching
// process with its request/answer protocol, and the CPU budgets.
#include "core/libstatic_fwupdate/pattern_match.h"

#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <regex>
#include <utility>

#include <fmt/format.h>

namespace quarx::core::fwupdate {
namespace {

using std::chrono::nanoseconds;
using std::chrono::steady_clock;

// Refused like a pattern that does not compile, with the reason given.
class PatternRefused : public std::regex_error {
 public:
  PatternRefused(std::regex_constants::error_type code, std::string message)
      : std::regex_error(code), message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

struct PatternScan {
  const std::string& text;
  std::size_t at = 0;

  bool AtEnd() const { return at == text.size(); }
  // Steps over the digits from here on; how many there were.
  std::size_t DigitRun() {
    const std::size_t from = at;
    while (!AtEnd() && IsDigit(text[at])) ++at;
    return at - from;
  }
};

// One escape after its backslash, read as the ECMAScript scanner reads it: the digit count of
// a back-reference, 0 for any other escape, nothing where the scanner refuses the pattern.
std::optional<std::size_t> EatEscape(PatternScan& scan) {
  if (scan.AtEnd()) return std::nullopt;
  const char c = scan.text[scan.at++];
  if (c == '0') return 0;  // the NUL character: the digits after it are ordinary ones
  if (c == 'c') {          // a control letter, whatever character follows
    if (scan.AtEnd()) return std::nullopt;
    ++scan.at;
    return 0;
  }
  if (c == 'x' || c == 'u') {  // exactly two or four hexadecimal digits
    for (int left = c == 'x' ? 2 : 4; left > 0; --left, ++scan.at) {
      if (scan.AtEnd() || !IsHexDigit(scan.text[scan.at])) return std::nullopt;
    }
    return 0;
  }
  return IsDigit(c) ? 1 + scan.DigitRun() : 0;
}

// libstdc++'s compiler reads the number of a counted repetition or of a back-reference into a
// long without an overflow check and narrows it to an int: nineteen digits are undefined
// behaviour inside it, ten can wrap into another, small count (a{4294967297} is a{1}). No
// number of ten digits names a group or makes a count that the compiler's state limit would
// allow, so such a number is refused as the compiler refuses one out of range. Only where the
// compiler reads a number, though: the pattern is walked as its ECMAScript scanner walks it
// (outside brackets, inside a bracket expression, inside braces), digits anywhere else are
// ordinary characters however many, and where the scanner itself refuses the pattern it is
// left to the compiler to say so.
void RefuseOverlongNumbers(const std::string& pattern) {
  constexpr std::size_t kMaxNumberDigits = 9;
  enum class State { Normal, Bracket, Brace } state = State::Normal;
  PatternScan scan{pattern};
  while (!scan.AtEnd()) {
    const char c = pattern[scan.at++];
    if (state == State::Brace) {
      if (IsDigit(c)) {
        if (1 + scan.DigitRun() > kMaxNumberDigits) throw std::regex_error(std::regex_constants::error_badbrace);
      } else if (c == '}') {
        state = State::Normal;
      } else if (c != ',') {
        return;
      }
    } else if (c == '\\') {
      const std::optional<std::size_t> backReference = EatEscape(scan);
      if (!backReference) return;
      // Inside brackets the compiler refuses a back-reference without reading its number.
      if (state == State::Normal && *backReference > kMaxNumberDigits) {
        throw std::regex_error(std::regex_constants::error_backref);
      }
    } else if (state == State::Bracket) {
      if (c == ']') {
        state = State::Normal;
      } else if (c == '[') {
        if (scan.AtEnd()) return;
        // "[:name:]", "[.name.]" and "[=name=]" run to the first ":]", ".]" or "=]".
        const char kind = pattern[scan.at];
        if (kind == ':' || kind == '.' || kind == '=') {
          const std::size_t close = pattern.find(kind, scan.at + 1);
          if (close == std::string::npos || close + 1 == pattern.size() || pattern[close + 1] != ']') return;
          scan.at = close + 2;
        }
      }
    } else if (c == '[') {
      state = State::Bracket;
      if (!scan.AtEnd() && pattern[scan.at] == '^') ++scan.at;
    } else if (c == '{') {
      state = State::Brace;
    }
  }
}

void CheckPatternBeforeCompiling(const std::string& pattern) {
  if (pattern.size() > kMaxPatternBytes) {
    throw PatternRefused(std::regex_constants::error_complexity,
                         fmt::format("Regular expression too long ({} bytes, at most {})", pattern.size(),
                                     kMaxPatternBytes));
  }
  RefuseOverlongNumbers(pattern);
}

// The protocol between the tool and its matching process: a request is its header, the
// pattern and the value; an answer its header and a text. Both ends are the same program, so
// the headers travel as they lie in memory.
constexpr char kCompileRequest = 'c';
constexpr char kMatchRequest = 'm';
constexpr char kCompiled = 'c';
constexpr char kMatched = 'y';
constexpr char kNotMatched = 'n';
constexpr char kInvalidPattern = 'r';  // the compiler's std::regex_error: its code and text
constexpr char kMatchFailed = 'e';     // the matcher threw: its text

struct RequestHeader {
  char kind;
  std::int64_t cpuLimitUs;
  std::uint32_t patternBytes;
  std::uint32_t valueBytes;
};

struct AnswerHeader {
  char kind;
  std::int32_t code;
  std::int64_t cpuSpentNs;  // by the matching process since it started
  std::uint32_t textBytes;
};

constexpr std::size_t kMaxAnswerTextBytes = 1024;
// The per-request CPU timer's signal; its default action ends the process.
constexpr int kCpuLimitSignal = SIGPROF;
// Compiled patterns kept by the matching process. A compiled pattern can take megabytes (up to
// the compiler's state limit), so only the few an update is being checked with are kept.
constexpr std::size_t kCachedPatterns = 16;
// The wall-clock last resort is counted in slices: a slice that took far longer than asked
// was a pause of the tool itself, and counts as two slices only.
constexpr std::chrono::milliseconds kWaitSlice{500};

template <class Header>
std::string Bytes(const Header& header) {
  return std::string(reinterpret_cast<const char*>(&header), sizeof header);
}

// Reads exactly `size` bytes; false when the other end has gone.
bool ReadExactly(int fd, void* to, std::size_t size) {
  auto* bytes = static_cast<char*>(to);
  while (size > 0) {
    const ssize_t got = read(fd, bytes, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

// MSG_NOSIGNAL: a peer that has gone is a failed send, not a SIGPIPE that ends the process.
bool SendExactly(int fd, const std::string& data) {
  for (std::size_t sent = 0; sent < data.size();) {
    const ssize_t put = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    sent += static_cast<std::size_t>(put);
  }
  return true;
}

nanoseconds ToNanoseconds(const timeval& time) {
  return std::chrono::seconds(time.tv_sec) + std::chrono::microseconds(time.tv_usec);
}

// ------------------------------------------------------------------------------------------
// The matching process. It runs only the code below, from fork() to _exit().

// The matching process ends with the tool, serves requests on its standard input and holds
// nothing else of the tool's: a reader waiting for the end of the tool's output, or a camera
// socket, must not wait on this process.
void PrepareMatchingProcess(int socket, pid_t tool) {
  // The signal comes when the thread that forked ends; the tool forks from its main thread.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != tool) _exit(0);
  if (socket != STDIN_FILENO) dup2(socket, STDIN_FILENO);
  if (socket != STDOUT_FILENO) close(STDOUT_FILENO);
  if (close_range(STDERR_FILENO + 1, ~0U, 0) != 0) {
    for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) close(fd);
  }
  // A crash and the CPU timer end this process, whatever handlers the tool or a sanitizer
  // installed; Ctrl-C is the tool's to handle.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  for (const int signal : {SIGSEGV, SIGBUS, kCpuLimitSignal}) sigaction(signal, &action, nullptr);
  action.sa_handler = SIG_IGN;
  sigaction(SIGINT, &action, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  // A crash dumps no copy of the tool's memory.
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
}

void SetCpuTimer(std::int64_t microseconds) {
  itimerval timer{};
  timer.it_value.tv_sec = microseconds / 1000000;
  timer.it_value.tv_usec = microseconds % 1000000;
  setitimer(ITIMER_PROF, &timer, nullptr);
}

std::int64_t ProcessCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Served {
  char kind;
  int code = 0;
  std::string text;
};

Served Serve(const RequestHeader& request, const std::string& pattern, const std::string& value,
             std::map<std::string, std::regex>& compiled) {
  auto found = compiled.find(pattern);
  if (found == compiled.end()) {
    try {
      std::regex expression(pattern, std::regex::ECMAScript);
      if (compiled.size() >= kCachedPatterns) compiled.clear();
      found = compiled.emplace(pattern, std::move(expression)).first;
    } catch (const std::regex_error& e) {
      return {kInvalidPattern, e.code(), e.what()};
    } catch (const std::exception& e) {
      return {kInvalidPattern, std::regex_constants::error_space, e.what()};
    }
  }
  if (request.kind == kCompileRequest) return {kCompiled, 0, {}};
  try {
    return {std::regex_match(value, found->second) ? kMatched : kNotMatched, 0, {}};
  } catch (const std::exception& e) {
    return {kMatchFailed, 0, e.what()};
  }
}

}  // namespace

[[noreturn]] void ServeMatchRequests(int socket, pid_t tool) {
  PrepareMatchingProcess(socket, tool);
  std::map<std::string, std::regex> compiled;
  for (;;) {
    RequestHeader request{};
    std::string pattern;
    std::string value;
    if (!ReadExactly(STDIN_FILENO, &request, sizeof request)) _exit(0);
    // The tool never sends more; bytes from anywhere else (once it was the tool's own output,
    // written into a socket that took a closed standard descriptor) declare any size at all.
    if (request.patternBytes > kMaxPatternBytes || request.valueBytes > kMaxMatchedValueBytes) _exit(0);
    pattern.resize(request.patternBytes);
    value.resize(request.valueBytes);
    if (!ReadExactly(STDIN_FILENO, pattern.data(), pattern.size()) ||
        !ReadExactly(STDIN_FILENO, value.data(), value.size())) {
      _exit(0);
    }
    SetCpuTimer(request.cpuLimitUs);
    Served served = Serve(request, pattern, value, compiled);
    SetCpuTimer(0);
    served.text.resize(std::min(served.text.size(), kMaxAnswerTextBytes));
    AnswerHeader answer{};
    answer.kind = served.kind;
    answer.code = served.code;
    answer.cpuSpentNs = ProcessCpuNs();
    answer.textBytes = static_cast<std::uint32_t>(served.text.size());
    if (!SendExactly(STDIN_FILENO, Bytes(answer) + served.text)) _exit(0);
  }
}

// ------------------------------------------------------------------------------------------
// The tool's side.

struct PatternMatcher::Answer {
  char kind = 0;
  int code = 0;
  std::string text;
};

PatternMatcher::PatternMatcher(PatternBudgets budgets) : budgets_(budgets) {}

PatternMatcher::~PatternMatcher() { Reap(); }

// Why a process of its own: libstdc++'s regex engine backtracks without bound and recurses once
// per character, so one hostile pattern can keep it busy for minutes or overflow its stack. In
// a process of its own a CPU timer ends it and a crash takes only that process down; the tool
// reads either as a failed match and goes on.
// Why fork() is safe although the tool may run threads (the camera SDK's): the child has only
// the thread that forked, and a lock another thread held at that moment stays locked in the
// child for ever. So the child uses only what such a fork leaves usable: glibc takes malloc's
// and stdio's locks around fork() and resets them in the child, so new and delete work; the
// regex engine takes the global locale without a lock as long as nobody called
// std::locale::global (this program never does); a thrown exception finds its unwind tables
// through glibc's _dl_find_object, which takes no lock; the rest are system calls. The child
// never logs (the logger has mutexes), never returns into the tool's code, and ends with
// _exit(), running none of the tool's exit handlers or static destructors.
void PatternMatcher::Start() {
  const auto cannotStart = [](const char* call, int error) {
    return PatternMatcherError(
        fmt::format("Cannot start the pattern matching process: {}: {}", call, std::strerror(error)));
  };
  Reap();
  if (std::getenv(kRefuseMatcherStartVariable) != nullptr) {
    throw cannotStart("fork", EAGAIN);
  }
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
    throw cannotStart("socketpair", errno);
  }
  const pid_t tool = getpid();
  const pid_t child = fork();
  if (child == 0) {
    ServeMatchRequests(ends[1], tool);
  }
  const int forkError = errno;
  close(ends[1]);
  if (child < 0) {
    close(ends[0]);
    throw cannotStart("fork", forkError);
  }
  child_ = child;
  socket_ = ends[0];
  childCpu_ = -1;
  spentByRunning_ = nanoseconds(0);
}

int PatternMatcher::Reap() {
  if (socket_ >= 0) {
    close(socket_);
    socket_ = -1;
  }
  if (child_ < 0) {
    return 0;
  }
  kill(child_, SIGKILL);
  int status = 0;
  rusage usage{};
  while (wait4(child_, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  spentByEnded_ += ToNanoseconds(usage.ru_utime) + ToNanoseconds(usage.ru_stime);
  spentByRunning_ = nanoseconds(0);
  child_ = -1;
  return status;
}

// A request wakes the matching process while the tool goes to wait for the answer. On the CPU
// the tool is about to leave idle that costs a few microseconds; on another CPU it costs an
// interrupt between CPUs, several times more (tens of microseconds on a virtual machine), and
// this twice per match. The tool rarely moves; when it has, the matching process follows.
void PatternMatcher::FollowToolCpu() {
  const int cpu = sched_getcpu();
  if (cpu < 0 || cpu == childCpu_ || cpu >= CPU_SETSIZE) {
    return;
  }
  cpu_set_t only;
  CPU_ZERO(&only);
  CPU_SET(cpu, &only);
  // Refused (a CPU set that excludes it): the process runs wherever it is put, only slower.
  if (sched_setaffinity(child_, sizeof only, &only) == 0) {
    childCpu_ = cpu;
  }
}

bool PatternMatcher::Send(const std::string& request) {
  FollowToolCpu();
  return SendExactly(socket_, request);
}

bool PatternMatcher::Receive(Answer& answer) {
  nanoseconds waited{0};
  const auto readExactly = [&](void* to, std::size_t size) {
    while (size > 0) {
      pollfd readable{socket_, POLLIN, 0};
      const auto before = steady_clock::now();
      const int ready = poll(&readable, 1, static_cast<int>(kWaitSlice.count()));
      waited += std::min<nanoseconds>(steady_clock::now() - before, 2 * kWaitSlice);
      if (ready > 0) return ReadExactly(socket_, to, size);
      if (ready < 0 && errno != EINTR) return false;
      if (waited >= kMatchWallClockLimit) {
        Reap();
        throw PatternMatcherError(fmt::format("The pattern matching process gave no answer within {} s",
                                              kMatchWallClockLimit.count()));
      }
    }
    return true;
  };
  AnswerHeader header{};
  if (!readExactly(&header, sizeof header) || header.textBytes > kMaxAnswerTextBytes) return false;
  answer.text.resize(header.textBytes);
  if (!readExactly(answer.text.data(), answer.text.size())) return false;
  answer.kind = header.kind;
  answer.code = header.code;
  spentByRunning_ = nanoseconds(header.cpuSpentNs);
  return true;
}

PatternMatcher::Answer PatternMatcher::Ask(char request, const std::string& pattern, const std::string& value) {
  const auto budgetSpent = [this] {
    return PatternMatcherError(fmt::format("Pattern matching used up its budget of {:g} s of CPU time for this command",
                                           static_cast<double>(budgets_.perCommand.count()) / 1000));
  };
  const nanoseconds left = budgets_.perCommand - CpuSpent();
  if (budgetSpent_ || left <= nanoseconds(0)) {
    throw budgetSpent();
  }
  const bool commandBound = left < budgets_.perRequest;
  RequestHeader header{};
  header.kind = request;
  header.cpuLimitUs = std::max<std::int64_t>(
      1, std::chrono::ceil<std::chrono::microseconds>(std::min<nanoseconds>(left, budgets_.perRequest)).count());
  header.patternBytes = static_cast<std::uint32_t>(pattern.size());
  header.valueBytes = static_cast<std::uint32_t>(value.size());
  const std::string message = Bytes(header) + pattern + value;
  // A process that died while it waited (killed from outside) is not this request's fault:
  // one other is started for it.
  bool sent = false;
  for (int attempt = 0; attempt < 2 && !sent; ++attempt) {
    if (child_ < 0 || std::getenv(kRefuseMatcherStartVariable) != nullptr) {
      Start();
    }
    sent = Send(message);
    if (!sent) {
      Reap();
    }
  }
  if (!sent) {
    throw PatternMatcherError("Cannot send to the pattern matching process");
  }
  Answer answer;
  if (Receive(answer)) {
    return answer;
  }
  const int status = Reap();
  const int signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  const char* work = request == kCompileRequest ? "regex compilation" : "regex_match";
  if (signal == kCpuLimitSignal && commandBound) {
    // The process's own account of its CPU time may stay a tick short of the timer that ended
    // it: once the budget is reported spent, it stays spent.
    budgetSpent_ = true;
    throw budgetSpent();
  }
  if (signal == kCpuLimitSignal) {
    answer.text = fmt::format("{} exceeded its CPU time limit of {} ms", work, budgets_.perRequest.count());
  } else if (signal == SIGSEGV || signal == SIGBUS) {
    answer.text = fmt::format("{} ran out of resources (signal {})", work, signal);
  } else {
    throw PatternMatcherError(signal != 0
                                  ? fmt::format("The pattern matching process was ended by signal {}", signal)
                                  : std::string("The pattern matching process ended without an answer"));
  }
  // The pattern's own fault: for a compilation a pattern that cannot be used, else a failed match.
  answer.kind = request == kCompileRequest ? kInvalidPattern : kMatchFailed;
  answer.code = std::regex_constants::error_complexity;
  return answer;
}

void PatternMatcher::Compile(const std::string& pattern) {
  CheckPatternBeforeCompiling(pattern);
  const Answer answer = Ask(kCompileRequest, pattern, "");
  if (answer.kind != kCompiled) {
    throw PatternRefused(static_cast<std::regex_constants::error_type>(answer.code), answer.text);
  }
}

bool PatternMatcher::Match(const std::string& value, const std::string& pattern) {
  CheckPatternBeforeCompiling(pattern);
  if (value.size() > kMaxMatchedValueBytes) {
    return false;
  }
  const Answer answer = Ask(kMatchRequest, pattern, value);
  switch (answer.kind) {
    case kMatched:
      return true;
    case kNotMatched:
      return false;
    case kInvalidPattern:
      throw PatternRefused(static_cast<std::regex_constants::error_type>(answer.code), answer.text);
    default:
      throw std::runtime_error(answer.text);
  }
}

PatternMatcher& ProcessPatternMatcher() {
  static PatternMatcher matcher;
  return matcher;
}

PatternMatcher& VersionCheckPatternMatcher() {
  static PatternMatcher matcher;
  return matcher;
}

void StartPatternBudgetsAfresh() {
  for (PatternMatcher* matcher : {&ProcessPatternMatcher(), &VersionCheckPatternMatcher()}) {
    matcher->Reap();
    matcher->spentByEnded_ = std::chrono::nanoseconds(0);
    matcher->budgetSpent_ = false;
  }
}

void CompilePattern(const std::string& pattern) { ProcessPatternMatcher().Compile(pattern); }

bool MatchWhole(const std::string& value, const std::string& pattern) {
  return ProcessPatternMatcher().Match(value, pattern);
}

}  // namespace quarx::core::fwupdate
