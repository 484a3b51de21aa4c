#pragma once
// A USB3 Vision camera.

#include <string>

#include "sdkadaptor/src/device.h"

class PvDeviceU3V;

namespace quarx::sdkadaptor {

// Marks a device as USB3 Vision; it adds no operation.
class InterfaceDeviceU3V : public virtual InterfaceDevice {};

class DeviceU3V : public Device, public InterfaceDeviceU3V {
 public:
  // A new, unconnected SDK device.
  DeviceU3V();
  // Takes ownership of an existing SDK device.
  explicit DeviceU3V(PvDeviceU3V* device);

  quarx::DeviceInterfaceTypeEnum GetType() const override;
  // The GUID and the serial number of the USB listing entry the connection resolved.
  std::string GetGUID() const;
  std::string GetSerialNumber() const;
};

}  // namespace quarx::sdkadaptor
