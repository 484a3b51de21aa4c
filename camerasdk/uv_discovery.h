#pragma once
// USB3 Vision cameras from Aravis's USB interface alone: no network traffic.

#include <memory>
#include <vector>

#include "camerasdk/PvDeviceInfo.h"
#include "camerasdk/PvInterface.h"
#include "camerasdk/PvResult.h"

namespace camerasdk {

// Appends one record per USB3 Vision camera on the bus, each pointing at `host_interface`.
PvResult ListUsb3VisionDevices(const PvInterface* host_interface, std::vector<std::unique_ptr<PvDeviceInfo>>& devices);

}  // namespace camerasdk
