#pragma once
// The handle of a GigE Vision camera.

#include <memory>
#include <string>
#include <vector>

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
  // From the bootstrap register that discovery's answer mirrors, never from a feature that a
  // maker may map elsewhere.
  std::string GetSerialNumber() const;

  void AcquisitionStart(unsigned int bufferCount) override;
  // Without a receiver-thread priority.
  std::vector<std::shared_ptr<Stream>> CreateAndOpenStreams() override;
  // One stream per image source, each opened on its own channel, which the camera is told to
  // send to that stream's address and port. `priority` -1 leaves the receiver threads' priority
  // unchanged. A second call on one connection throws "Stream is already opend.".
  std::vector<std::shared_ptr<Stream>> CreateAndOpenStreams(short priority);

 private:
  DeviceGEVImpl& Gev() const;
};

}  // namespace quarx::core
