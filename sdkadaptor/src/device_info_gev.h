#pragma once
// A discovered GigE Vision camera: the record with its network addresses.

#include <string>

#include "sdkadaptor/src/device_info.h"

namespace quarx::sdkadaptor {

class DeviceInfoGEV : public DeviceInfo {
 public:
  explicit DeviceInfoGEV(const PvDeviceInfo* info);

  // Empty when the SDK record is not of the GigE Vision form.
  std::string GetDefaultGateway() const;
  std::string GetIPAddress() const;
  std::string GetMACAddress() const;
  std::string GetSubnetMask() const;
};

}  // namespace quarx::sdkadaptor
