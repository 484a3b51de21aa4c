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

PvResult ReadUvBootstrapTexts(const MemoryRead& read, UvBootstrapTexts& texts) {
  UvBootstrapTexts read_texts;
  PvResult result = ReadText(read, kUvRegDeviceVersion, read_texts.device_version);
  if (result.IsOK()) {
    result = ReadText(read, kUvRegUserDefinedName, read_texts.user_defined_name);
  }
  if (result.IsOK()) {
    texts = read_texts;
  }
  return result;
}

}  // namespace camerasdk
