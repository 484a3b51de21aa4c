// USB3 Vision streams over the SDK's USB3 Vision stream.
#include "sdkadaptor/src/stream_u3v.h"

#include "camerasdk/PvStreamU3V.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInternalError = 0x1000002;

}  // namespace

StreamU3V::StreamU3V(const std::string& connectionId) : Stream(connectionId, new PvStreamU3V()) {}

PvStreamU3V& StreamU3V::U3v() const {
  auto* u3v = dynamic_cast<PvStreamU3V*>(stream_.get());
  if (u3v == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "The SDK stream is not a USB3 Vision stream");
  }
  return *u3v;
}

void StreamU3V::Open() {
  const PvResult result = U3v().Open(PvString(connection_id_));
  ApplyResultRule(result, "Open", __FILE__, __LINE__);
}

std::string StreamU3V::GetGUID() const { return U3v().GetDeviceGUID().GetAscii(); }

}  // namespace quarx::sdkadaptor
