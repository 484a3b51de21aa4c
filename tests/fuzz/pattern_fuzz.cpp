// Fuzzes the pattern matching of conditions and version checks. The input is the pattern, a NUL
// byte, then the value; without a NUL the whole input is the pattern and the value is empty. A
// failure of the matcher itself (PatternMatcherError) is not caught: it is a finding.
#include <algorithm>
#include <chrono>
#include <exception>
#include <string>

#include "core/libstatic_fwupdate/pattern_match.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (quarx::fuzz::SilenceLogging(), true);
  (void)quiet;
  // The whole run is no one command: no command budget. A runaway match is ended by the same
  // timer after 50 ms instead of 1 s, so that runaways do not use up the fuzzing time.
  static quarx::core::fwupdate::PatternMatcher matcher({std::chrono::milliseconds(50), std::chrono::hours(24)});
  const char* text = reinterpret_cast<const char*>(data);
  const char* split = std::find(text, text + size, '\0');
  const std::string pattern(text, split);
  const std::string value = split == text + size ? std::string() : std::string(split + 1, text + size);
  try {
    matcher.Compile(pattern);
    matcher.Match(value, pattern);
  } catch (const quarx::core::fwupdate::PatternMatcherError&) {
    throw;
  } catch (const std::exception&) {
  }
  return 0;
}
