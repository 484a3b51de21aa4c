#pragma once
// Text as the camera SDK hands it over: 8-bit, with a wide view for host-interface names.

#include <string>

class PvString {
 public:
  PvString() = default;
  PvString(const char* text) : text_(text == nullptr ? "" : text) {}  // NOLINT: implicit like the SDK's
  PvString(const std::string& text) : text_(text) {}                  // NOLINT

  const char* GetAscii() const { return text_.c_str(); }
  // Widened byte by byte; the texts the stand-in produces are ASCII.
  std::wstring GetUnicode() const { return std::wstring(text_.begin(), text_.end()); }
  std::size_t GetLength() const { return text_.size(); }

 private:
  std::string text_;
};
