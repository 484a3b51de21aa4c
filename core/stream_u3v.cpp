// USB3 Vision streams.
#include "core/stream_u3v.h"

#include "core/exception_core_impl.h"
#include "core/exception_stream_impl.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"

namespace quarx::core {
namespace {

sdkadaptor::InterfaceStreamU3V* AsU3v(sdkadaptor::InterfaceStream& stream) {
  auto* u3v = dynamic_cast<sdkadaptor::InterfaceStreamU3V*>(&stream);
  if (u3v == nullptr) {
    throw StreamExceptionImpl("StreamU3V", __LINE__, ERR_STREAM_CREATE, "The stream is not a USB3 Vision stream");
  }
  return u3v;
}

}  // namespace

StreamU3V::StreamU3V(std::shared_ptr<sdkadaptor::InterfaceStream> stream,
                     const std::shared_ptr<ChunkParser>& chunkParser)
    : Stream(std::move(stream), chunkParser), u3v_(AsU3v(Adaptor())) {}

StreamU3V::~StreamU3V() = default;

void StreamU3V::Open(uint16_t /*channel*/) {
  try {
    u3v_->Open();
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw StreamExceptionImpl("Open", __LINE__, ERR_STREAM_CREATE, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw StreamExceptionImpl("Open", __LINE__, ERR_STREAM_CREATE, e.what());
  }
}

std::string StreamU3V::GetGUID() const { return u3v_->GetGUID(); }

}  // namespace quarx::core
