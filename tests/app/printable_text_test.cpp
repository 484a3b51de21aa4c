// Camera and package texts shown as text: what passes unchanged and what is escaped.
#include "app/printable_text.h"

#include <gtest/gtest.h>

#include <string>

namespace fwupdate {
namespace {

TEST(PrintableText, KeepsPrintableAsciiAndWellFormedUtf8AndEscapesEverythingElseBytewise) {
  const struct {
    std::string text, shown;
  } kCases[] = {
      {"", ""},
      {" FWCAM-1 ~!\"#{}\\x1b", " FWCAM-1 ~!\"#{}\\x1b"},        // a backslash stays: escaping twice changes nothing
      {"\xC3\xA9\xC2\xA0\xDF\xBF", "\xC3\xA9\xC2\xA0\xDF\xBF"},  // 2 bytes: é, NBSP, U+07FF
      {"\xE0\xA0\x80\xE2\x82\xAC\xED\x9F\xBF\xEF\xBF\xBF", "\xE0\xA0\x80\xE2\x82\xAC\xED\x9F\xBF\xEF\xBF\xBF"},
      {"\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", "\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"},
      {"1.0\n[Dev  9] x\r\t", "1.0\\n[Dev  9] x\\r\\t"},
      {std::string("\0\x01\x1B[2J\x1F\x7F", 8), "\\x00\\x01\\x1b[2J\\x1f\\x7f"},
      {"\xC2\x80\xC2\x9B[1m\xC2\x9F", "\\xc2\\x80\\xc2\\x9b[1m\\xc2\\x9f"},  // C1 controls, CSI among them
      {"\xC0\xAF\xC1\xBF\xE0\x9F\xBF\xF0\x8F\xBF\xBF",
       "\\xc0\\xaf\\xc1\\xbf\\xe0\\x9f\\xbf\\xf0\\x8f\\xbf\\xbf"},              // overlong
      {"\xED\xA0\x80\xED\xBF\xBF", "\\xed\\xa0\\x80\\xed\\xbf\\xbf"},           // surrogates
      {"\xF4\x90\x80\x80\xF5\x80\xFF", "\\xf4\\x90\\x80\\x80\\xf5\\x80\\xff"},  // above U+10FFFF
      {"a\xC3", "a\\xc3"},                                                      // truncated at the end
      {"\xE2\x82-\xF0\x9F\x98", "\\xe2\\x82-\\xf0\\x9f\\x98"},                  // truncated before more text
      {"\xE2\x82\xC3\xA9", "\\xe2\\x82\xC3\xA9"},                               // a new sequence starts early
      {"\x80\xBF\xA0", "\\x80\\xbf\\xa0"},                                      // continuation bytes alone
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(PrintableText(c.text), c.shown) << c.shown;
    EXPECT_EQ(PrintableText(c.shown), c.shown) << c.shown;
  }
}

TEST(PrintableText, EveryByteAloneIsPrintableAsciiOrEscaped) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string shown = PrintableText(std::string(1, static_cast<char>(byte)));
    EXPECT_EQ(shown.size() == 1, byte >= 0x20 && byte < 0x7F) << byte;
  }
}

}  // namespace
}  // namespace fwupdate
