// Runs discoveries through a backend and keeps what the last one found.
#include "camerasdk/PvSystem.h"

#include "camerasdk/discovery_backend.h"
#include "camerasdk/host_discovery_backend.h"

namespace {
constexpr std::uint32_t kDefaultDetectionTimeoutMs = 1500;
constexpr std::uint32_t kGEVSupportedVersion = 0x00020000;  // GigE Vision 2.0
constexpr std::uint32_t kU3VSupportedVersion = 0x00010000;  // USB3 Vision 1.0
}  // namespace

PvSystem::PvSystem() : PvSystem(std::make_unique<camerasdk::HostDiscoveryBackend>()) {}

PvSystem::PvSystem(std::unique_ptr<camerasdk::DiscoveryBackend> backend)
    : backend_(std::move(backend)),
      found_(std::make_unique<camerasdk::DiscoveryResult>()),
      looked_up_(std::make_unique<camerasdk::DiscoveryResult>()),
      detection_timeout_ms_(kDefaultDetectionTimeoutMs) {}

PvSystem::~PvSystem() = default;

PvResult PvSystem::Find() {
  auto result = std::make_unique<camerasdk::DiscoveryResult>();
  const PvResult outcome = backend_->Discover({detection_timeout_ms_, subnet_broadcast_}, *result);
  found_ = std::move(result);
  return outcome;
}

PvResult PvSystem::FindDevice(const PvString& connection_id, const PvDeviceInfo** device_info) {
  if (device_info == nullptr) {
    return PvResult(PvResult::Code::INVALID_PARAMETER, "FindDevice needs a place for the record");
  }
  *device_info = nullptr;
  auto result = std::make_unique<camerasdk::DiscoveryResult>();
  PvResult outcome =
      backend_->FindDevice(connection_id.GetAscii(), {detection_timeout_ms_, subnet_broadcast_}, *result);
  if (outcome.IsOK() && result->devices.empty()) {
    outcome = PvResult(PvResult::Code::NOT_FOUND, std::string("No device found with id ") + connection_id.GetAscii());
  }
  looked_up_ = std::move(result);
  if (outcome.IsOK()) {
    *device_info = looked_up_->devices.front().get();
  }
  return outcome;
}

std::uint32_t PvSystem::GetInterfaceCount() const { return static_cast<std::uint32_t>(found_->interfaces.size()); }

const PvInterface* PvSystem::GetInterface(std::uint32_t index) const {
  return index < found_->interfaces.size() ? found_->interfaces[index].get() : nullptr;
}

std::uint32_t PvSystem::GetDeviceCount() const { return static_cast<std::uint32_t>(found_->devices.size()); }

const PvDeviceInfo* PvSystem::GetDeviceInfo(std::uint32_t index) const {
  return index < found_->devices.size() ? found_->devices[index].get() : nullptr;
}

std::uint32_t PvSystem::GetGEVSupportedVersion() const { return kGEVSupportedVersion; }

std::uint32_t PvSystem::GetU3VSupportedVersion() const { return kU3VSupportedVersion; }
