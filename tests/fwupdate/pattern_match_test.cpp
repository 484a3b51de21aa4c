// The pattern matcher: which long numbers it refuses, compared with the engine itself over
// generated patterns, its budgets for one match and for one command, and the matching process
// fed with what is no request.
#include "core/libstatic_fwupdate/pattern_match.h"

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace quarx::core::fwupdate;

// "" when accepted, else the error's text; a failure of the matcher itself is marked so.
template <class Work>
std::string Outcome(const Work& work) try {
  work();
  return "";
} catch (const PatternMatcherError& e) {
  return std::string("command: ") + e.what();
} catch (const std::exception& e) {
  return e.what();
}

// The engine's own scanner tells which digits the compiler reads as a number: a count inside
// braces, a back-reference outside brackets. True when one of them has ten digits or more.
bool EngineReadsOverlongNumber(const std::string& pattern) try {
  using Scanner = std::__detail::_Scanner<char>;
  Scanner scan(pattern.data(), pattern.data() + pattern.size(), std::regex::ECMAScript, std::locale());
  for (bool inBracket = false; scan._M_get_token() != Scanner::_S_token_eof; scan._M_advance()) {
    const auto token = scan._M_get_token();
    inBracket = token == Scanner::_S_token_bracket_begin || token == Scanner::_S_token_bracket_neg_begin ||
                (inBracket && token != Scanner::_S_token_bracket_end);
    const bool number = token == Scanner::_S_token_dup_count || (token == Scanner::_S_token_backref && !inBracket);
    if (number && scan._M_get_value().size() >= 10) return true;
  }
  return false;
} catch (const std::regex_error&) {
  return false;
}

TEST(PatternMatch, RefusesLongNumbersOnlyWhereTheCompilerReadsThem) {
  PatternMatcher matcher({kMatchCpuBudget, std::chrono::hours(1)});
  // Ten digits would wrap: a{4294967297} into a{1}, \4294967297 into \1. Inside brackets the
  // compiler refuses a back-reference without reading its number.
  const std::pair<const char*, bool> accepted[] = {
      {"VM-200|x,1234567890", true}, {"V1\\.2,1700000000|VM-200", true}, {"\\\\1234567890|VM-200", true},
      {"\\01234567890", true},       {"\\c12345678901", true},           {"\\x1234567890123", true},
      {"[\\12345678901]", false},    {"a{4294967297}", false},            {"a{1,12345678901}", false},
      {"(a)\\4294967297", false}};
  for (const auto& row : accepted) {
    EXPECT_EQ(Outcome([&] { matcher.Compile(row.first); }).empty(), row.second) << row.first;
  }
  // Generated patterns rich in what the rule is about: each one the engine would read no long
  // number in is accepted or refused as the engine alone does; the others are refused before
  // they reach it.
  const std::vector<std::string> pieces = {"a", "(", ")", "|", "[", "]", "^", "{", "}", ",", ",", "\\", "\\",
                                           "-", "[:digit:]", ":]", "c", "x", "0", ".", "*", "?", "(?:"};
  std::mt19937 random(17);
  int overlong = 0;
  for (int n = 0; n < 100000; ++n) {
    std::string pattern;
    for (auto left = random() % 12 + 1; left > 0; --left) {
      const std::size_t piece = random() % (pieces.size() + 4);
      std::string digits(piece % 2 == 0 ? 1 + random() % 2 : 10 + random() % 3, '0');
      for (char& digit : digits) digit = static_cast<char>('0' + random() % 10);
      pattern += piece < pieces.size() ? pieces[piece] : digits;
    }
    const bool readsOverlong = EngineReadsOverlongNumber(pattern);
    const std::string tool = Outcome([&] { matcher.Compile(pattern); });
    ASSERT_EQ(tool.empty(), !readsOverlong && Outcome([&] { std::regex(pattern, std::regex::ECMAScript); }).empty())
        << pattern << ": " << tool;
    overlong += readsOverlong;
  }
  EXPECT_GT(overlong, 2000);
}

// Each request may take 1 s of CPU and this command 1.5 s. A crash fails its match alone and
// the next match starts another matching process; the first runaway fails its match, the
// second spends the rest of the command's budget, and then nothing is matched any more.
TEST(PatternMatch, FailedMatchesStayWithinTheirBudgets) {
  PatternMatcher matcher({kMatchCpuBudget, std::chrono::milliseconds(1500)});
  const auto match = [&](const std::string& pattern) { return Outcome([&] { matcher.Match("1.0.0", pattern); }); };
  setenv(kRefuseMatcherStartVariable, "1", 1);
  EXPECT_EQ(match("1"), "command: Cannot start the pattern matching process: fork: Resource temporarily unavailable");
  unsetenv(kRefuseMatcherStartVariable);
  EXPECT_THAT(match("()*{20000}"), ::testing::StartsWith("regex_match ran out of resources (signal "));
  EXPECT_TRUE(matcher.Match("1.0.0", "1\\.0\\.[0-9]"));
  EXPECT_EQ(match("a**{30}"), "regex_match exceeded its CPU time limit of 1000 ms");
  const std::string spent = "command: Pattern matching used up its budget of 1.5 s of CPU time for this command";
  EXPECT_EQ(match("a**{30}"), spent);
  EXPECT_EQ(match("1"), spent);
  EXPECT_GE(matcher.CpuSpent(), std::chrono::milliseconds(1400));  // the processes' own account, a tick or so short
}

// Text instead of a request, as when the tool's own output went into the matcher's socket: the
// sizes its bytes make (gigabytes) are refused, not allocated, and the process ends at once.
TEST(PatternMatch, TheMatchingProcessRefusesSizesBeyondItsCaps) {
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
  const pid_t tool = getpid();
  const pid_t child = fork();
  if (child == 0) {
    ServeMatchRequests(ends[1], tool);
  }
  close(ends[1]);
  const std::string preview = "Update file : e2e-update.guf\nDescription  : FWCAM-1 firmware 2.0.0\n";
  EXPECT_EQ(write(ends[0], preview.data(), preview.size()), static_cast<ssize_t>(preview.size()));
  // The socket stays open: a process that took the sizes would wait for their bytes, until the
  // socket closes after 20 s; what it allocated meanwhile shows in its peak memory.
  pollfd ended{ends[0], POLLIN, 0};
  EXPECT_EQ(poll(&ended, 1, 20000), 1) << "the matching process waits for the bytes of its sizes";
  char rest = 0;
  EXPECT_LE(read(ends[0], &rest, 1), 0);  // closed, or reset with the text unread
  close(ends[0]);
  int status = 0;
  rusage usage{};
  ASSERT_EQ(wait4(child, &status, 0, &usage), child);
  EXPECT_TRUE(WIFEXITED(status));
#ifndef QUARX_ADDRESS_SANITIZER
  EXPECT_LT(usage.ru_maxrss, 64 * 1024);
#endif
}

}  // namespace
