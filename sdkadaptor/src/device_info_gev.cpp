// Reads the addresses of a GigE Vision discovery record.
#include "sdkadaptor/src/device_info_gev.h"

#include "camerasdk/PvDeviceInfoGEV.h"

namespace quarx::sdkadaptor {
namespace {

// FindDevice wraps whatever the SDK found in this class; a record of another form reads empty.
const PvDeviceInfoGEV* AsGEV(const PvDeviceInfo* info) { return dynamic_cast<const PvDeviceInfoGEV*>(info); }

}  // namespace

DeviceInfoGEV::DeviceInfoGEV(const PvDeviceInfo* info) : DeviceInfo(info) {}

std::string DeviceInfoGEV::GetDefaultGateway() const {
  const PvDeviceInfoGEV* gev = AsGEV(info_);
  return gev == nullptr ? std::string() : gev->GetDefaultGateway().GetAscii();
}

std::string DeviceInfoGEV::GetIPAddress() const {
  const PvDeviceInfoGEV* gev = AsGEV(info_);
  return gev == nullptr ? std::string() : gev->GetIPAddress().GetAscii();
}

std::string DeviceInfoGEV::GetMACAddress() const {
  const PvDeviceInfoGEV* gev = AsGEV(info_);
  return gev == nullptr ? std::string() : gev->GetMACAddress().GetAscii();
}

std::string DeviceInfoGEV::GetSubnetMask() const {
  const PvDeviceInfoGEV* gev = AsGEV(info_);
  return gev == nullptr ? std::string() : gev->GetSubnetMask().GetAscii();
}

}  // namespace quarx::sdkadaptor
