// Camera and package texts shown as text: what passes unchanged and what is escaped.
#include "util/printable_text.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <string>

namespace quarx::util {
namespace {

TEST(PrintableText, KeepsPrintableAsciiAndWellFormedUtf8AndEscapesEveryOtherByteAlone) {
  // A backslash stays, so escaping an escaped text changes nothing. 2-, 3- and 4-byte sequences at their limits.
  for (const std::string kept :
       {"", " ~\\x1b", "\xC2\xA0\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"}) {
    EXPECT_EQ(PrintableText(kept), kept);
  }
  const std::pair<std::string, std::string> kEscaped[] = {
      {std::string("\0\n\r\t\x1F\x7F", 6), "\\x00\\n\\r\\t\\x1f\\x7f"},                           // C0 controls, DEL
      {"\xC2\x80\xC2\x9F", "\\xc2\\x80\\xc2\\x9f"},                                               // C1 controls
      {"\xC0\xAF\xE0\x9F\xBF\xF0\x8F\xBF\xBF", "\\xc0\\xaf\\xe0\\x9f\\xbf\\xf0\\x8f\\xbf\\xbf"},  // overlong
      {"\xED\xA0\x80\xF4\x90\x80\x80", "\\xed\\xa0\\x80\\xf4\\x90\\x80\\x80"},           // a surrogate, above U+10FFFF
      {"\xE2\x82-\xF0\x9F\x98\xC3\xA9\xC3", "\\xe2\\x82-\\xf0\\x9f\\x98\xC3\xA9\\xc3"},  // truncated
  };
  for (const auto& [text, shown] : kEscaped) {
    EXPECT_EQ(PrintableText(text), shown);
    EXPECT_EQ(PrintableText(shown), shown);
  }
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    EXPECT_EQ(PrintableText(std::string(1, static_cast<char>(byte))), fmt::format("\\x{:02x}", byte));
  }
}

}  // namespace
}  // namespace quarx::util
