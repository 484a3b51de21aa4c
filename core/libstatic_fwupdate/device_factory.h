#pragma once
// How the update engine makes a device handle from a discovery record: Device::Create unless
// a test hands in its own to stand in for the camera.

#include <functional>
#include <memory>

#include "core/device.h"
#include "core/found_device_info.h"

namespace quarx::core::fwupdate {

using DeviceFactory = std::function<std::shared_ptr<Device>(std::unique_ptr<FoundDeviceInfo>&)>;

}  // namespace quarx::core::fwupdate
