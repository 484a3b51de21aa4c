// USB3 Vision streams over Aravis USB3 Vision streams.
#include "camerasdk/PvStreamU3V.h"

#include <arv.h>

#include "camerasdk/arv_support.h"
#include "camerasdk/open_devices.h"

using camerasdk_detail::Failure;

PvStreamU3V::PvStreamU3V() = default;

PvStreamU3V::~PvStreamU3V() = default;

PvResult PvStreamU3V::Open(const PvString& deviceId, uint32_t bufferCount) {
  const std::string id = deviceId.GetAscii();
  if (IsOpen()) {
    // Opening again what is open already changes nothing.
    return id == device_id_ ? PvResult()
                            : Failure(PvResult::Code::STATE_ERROR, "Stream is already open on " + device_id_);
  }
  ArvDevice* device = camerasdk_detail::FindOpenDevice(id);
  if (device == nullptr) {
    return Failure(PvResult::Code::NOT_CONNECTED,
                   "No device is connected as " + id + "; connect it before opening its stream");
  }
  PvResult result;
  if (!ARV_IS_UV_DEVICE(device)) {
    result = Failure(PvResult::Code::INVALID_PARAMETER, "The device " + id + " is not a USB3 Vision device");
  } else {
    result = Start(device, 0, bufferCount == 0 ? kDefaultBufferCount : bufferCount);
  }
  if (result.IsOK()) {
    guid_ = camerasdk_detail::OpenDeviceGuid(id);
    device_id_ = id;
  }
  g_object_unref(device);
  return result;
}
