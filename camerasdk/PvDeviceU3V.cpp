// USB3 Vision control connections over Aravis's USB interface (which never broadcasts on the network).
#include "camerasdk/PvDeviceU3V.h"

#include <vector>

#include "camerasdk/arv_support.h"
#include "camerasdk/open_devices.h"
#include "camerasdk/uv_discovery.h"

PvDeviceU3V::PvDeviceU3V() : PvDeviceU3V(std::make_unique<camerasdk::AravisUsbBus>()) {}

PvDeviceU3V::PvDeviceU3V(std::unique_ptr<camerasdk::UsbCameraBus> usb)
    : PvDevice(PvDeviceTypeU3V), usb_(std::move(usb)) {}

PvDeviceU3V::~PvDeviceU3V() = default;

PvResult PvDeviceU3V::Connect(const PvString& connectionId) {
  Release();
  listed_ = PvDeviceIdentity();
  const std::string id = connectionId.GetAscii();
  // Chosen on a listing made for this very open: the entry the id resolves to is what the caller
  // compares with its discovery record, field for field, and a camera that Aravis might mistake
  // for another is not opened at all.
  std::vector<PvDeviceIdentity> cameras;
  const PvResult listing = usb_->List(cameras);
  if (listing.IsFailure()) {
    return listing;
  }
  const camerasdk::UsbCameraChoice choice = camerasdk::ChooseUsbCamera(cameras, id);
  if (choice.refusal.IsFailure()) {
    return choice.refusal;
  }
  ArvDevice* device = nullptr;
  const PvResult opened = camerasdk::OpenUsbCamera(*usb_, choice.camera, device);
  if (opened.IsFailure()) {
    return opened;
  }
  listed_ = choice.camera;
  Attach(device);
  // Streams are opened by the connection id and need this very Aravis device.
  camerasdk_detail::RegisterOpenDevice(id, device, listed_.device_guid);
  return PvResult();
}

PvResult PvDeviceU3V::GetStreamChannelCount(uint32_t& count) const {
  if (device_ == nullptr) {
    return camerasdk_detail::Failure(PvResult::Code::NOT_CONNECTED, "Device is not connected");
  }
  // Aravis drives a single stream on USB3 Vision.
  count = 1;
  return PvResult();
}
