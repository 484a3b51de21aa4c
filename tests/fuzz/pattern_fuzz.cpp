// Fuzzes the pattern matching of conditions and version checks. The input is the pattern, a NUL
// byte, then the value; without a NUL the whole input is the pattern and the value is empty.
#include <algorithm>
#include <exception>
#include <string>

#include "core/libstatic_fwupdate/update_checker.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (quarx::fuzz::SilenceLogging(), true);
  (void)quiet;
  const char* text = reinterpret_cast<const char*>(data);
  const char* split = std::find(text, text + size, '\0');
  const std::string pattern(text, split);
  const std::string value = split == text + size ? std::string() : std::string(split + 1, text + size);
  try {
    auto compiled = quarx::core::fwupdate::CompilePattern(pattern);
    quarx::core::fwupdate::MatchWhole(value, compiled);
  } catch (const std::exception&) {
  }
  return 0;
}
