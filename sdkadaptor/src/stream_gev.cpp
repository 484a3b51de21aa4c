// GigE Vision streams over the SDK's GigE Vision stream.
#include "sdkadaptor/src/stream_gev.h"

#include "camerasdk/PvStreamGEV.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

// The port and address are the SDK's to choose; the queue holds up to this many buffers.
constexpr uint16_t kAnyLocalPort = 0;
constexpr uint32_t kQueueCapacity = 64;
constexpr CodeEnum kInternalError = 0x1000002;

}  // namespace

StreamGEV::StreamGEV(const std::string& connectionId) : Stream(connectionId, new PvStreamGEV()) {}

PvStreamGEV& StreamGEV::Gev() const {
  auto* gev = dynamic_cast<PvStreamGEV*>(stream_.get());
  if (gev == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "The SDK stream is not a GigE Vision stream");
  }
  return *gev;
}

std::string StreamGEV::GetDeviceIPAddress() const { return Gev().GetDeviceIPAddress().GetAscii(); }

std::string StreamGEV::GetLocalIPAddress() const { return Gev().GetLocalIPAddress().GetAscii(); }

uint16_t StreamGEV::GetLocalPort() const { return Gev().GetLocalPort(); }

unsigned int StreamGEV::GetUserModeDataReceiverThreadPriority() const {
  return Gev().GetUserModeDataReceiverThreadPriority();
}

void StreamGEV::SetUserModeDataReceiverThreadPriority(unsigned int priority) {
  const PvResult result = Gev().SetUserModeDataReceiverThreadPriority(priority);
  ApplyResultRule(result, "SetUserModeDataReceiverThreadPriority", __FILE__, __LINE__);
}

void StreamGEV::Open(uint16_t channel) {
  const PvResult result =
      Gev().Open(PvString(connection_id_), kAnyLocalPort, channel, PvString(std::string()), kQueueCapacity);
  ApplyResultRule(result, "Open", __FILE__, __LINE__);
}

}  // namespace quarx::sdkadaptor
