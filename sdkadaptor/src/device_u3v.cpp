// USB3 Vision devices.
#include "sdkadaptor/src/device_u3v.h"

#include "camerasdk/PvDeviceU3V.h"

namespace quarx::sdkadaptor {

DeviceU3V::DeviceU3V() : Device(new PvDeviceU3V()) {}

DeviceU3V::DeviceU3V(PvDeviceU3V* device) : Device(device) {}

quarx::DeviceInterfaceTypeEnum DeviceU3V::GetType() const { return quarx::DeviceInterfaceTypeEnum::U3V; }

std::string DeviceU3V::GetGUID() const {
  const auto* u3v = dynamic_cast<const PvDeviceU3V*>(device_.get());
  return u3v == nullptr ? std::string() : std::string(u3v->GetGUID().GetAscii());
}

std::string DeviceU3V::GetSerialNumber() const {
  const auto* u3v = dynamic_cast<const PvDeviceU3V*>(device_.get());
  return u3v == nullptr ? std::string() : std::string(u3v->GetSerialNumber().GetAscii());
}

}  // namespace quarx::sdkadaptor
