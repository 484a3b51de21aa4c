// Discovery through the SDK's system object, with the adaptor's rules on what is listed.
#include "sdkadaptor/src/system.h"

#include "camerasdk/PvSystem.h"
#include "sdkadaptor/src/device_info_gev.h"
#include "sdkadaptor/src/device_info_u3v.h"
#include "sdkadaptor/src/result.h"

namespace quarx::sdkadaptor {
namespace {

constexpr unsigned int kHalfWordBits = 16;
constexpr std::uint32_t kLowHalfMask = 0xFFFF;

std::pair<std::uint16_t, std::uint16_t> SplitVersion(std::uint32_t version) {
  return {static_cast<std::uint16_t>(version >> kHalfWordBits), static_cast<std::uint16_t>(version & kLowHalfMask)};
}

}  // namespace

System::System() : system_(std::make_unique<PvSystem>()) {}

System::System(std::unique_ptr<PvSystem> system) : system_(std::move(system)) {}

System::~System() = default;

std::vector<std::unique_ptr<InterfaceDeviceInfo>> System::Find() {
  const PvResult result = system_->Find();
  Result::LoggingPvResult(result, "Find");

  std::vector<std::unique_ptr<InterfaceDeviceInfo>> infos;
  if (!result.IsOK()) {
    return infos;
  }
  for (std::uint32_t i = 0; i < system_->GetDeviceCount(); ++i) {
    const PvDeviceInfo* info = system_->GetDeviceInfo(i);
    if (info == nullptr) {
      continue;
    }
    // The SDK's other record kinds are transports the system does not drive.
    switch (info->GetType()) {
      case PvDeviceInfoTypeGEV:
        infos.push_back(std::make_unique<DeviceInfoGEV>(info));
        break;
      case PvDeviceInfoTypeU3V:
        infos.push_back(std::make_unique<DeviceInfoU3V>(info));
        break;
      default:
        break;
    }
  }
  return infos;
}

std::unique_ptr<InterfaceDeviceInfo> System::FindDevice(const std::string& connection_id) {
  const PvDeviceInfo* info = nullptr;
  PvResult result = system_->FindDevice(PvString(connection_id), &info);
  Result::LoggingPvResult(result, "FindDevice");
  if (result.IsFailure()) {
    // A single lost datagram should not fail a lookup: ask once more, at once.
    result = system_->FindDevice(PvString(connection_id), &info);
    Result::LoggingPvResult(result, "FindDevice");
    Result::ThrowExceptionWhenError(result, __FILE__, __LINE__);
  }
  if (!result.IsOK() || info == nullptr) {
    return nullptr;
  }
  return std::make_unique<DeviceInfoGEV>(info);
}

std::vector<std::unique_ptr<InterfaceHostInterface>> System::GetInterface() {
  std::vector<std::unique_ptr<InterfaceHostInterface>> interfaces;
  for (std::uint32_t i = 0; i < system_->GetInterfaceCount(); ++i) {
    interfaces.push_back(std::make_unique<HostInterface>(system_->GetInterface(i)));
  }
  return interfaces;
}

unsigned int System::GetDetectionTimeoutMillisec() const { return system_->GetDetectionTimeout(); }

void System::SetDetectionTimeoutMillisec(unsigned int timeout_ms) { system_->SetDetectionTimeout(timeout_ms); }

bool System::GetSubnetBroadcastEnabled() const { return system_->GetSubnetBroadcastEnabled(); }

void System::SetSubnetBroadcastEnabled(bool enabled) { system_->SetSubnetBroadcastEnabled(enabled); }

std::pair<std::uint16_t, std::uint16_t> System::GetGEVSupportedVersion() const {
  return SplitVersion(system_->GetGEVSupportedVersion());
}

std::pair<std::uint16_t, std::uint16_t> System::GetU3VSupportedVersion() const {
  return SplitVersion(system_->GetU3VSupportedVersion());
}

}  // namespace quarx::sdkadaptor
