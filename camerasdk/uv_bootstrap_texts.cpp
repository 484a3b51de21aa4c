// Reads the device version and user-defined name out of a USB3 Vision camera's bootstrap registers.
#include "camerasdk/uv_bootstrap_texts.h"

#include <array>

#include "camerasdk/padded_text.h"

namespace camerasdk {
namespace {

PvResult ReadText(const MemoryRead& read, std::uint64_t address, std::string& text) {
  std::array<std::uint8_t, kUvTextLength> field{};
  const PvResult result = read(address, kUvTextLength, field.data());
  if (result.IsOK()) {
    text = ReadPaddedText(field.data(), field.size());
  }
  return result;
}

}  // namespace

UvBootstrapReads ReadUvBootstrapTexts(const MemoryRead& read, UvBootstrapTexts& texts) {
  UvBootstrapReads reads;
  reads.device_version = ReadText(read, kUvRegDeviceVersion, texts.device_version);
  reads.user_defined_name = ReadText(read, kUvRegUserDefinedName, texts.user_defined_name);
  return reads;
}

}  // namespace camerasdk
