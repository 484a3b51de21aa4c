#pragma once
// The handle of a USB3 Vision camera.

#include <memory>
#include <string>
#include <vector>

#include "core/device.h"
#include "core/device_u3v_impl.h"

namespace quarx::core {

class DeviceU3V : public Device {
 public:
  // Unconnected, over a new adaptor USB3 Vision device.
  explicit DeviceU3V(const std::string& connectionId);
  // Over a given implementation; the seam through which tests stand in for the camera.
  explicit DeviceU3V(std::shared_ptr<DeviceU3VImpl> impl);

  void Connect() override;
  std::string GetUUID() const;
  // As the USB listing gave it when the camera was connected; see DeviceU3VImpl.
  std::string GetSerialNumber() const;
  // As the camera's bootstrap register holds it; see DeviceU3VImpl.
  std::string GetBootstrapSerialNumber() const;

  void AcquisitionStart(unsigned int bufferCount) override;
  // Adds one stream and opens the first; every call adds another.
  std::vector<std::shared_ptr<Stream>> CreateAndOpenStreams() override;

 private:
  DeviceU3VImpl& U3v() const;
};

}  // namespace quarx::core
