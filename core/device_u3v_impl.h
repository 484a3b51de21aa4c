#pragma once
// A USB3 Vision camera behind its handle: connecting only opens the control channel.

#include <memory>
#include <string>
#include <vector>

#include "core/device_impl.h"
#include "core/stream.h"
#include "sdkadaptor/src/device_u3v.h"

namespace quarx::core {

class DeviceU3VImpl : public DeviceImpl {
 public:
  // Over a new, unconnected adaptor USB3 Vision device.
  explicit DeviceU3VImpl(const std::string& connectionId);
  // Over a given adaptor device, taken over; the seam through which tests stand in for the camera.
  DeviceU3VImpl(const std::string& connectionId, std::unique_ptr<sdkadaptor::InterfaceDeviceU3V> device);

  // Throws ConnectException (detail 2000) on failure.
  void Connect();
  // The device GUID and serial number of the USB listing entry the connection resolved.
  std::string GetUUID() const;
  std::string GetSerialNumber() const;
  // The serial number in the bootstrap register (0x0144), read through the device that was
  // opened: the listing tells which entry the connection id resolved, this which camera
  // answers. Throws ConnectException (detail 2000) when it cannot be read.
  std::string GetBootstrapSerialNumber() const;

  // Adds one stream with a chunk parser of its own; every call adds another.
  std::vector<std::shared_ptr<Stream>> CreateStreams() override;
  // Queues buffers of the payload size on the first stream and enables channel 0. Throws
  // StreamException (detail 6000).
  void AllocBuffersToStream(unsigned int bufferCount) override;

 protected:
  // A new adaptor stream for the camera; the seam through which tests stand in for streams.
  virtual std::shared_ptr<sdkadaptor::InterfaceStream> NewAdaptorStream();
  // The listing entry's GUID and serial number; only the adaptor's USB3 Vision device knows
  // them. The seam through which tests stand in for the USB listing.
  virtual std::string ListedGUID() const;
  virtual std::string ListedSerialNumber() const;

 private:
  // Throws CoreException (result 7, detail 2) for a device of another kind.
  const sdkadaptor::DeviceU3V& AdaptorU3V(const char* operation) const;
};

}  // namespace quarx::core
