// Reads the GUID of a USB3 Vision discovery record.
#include "sdkadaptor/src/device_info_u3v.h"

#include "camerasdk/PvDeviceInfoU3V.h"

namespace quarx::sdkadaptor {

DeviceInfoU3V::DeviceInfoU3V(const PvDeviceInfo* info) : DeviceInfo(info) {}

std::string DeviceInfoU3V::GetDeviceGUID() const {
  const auto* u3v = dynamic_cast<const PvDeviceInfoU3V*>(info_);
  return u3v == nullptr ? std::string() : u3v->GetDeviceGUID().GetAscii();
}

std::string DeviceInfoU3V::GetBootstrapSerialNumber() const {
  const auto* u3v = dynamic_cast<const PvDeviceInfoU3V*>(info_);
  return u3v == nullptr ? std::string() : u3v->GetBootstrapSerialNumber().GetAscii();
}

}  // namespace quarx::sdkadaptor
