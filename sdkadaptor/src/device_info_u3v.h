#pragma once
// A discovered USB3 Vision camera: the record with its device GUID.

#include <string>

#include "sdkadaptor/src/device_info.h"

namespace quarx::sdkadaptor {

class DeviceInfoU3V : public DeviceInfo {
 public:
  explicit DeviceInfoU3V(const PvDeviceInfo* info);

  // Empty when the SDK record is not of the USB3 Vision form.
  std::string GetDeviceGUID() const;
  // The serial number of the camera's bootstrap register as discovery read it through the
  // device Aravis opened; empty when it could not be read, or for another form of record.
  std::string GetBootstrapSerialNumber() const;
};

}  // namespace quarx::sdkadaptor
