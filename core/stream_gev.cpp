// GigE Vision streams: opening on a channel and the receiver thread's priority.
#include "core/stream_gev.h"

#include "core/exception_core_impl.h"
#include "core/exception_stream_impl.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "util/quarxlog.h"

namespace quarx::core {
namespace {

sdkadaptor::InterfaceStreamGEV* AsGev(sdkadaptor::InterfaceStream& stream) {
  auto* gev = dynamic_cast<sdkadaptor::InterfaceStreamGEV*>(&stream);
  if (gev == nullptr) {
    throw StreamExceptionImpl("StreamGEV", __LINE__, ERR_STREAM_CREATE, "The stream is not a GigE Vision stream");
  }
  return gev;
}

}  // namespace

StreamGEV::StreamGEV(std::shared_ptr<sdkadaptor::InterfaceStream> stream,
                     const std::shared_ptr<ChunkParser>& chunkParser)
    : Stream(std::move(stream), chunkParser),
      gev_(AsGev(Adaptor())),
      receiver_priority_(static_cast<int16_t>(gev_->GetUserModeDataReceiverThreadPriority())) {}

StreamGEV::~StreamGEV() = default;

std::pair<std::string, uint16_t> StreamGEV::Open(uint16_t channel) {
  util::Log::GetInstance("").logger_->info("<{}> channel({})", "Open", channel);
  try {
    Gev().Open(channel);
    return {Gev().GetLocalIPAddress(), Gev().GetLocalPort()};
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw StreamExceptionImpl("Open", __LINE__, ERR_STREAM_CREATE, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw StreamExceptionImpl("Open", __LINE__, ERR_STREAM_CREATE, e.what());
  }
}

std::string StreamGEV::GetDeviceIPAddress() const { return Gev().GetDeviceIPAddress(); }

std::string StreamGEV::GetLocalIPAddress() const { return Gev().GetLocalIPAddress(); }

uint16_t StreamGEV::GetLocaPort() const { return Gev().GetLocalPort(); }

void StreamGEV::SetUserModeDataReceiverThreadPriority(uint32_t priority) {
  try {
    Gev().SetUserModeDataReceiverThreadPriority(priority);
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    if (IsOpen()) {
      throw StreamExceptionImpl("SetUserModeDataReceiverThreadPriority", __LINE__, ERR_STREAM_PRIORITY_OPEN,
                                StreamExceptionImpl::ERRMSG_STREAM_ALREADY_OPENED);
    }
    throw StreamExceptionImpl("SetUserModeDataReceiverThreadPriority", __LINE__, ERR_FAILED, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw StreamExceptionImpl("SetUserModeDataReceiverThreadPriority", __LINE__, ERR_UNCLASSIFIED, e.what());
  }
  receiver_priority_ = static_cast<int16_t>(Gev().GetUserModeDataReceiverThreadPriority());
}

}  // namespace quarx::core
