#pragma once
// Camera and package texts as the console and the log show them: one record stays one line, and
// nothing a camera or a package says reaches a terminal as a command.

#include <string>
#include <string_view>

namespace quarx::util {

// Printable ASCII and well-formed UTF-8 unchanged; each control character (below 0x20, 0x7F and
// the C1 controls U+0080..U+009F) and each byte outside a well-formed UTF-8 sequence escaped as
// \n, \r, \t or \xHH. A backslash stays as it is, so escaping an escaped text changes nothing.
std::string PrintableText(std::string_view text);

}  // namespace quarx::util
