// Reads the device version, user-defined name and serial number out of a USB3 Vision camera's
// bootstrap registers.
#include "camerasdk/uv_bootstrap_texts.h"

#include <array>

#include "camerasdk/padded_text.h"
#include "util/stop_request.h"

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
  struct Field {
    std::uint64_t address;
    std::string* text;
    PvResult* result;
  };
  UvBootstrapReads reads;
  const Field fields[] = {
      {kUvRegDeviceVersion, &texts.device_version, &reads.device_version},
      {kUvRegUserDefinedName, &texts.user_defined_name, &reads.user_defined_name},
      {kUvRegSerialNumber, &texts.serial_number, &reads.serial_number},
  };
  // A refusal (an error answer) tells about that register alone; silence tells about the camera.
  PvResult ended;
  for (const Field& field : fields) {
    if (ended.IsOK() && quarx::util::StopRequested()) {
      ended = PvResult(PvResult::Code::ABORTED, "a stop was requested");
    }
    *field.result = ended.IsFailure() ? ended : ReadText(read, field.address, *field.text);
    if (field.result->GetCode() == PvResult::Code::TIMEOUT) {
      ended = *field.result;
    }
  }
  return reads;
}

}  // namespace camerasdk
