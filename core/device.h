#pragma once
// The handle of one camera: created unconnected from a discovery record, connected in the
// way of its transport, and the way to the camera's features, link parameters and files.

#include <memory>
#include <string>
#include <vector>

#include "core/device_impl.h"
#include "core/found_device_info.h"
#include "core/genicam_file.h"
#include "core/parameters.h"
#include "core/stream.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::core {

class Device {
 public:
  virtual ~Device() = default;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // An unconnected DeviceGEV or DeviceU3V for the record's interface type; any other type
  // throws CoreException (result 7, detail 2).
  static std::shared_ptr<Device> Create(std::unique_ptr<FoundDeviceInfo>& info);

  // Queues `bufferCount` buffers on the streams, enables their channels and sends
  // "AcquisitionStart". Throws StreamException ("Stream does not exist." before
  // CreateAndOpenStreams) or AcqusitionException (detail 1002).
  virtual void AcquisitionStart(unsigned int bufferCount) = 0;
  // Sends "AcquisitionStop" and disables the stream channels; the streams stay. Throws
  // AcqusitionException (detail 1003).
  virtual void AcquisitionStop();
  // Opens the control connection and readies the camera in the way of its transport.
  virtual void Connect() = 0;
  // Creates the device's streams and opens them in the way of its transport; the camera must
  // be connected. Throws StreamException (detail 6000).
  virtual std::vector<std::shared_ptr<Stream>> CreateAndOpenStreams() = 0;

  // The camera's features; throws ConnectException (detail 4) while not connected.
  const std::shared_ptr<Parameters>& GetFeatures() const;
  // The link's own parameters; there whether connected or not.
  const std::shared_ptr<Parameters>& GetCommunicationParameters() const;
  std::unique_ptr<GenicamFile> GetGenFile() const;

  bool IsConnected() const;
  quarx::DeviceInterfaceTypeEnum GetInterfaceType() const;
  unsigned int GetHeartbeatThreadPriority() const;
  unsigned int GetInterruptLinkThreadPriority() const;
  unsigned int GetInterruptQueueThreadPriority() const;
  void SetHeartbeatThreadPriority(unsigned int priority);
  void SetInterruptLinkThreadPriority(unsigned int priority);
  void SetInterruptQueueThreadPriority(unsigned int priority);

  // Throws ConnectException (detail 2001) when the camera cannot be disconnected.
  void DisConnect();

 protected:
  // Both node maps are taken here, before any connection: they fill in when the camera connects.
  explicit Device(std::shared_ptr<DeviceImpl> impl);

  const std::shared_ptr<DeviceImpl>& Impl() const { return impl_; }

 private:
  // Declared in this order so that the node maps go before the device that owns them.
  std::shared_ptr<DeviceImpl> impl_;
  std::shared_ptr<Parameters> features_;
  std::shared_ptr<Parameters> communication_parameters_;
};

}  // namespace quarx::core
