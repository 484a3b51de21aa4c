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

// How each of the two reads went.
struct UvBootstrapReads {
  PvResult device_version;
  PvResult user_defined_name;
};

// Each text as the camera holds it, read on its own: the user-defined name is optional in GenCP,
// and a camera that refuses it still tells its version (which update conditions and the version
// check after a flash match). A text whose read failed stays as it was in `texts`.
UvBootstrapReads ReadUvBootstrapTexts(const MemoryRead& read, UvBootstrapTexts& texts);

}  // namespace camerasdk
