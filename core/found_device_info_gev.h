#pragma once
// A discovered GigE Vision camera: the common record plus its IP address, MAC address and subnet mask.

#include <memory>
#include <string>

#include "core/found_device_info.h"

namespace quarx::core {

class FoundDeviceInfoGEV : public FoundDeviceInfo {
 public:
  // Consumes the adaptor record; the addresses stay empty if it is not of the GigE Vision form.
  explicit FoundDeviceInfoGEV(std::unique_ptr<quarx::sdkadaptor::InterfaceDeviceInfo> info);
  ~FoundDeviceInfoGEV() override;

  std::string GetIPAddress() const { return ip_address_; }
  // Lower-case and colon-separated ("02:5e:c1:12:34:56").
  std::string GetMACAddress() const { return mac_address_; }
  std::string GetSubnetMask() const { return subnet_mask_; }

 private:
  std::string ip_address_;
  std::string mac_address_;
  std::string subnet_mask_;
};

}  // namespace quarx::core
