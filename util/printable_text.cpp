// Escaping of camera and package texts for the console and the log.
#include "util/printable_text.h"

#include <cstddef>
#include <iterator>

#include <fmt/format.h>

namespace quarx::util {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kFirstNonAscii = 0x80;
constexpr unsigned char kC1Lead = 0xC2;  // U+0080..U+00BF; up to 0x9F the second byte is a C1 control
constexpr unsigned char kFirstPrintableAfterC1 = 0xA0;

unsigned char At(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

// Length of the well-formed UTF-8 sequence that starts `text`, or 0. The ranges of the first
// continuation byte are Unicode's: they leave out overlong forms, surrogates (ED A0..BF) and
// code points above U+10FFFF.
std::size_t SequenceLength(std::string_view text) {
  const unsigned char lead = At(text, 0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : low;
    high = lead == 0xED ? 0x9F : high;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : low;
    high = lead == 0xF4 ? 0x8F : high;
  } else {
    return 0;
  }
  if (text.size() < length || At(text, 1) < low || At(text, 1) > high) {
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (At(text, i) < 0x80 || At(text, i) > 0xBF) {
      return 0;
    }
  }
  return length;
}

}  // namespace

std::string PrintableText(std::string_view text) {
  std::string printable;
  printable.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char byte = At(text, i);
    if (byte >= kFirstPrintable && byte != kDelete && byte < kFirstNonAscii) {
      printable += text[i++];
      continue;
    }
    const std::size_t length = byte < kFirstNonAscii ? 0 : SequenceLength(text.substr(i));
    // Terminals that read UTF-8 still obey the C1 controls, CSI (U+009B) among them.
    const bool c1Control = byte == kC1Lead && length == 2 && At(text, i + 1) < kFirstPrintableAfterC1;
    if (length > 0 && !c1Control) {
      printable.append(text.substr(i, length));
      i += length;
      continue;
    }
    // One byte at a time: the rest of a broken sequence is looked at afresh.
    switch (byte) {
      case '\n':
        printable += "\\n";
        break;
      case '\r':
        printable += "\\r";
        break;
      case '\t':
        printable += "\\t";
        break;
      default:
        fmt::format_to(std::back_inserter(printable), "\\x{:02x}", byte);
        break;
    }
    ++i;
  }
  return printable;
}

}  // namespace quarx::util
