#pragma once
// Text as the camera SDK hands it over: 8-bit, with a wide view for host-interface names.

#include <string>

class PvString {
 public:
  PvString() = default;
  PvString(const char* text) : text_(text == nullptr ? "" : text) {}  // NOLINT: implicit like the SDK's
  PvString(const std::string& text) : text_(text) {}                  // NOLINT

  const char* GetAscii() const { return text_.c_str(); }
  // The 8-bit text is UTF-8; a byte that does not start a valid sequence stands for itself.
  std::wstring GetUnicode() const;
  std::size_t GetLength() const { return text_.size(); }

 private:
  std::string text_;
};
