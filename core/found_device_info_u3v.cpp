// Copies a USB3 Vision adaptor record, GUID and bootstrap serial number included.
#include "core/found_device_info_u3v.h"

#include "sdkadaptor/src/device_info_u3v.h"

namespace quarx::core {

FoundDeviceInfoU3V::FoundDeviceInfoU3V(std::unique_ptr<quarx::sdkadaptor::InterfaceDeviceInfo> info)
    : FoundDeviceInfo(info) {
  const auto* u3v = dynamic_cast<const quarx::sdkadaptor::DeviceInfoU3V*>(info.get());
  if (u3v == nullptr) {
    return;
  }
  device_guid_ = u3v->GetDeviceGUID();
  bootstrap_serial_number_ = u3v->GetBootstrapSerialNumber();
}

FoundDeviceInfoU3V::~FoundDeviceInfoU3V() = default;

}  // namespace quarx::core
