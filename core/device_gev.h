#pragma once
// The handle of a GigE Vision camera.

#include <memory>
#include <string>

#include "core/device.h"
#include "core/device_gev_impl.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::core {

class DeviceGEV : public Device {
 public:
  // Unconnected, over a new adaptor GigE Vision device.
  explicit DeviceGEV(const std::string& connectionId);
  // Over a given implementation; the seam through which tests stand in for the camera.
  explicit DeviceGEV(std::shared_ptr<DeviceGEVImpl> impl);

  // Connects with control access.
  void Connect() override;
  void Connect(quarx::AccessTypeEnum access);
  std::string GetIPAddress() const;
  std::string GetMACAddress() const;

 private:
  DeviceGEVImpl& Gev() const;
};

}  // namespace quarx::core
