#pragma once
// A GigE Vision camera behind its handle: connecting checks the maker's MAC prefix, reads
// the number of image sources and negotiates the packet size of every stream channel.

#include <memory>
#include <string>
#include <vector>

#include "core/device_impl.h"
#include "core/stream.h"
#include "sdkadaptor/src/device_gev.h"
#include "sdkadaptor/src/gen_enum.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::core {

class DeviceGEVImpl : public DeviceImpl {
 public:
  // Over a new, unconnected adaptor GigE Vision device.
  explicit DeviceGEVImpl(const std::string& connectionId);
  // Over a given adaptor device, taken over; the seam through which tests stand in for the camera.
  DeviceGEVImpl(const std::string& connectionId, std::unique_ptr<sdkadaptor::InterfaceDeviceGEV> device);
  ~DeviceGEVImpl() override;

  // Throws ConnectException: detail 2002 for a camera of another maker (disconnected again
  // first), 2000 for any other failure.
  void Connect(quarx::AccessTypeEnum access);
  // True when the camera's MAC address starts with one of the maker's prefixes, in any case.
  bool IsVelmoraDevice() const;
  std::string GetIPAddress() const;
  std::string GetMACAddress() const;
  // The serial number in the bootstrap register that the discovery answer mirrors. Throws
  // ConnectException (detail 2000) when it cannot be read.
  std::string GetSerialNumber() const;
  void SetStreamDestination(const std::string& ip, unsigned short port, unsigned int channel);

  // One stream per image source, sharing one chunk parser; once per connection, a second call
  // throws "Stream is already opend.".
  std::vector<std::shared_ptr<Stream>> CreateStreams() override;
  // For each stream: drop its buffers, select its image source, queue new buffers of the
  // source's payload size and enable its channel. Throws StreamException (detail 6000).
  void AllocBuffersToStream(unsigned int bufferCount) override;

 protected:
  // A new adaptor stream for the camera; the seam through which tests stand in for streams.
  virtual std::shared_ptr<sdkadaptor::InterfaceStream> NewAdaptorStream();

 private:
  // Stream count and source selector from "SourceCount" and "SourceSelector"; a camera
  // without a usable "SourceCount" has one stream.
  void ReadSourceCount();

  // The same object as the base's adaptor device, seen as GigE Vision; not owned here.
  sdkadaptor::InterfaceDeviceGEV* gev_;
  // Selects the image source whose payload size the device reports; empty when the camera
  // has a single source.
  std::shared_ptr<sdkadaptor::GenEnum> source_selector_;
};

}  // namespace quarx::core
