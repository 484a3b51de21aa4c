// USB3 Vision control connections over Aravis's USB interface (which never broadcasts on the network).
#include "camerasdk/PvDeviceU3V.h"

#include "camerasdk/arv_support.h"
#include "camerasdk/open_devices.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

PvDeviceU3V::PvDeviceU3V() : PvDevice(PvDeviceTypeU3V) {}

PvDeviceU3V::~PvDeviceU3V() = default;

PvResult PvDeviceU3V::Connect(const PvString& connectionId) {
  Release();
  guid_.clear();
  const std::string id = connectionId.GetAscii();
  ArvInterface* usb = arv_uv_interface_get_instance();
  arv_interface_update_device_list(usb);
  std::string serial;
  bool listed = false;
  for (unsigned int index = 0; index < arv_interface_get_n_devices(usb); ++index) {
    if (camerasdk_detail::Text(arv_interface_get_device_id(usb, index)) == id) {
      serial = camerasdk_detail::Text(arv_interface_get_device_serial_nbr(usb, index));
      listed = true;
      break;
    }
  }
  if (!listed) {
    return Failure(PvResult::Code::NOT_FOUND, "No USB3 Vision device with id " + id);
  }
  GError* error = nullptr;
  ArvDevice* device = arv_interface_open_device(usb, id.c_str(), &error);
  if (device == nullptr) {
    return error == nullptr ? Failure(PvResult::Code::GENERIC_ERROR, "Cannot open the USB3 Vision device " + id)
                            : ResultFromError(error);
  }
  if (error != nullptr) {
    g_error_free(error);
  }
  guid_ = serial;
  Attach(device);
  // Streams are opened by the connection id and need this very Aravis device.
  camerasdk_detail::RegisterOpenDevice(id, device, serial);
  return PvResult();
}

PvResult PvDeviceU3V::GetStreamChannelCount(uint32_t& count) const {
  if (device_ == nullptr) {
    return Failure(PvResult::Code::NOT_CONNECTED, "Device is not connected");
  }
  // Aravis drives a single stream on USB3 Vision.
  count = 1;
  return PvResult();
}
