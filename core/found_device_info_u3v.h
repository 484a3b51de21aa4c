#pragma once
// A discovered USB3 Vision camera: the common record plus its device GUID and the serial number
// its bootstrap register held.

#include <memory>
#include <string>

#include "core/found_device_info.h"

namespace quarx::core {

class FoundDeviceInfoU3V : public FoundDeviceInfo {
 public:
  // Consumes the adaptor record; the GUID stays empty if it is not of the USB3 Vision form.
  explicit FoundDeviceInfoU3V(std::unique_ptr<quarx::sdkadaptor::InterfaceDeviceInfo> info);
  ~FoundDeviceInfoU3V() override;

  std::string GetDeviceGUID() const { return device_guid_; }
  // The serial number of the camera's bootstrap register, read at discovery through the device
  // Aravis opened; empty when the camera did not give it.
  std::string GetBootstrapSerialNumber() const { return bootstrap_serial_number_; }

 private:
  std::string device_guid_;
  std::string bootstrap_serial_number_;
};

}  // namespace quarx::core
