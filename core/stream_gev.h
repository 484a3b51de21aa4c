#pragma once
// A GigE Vision stream: opened on a channel, it reports the host address and port the camera
// must send that channel to; its receiver thread's priority is set before opening.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "core/stream.h"
#include "sdkadaptor/src/stream_gev.h"

namespace quarx::core {

class StreamGEV : public Stream {
 public:
  // The adaptor stream must be a GigE Vision one; any other throws StreamException (detail 6000).
  StreamGEV(std::shared_ptr<sdkadaptor::InterfaceStream> stream, const std::shared_ptr<ChunkParser>& chunkParser);
  ~StreamGEV() override;

  // Opens the stream and returns the host's receiving address and port. Throws
  // StreamException (detail 6000).
  std::pair<std::string, uint16_t> Open(uint16_t channel);
  std::string GetDeviceIPAddress() const;
  std::string GetLocalIPAddress() const;
  uint16_t GetLocaPort() const;
  // As read at construction and after each successful change.
  int GetUserModeDataReceiverThreadPriority() const { return receiver_priority_; }
  // Throws StreamException: detail 6002 when the open stream refuses, 1 when a closed one
  // does, 900 for any other failure.
  void SetUserModeDataReceiverThreadPriority(uint32_t priority);

 private:
  sdkadaptor::InterfaceStreamGEV& Gev() const { return *gev_; }

  // The base's adaptor stream seen as GigE Vision; not owned here.
  sdkadaptor::InterfaceStreamGEV* gev_;
  int16_t receiver_priority_;
};

}  // namespace quarx::core
