// Lists USB3 Vision cameras through Aravis's USB interface. The general device list of Aravis is
// never used here: updating it also broadcasts GigE Vision discovery on every network.
#include "camerasdk/uv_discovery.h"

#include <arv.h>

#include <string>

#include "camerasdk/PvDeviceInfoU3V.h"

namespace camerasdk {
namespace {

std::string Text(const char* text) { return text == nullptr ? std::string() : std::string(text); }

}  // namespace

PvResult ListUsb3VisionDevices(const PvInterface* host_interface, std::vector<std::unique_ptr<PvDeviceInfo>>& devices) {
  ArvInterface* usb = arv_uv_interface_get_instance();
  if (usb == nullptr) {
    return PvResult(PvResult::Code::GENERIC_ERROR, 0, "The USB3 Vision interface is not available");
  }
  arv_interface_update_device_list(usb);
  const unsigned int count = arv_interface_get_n_devices(usb);
  for (unsigned int i = 0; i < count; ++i) {
    PvDeviceIdentity identity;
    identity.connection_id = Text(arv_interface_get_device_id(usb, i));
    identity.unique_id = identity.connection_id;
    identity.vendor_name = Text(arv_interface_get_device_vendor(usb, i));
    identity.model_name = Text(arv_interface_get_device_model(usb, i));
    identity.manufacturer_info = Text(arv_interface_get_device_manufacturer_info(usb, i));
    identity.serial_number = Text(arv_interface_get_device_serial_nbr(usb, i));
    identity.display_id = identity.model_name + " (" + identity.serial_number + ")";
    devices.push_back(std::make_unique<PvDeviceInfoU3V>(identity, identity.serial_number, host_interface));
  }
  return PvResult();
}

}  // namespace camerasdk
