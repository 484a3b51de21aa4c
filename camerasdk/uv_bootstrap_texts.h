#pragma once
// The texts a USB3 Vision camera keeps in its bootstrap registers (GenCP's technology-agnostic
// map) and Aravis's USB listing lacks: the device version and the user-defined name.

#include <cstdint>
#include <functional>
#include <string>

#include "camerasdk/PvResult.h"

namespace camerasdk {

// Both are NUL-padded fields of kUvTextLength bytes.
constexpr std::uint64_t kUvRegDeviceVersion = 0x00C4;
constexpr std::uint64_t kUvRegUserDefinedName = 0x0184;
constexpr std::uint32_t kUvTextLength = 64;

// Reads `size` bytes of the camera's memory at `address` into `bytes`.
using MemoryRead = std::function<PvResult(std::uint64_t address, std::uint32_t size, std::uint8_t* bytes)>;

struct UvBootstrapTexts {
  std::string device_version;
  std::string user_defined_name;
};

// Both texts as the camera holds them, or neither: on a failed read the result says why and
// `texts` is left as it was.
PvResult ReadUvBootstrapTexts(const MemoryRead& read, UvBootstrapTexts& texts);

}  // namespace camerasdk
