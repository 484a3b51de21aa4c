// Copies a GigE Vision adaptor record, addresses included.
#include "core/found_device_info_gev.h"

#include "sdkadaptor/src/device_info_gev.h"

namespace quarx::core {

FoundDeviceInfoGEV::FoundDeviceInfoGEV(std::unique_ptr<quarx::sdkadaptor::InterfaceDeviceInfo> info)
    : FoundDeviceInfo(info) {
  const auto* gev = dynamic_cast<const quarx::sdkadaptor::DeviceInfoGEV*>(info.get());
  if (gev == nullptr) {
    return;
  }
  ip_address_ = gev->GetIPAddress();
  mac_address_ = gev->GetMACAddress();
  subnet_mask_ = gev->GetSubnetMask();
}

FoundDeviceInfoGEV::~FoundDeviceInfoGEV() = default;

}  // namespace quarx::core
