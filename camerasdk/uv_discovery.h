#pragma once
// USB3 Vision cameras from Aravis's USB interface alone (no network traffic), completed by what
// each camera holds itself.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "camerasdk/PvDeviceInfo.h"
#include "camerasdk/PvInterface.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/uv_bootstrap_texts.h"

namespace camerasdk {

// The USB side of a discovery: the host's bus through Aravis, a script in tests.
class UsbCameraBus {
 public:
  virtual ~UsbCameraBus() = default;
  // The USB3 Vision cameras on the bus with what the USB listing gives of them: ids, vendor,
  // model, manufacturer information and serial number, but no version and no user-defined name.
  virtual PvResult List(std::vector<PvDeviceIdentity>& cameras) = 0;
  // Opens the listed camera with that connection id only while `read` runs, handing it the
  // camera's memory. The result is the open's failure, else what `read` returns.
  virtual PvResult ReadFromCamera(const std::string& connection_id,
                                  const std::function<PvResult(const MemoryRead&)>& read) = 0;
};

// The host's bus through Aravis's USB interface.
class AravisUsbBus : public UsbCameraBus {
 public:
  PvResult List(std::vector<PvDeviceIdentity>& cameras) override;
  PvResult ReadFromCamera(const std::string& connection_id,
                          const std::function<PvResult(const MemoryRead&)>& read) override;
};

// Appends one record per listed camera, each pointing at `host_interface`, with the version and
// user-defined name read from the camera itself. A camera that cannot be opened or read, or is
// reached after a stop request, is listed all the same, with those two empty and one warning.
void AddUsb3VisionRecords(UsbCameraBus& bus, const std::vector<PvDeviceIdentity>& cameras,
                          const PvInterface* host_interface, std::vector<std::unique_ptr<PvDeviceInfo>>& devices);

}  // namespace camerasdk
