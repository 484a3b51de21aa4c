// USB3 Vision control connections over Aravis's USB interface (which never broadcasts on the network).
#include "camerasdk/PvDeviceU3V.h"

#include <algorithm>
#include <vector>

#include "camerasdk/arv_support.h"
#include "camerasdk/open_devices.h"
#include "camerasdk/uv_discovery.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

PvDeviceU3V::PvDeviceU3V() : PvDevice(PvDeviceTypeU3V) {}

PvDeviceU3V::~PvDeviceU3V() = default;

PvResult PvDeviceU3V::Connect(const PvString& connectionId) {
  Release();
  listed_ = PvDeviceIdentity();
  const std::string id = connectionId.GetAscii();
  // The listing entry the id resolves to is what the caller can compare with its discovery
  // record, field for field: the same descriptors read the same way.
  camerasdk::AravisUsbBus bus;
  std::vector<PvDeviceIdentity> cameras;
  const PvResult listing = bus.List(cameras);
  if (listing.IsFailure()) {
    return listing;
  }
  const auto entry = std::find_if(cameras.begin(), cameras.end(),
                                  [&id](const PvDeviceIdentity& camera) { return camera.connection_id == id; });
  if (entry == cameras.end()) {
    return Failure(PvResult::Code::NOT_FOUND, "No USB3 Vision device with id " + id);
  }
  GError* error = nullptr;
  ArvDevice* device = arv_interface_open_device(arv_uv_interface_get_instance(), id.c_str(), &error);
  if (device == nullptr) {
    return error == nullptr ? Failure(PvResult::Code::GENERIC_ERROR, "Cannot open the USB3 Vision device " + id)
                            : ResultFromError(error);
  }
  if (error != nullptr) {
    g_error_free(error);
  }
  listed_ = *entry;
  Attach(device);
  // Streams are opened by the connection id and need this very Aravis device.
  camerasdk_detail::RegisterOpenDevice(id, device, listed_.device_guid);
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
