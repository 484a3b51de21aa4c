// The handle of a USB3 Vision camera.
#include "core/device_u3v.h"

namespace quarx::core {

DeviceU3V::DeviceU3V(const std::string& connectionId) : DeviceU3V(std::make_shared<DeviceU3VImpl>(connectionId)) {}

DeviceU3V::DeviceU3V(std::shared_ptr<DeviceU3VImpl> impl) : Device(std::move(impl)) {}

DeviceU3VImpl& DeviceU3V::U3v() const {
  // Both constructors hand the base a DeviceU3VImpl.
  return static_cast<DeviceU3VImpl&>(*Impl());
}

void DeviceU3V::Connect() { U3v().Connect(); }

std::string DeviceU3V::GetUUID() const { return U3v().GetUUID(); }

}  // namespace quarx::core
