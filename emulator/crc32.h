#pragma once
// CRC-32 (IEEE 802.3, as zlib and zip compute it) of uploaded files, so that tests can check
// that the bytes arrived intact.

#include <cstddef>
#include <cstdint>

namespace quarx::emulator {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size);

}  // namespace quarx::emulator
