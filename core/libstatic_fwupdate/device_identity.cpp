// The identity of a connected camera: its serial number from its features and, over GigE
// Vision, its MAC address from its registers, compared with what discovery reported.
#include "core/libstatic_fwupdate/device_identity.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <optional>
#include <string>

#include <fmt/format.h>

#include "core/device_gev.h"
#include "core/found_device_info_gev.h"
#include "util/quarxlog.h"

namespace quarx::core::fwupdate {
namespace {

// The standard name first; older GigE Vision cameras name the same bootstrap text DeviceID.
constexpr const char* kSerialNumberFeatures[] = {"DeviceSerialNumber", "DeviceID"};
constexpr const char* kUnreadable = "(unreadable)";

std::optional<std::string> ReadSerialNumber(Device& device) {
  for (const char* name : kSerialNumberFeatures) {
    // The feature borrows the camera's node map: it goes before the caller may disconnect.
    const std::shared_ptr<Feature> feature = device.GetFeatures()->GetFeature(name);
    if (!feature) {
      continue;
    }
    try {
      return feature->GetValueAsString();
    } catch (const std::exception& e) {
      util::Log::GetInstance("").logger_->error("Cannot read {} of the connected camera: {}", name, e.what());
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

void ConfirmDeviceIdentity(Device& device, FoundDeviceInfo& target) {
  const std::optional<std::string> serialNumber = ReadSerialNumber(device);
  const auto* gevTarget = dynamic_cast<const FoundDeviceInfoGEV*>(&target);
  const auto* gevDevice = dynamic_cast<const DeviceGEV*>(&device);
  std::string expected = "serial number " + target.GetSerialNumber();
  std::string found = "serial number " + serialNumber.value_or(kUnreadable);
  bool same = serialNumber == target.GetSerialNumber();
  if (gevTarget != nullptr) {
    const std::string mac = gevDevice != nullptr ? gevDevice->GetMACAddress() : std::string(kUnreadable);
    expected = gevTarget->GetMACAddress() + " " + expected;
    found = mac + " " + found;
    same = same && Lower(mac) == Lower(gevTarget->GetMACAddress());
  }
  if (!same) {
    throw DeviceIdentityMismatch(
        fmt::format("Connected device is not the target : expected {}, found {}", expected, found));
  }
}

}  // namespace quarx::core::fwupdate
