#pragma once
// The texts of a camera's bootstrap registers, GigE Vision's and USB3 Vision's alike: fixed-length
// fields, NUL-padded, that may fill the whole field without a NUL. Never included outside camerasdk/.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace camerasdk {

// The bytes before the first NUL, kept as they are: whether they are text is for the printer to say.
inline std::string ReadPaddedText(const std::uint8_t* field, std::size_t length) {
  const auto* begin = reinterpret_cast<const char*>(field);
  const void* nul = std::memchr(begin, '\0', length);
  return std::string(begin, nul == nullptr ? length : static_cast<std::size_t>(static_cast<const char*>(nul) - begin));
}

}  // namespace camerasdk
