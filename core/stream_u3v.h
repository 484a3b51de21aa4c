#pragma once
// A USB3 Vision stream.

#include <cstdint>
#include <memory>
#include <string>

#include "core/stream.h"
#include "sdkadaptor/src/stream_u3v.h"

namespace quarx::core {

class StreamU3V : public Stream {
 public:
  // The adaptor stream must be a USB3 Vision one; any other throws StreamException (detail 6000).
  StreamU3V(std::shared_ptr<sdkadaptor::InterfaceStream> stream, const std::shared_ptr<ChunkParser>& chunkParser);
  ~StreamU3V() override;

  // The device has one USB3 Vision stream: the channel is not used. Throws StreamException
  // (detail 6000).
  void Open(uint16_t channel);
  std::string GetGUID() const;

 private:
  // The base's adaptor stream seen as USB3 Vision; not owned here.
  sdkadaptor::InterfaceStreamU3V* u3v_;
};

}  // namespace quarx::core
