#pragma once
// The texts a USB3 Vision camera keeps in its bootstrap registers (GenCP's technology-agnostic
// map) that discovery reads from the camera itself: the device version and the user-defined
// name, which Aravis's USB listing lacks, and the serial number as the device Aravis opens
// tells it, by which a later connection proves that it reached the same camera.

#include <cstdint>
#include <functional>
#include <string>

#include "camerasdk/PvResult.h"

namespace camerasdk {

// All three are NUL-padded fields of kUvTextLength bytes.
constexpr std::uint64_t kUvRegDeviceVersion = 0x00C4;
constexpr std::uint64_t kUvRegSerialNumber = 0x0144;
constexpr std::uint64_t kUvRegUserDefinedName = 0x0184;
constexpr std::uint32_t kUvTextLength = 64;

// Reads `size` bytes of the camera's memory at `address` into `bytes`.
using MemoryRead = std::function<PvResult(std::uint64_t address, std::uint32_t size, std::uint8_t* bytes)>;

struct UvBootstrapTexts {
  std::string device_version;
  std::string user_defined_name;
  std::string serial_number;
};

// How each of the three reads went.
struct UvBootstrapReads {
  PvResult device_version;
  PvResult user_defined_name;
  PvResult serial_number;
};

// Each text as the camera holds it, read on its own: the user-defined name is optional in GenCP,
// and a camera that refuses it still tells its version (which update conditions and the version
// check after a flash match). A camera that does not answer a read, or a stop request, ends the
// reads: the texts not read yet fail with that result, so a silent camera costs one wait, not
// three. A text whose read failed stays as it was in `texts`.
UvBootstrapReads ReadUvBootstrapTexts(const MemoryRead& read, UvBootstrapTexts& texts);

}  // namespace camerasdk
