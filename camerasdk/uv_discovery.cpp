// Lists USB3 Vision cameras through Aravis's USB interface. The general device list of Aravis is
// never used here: updating it also broadcasts GigE Vision discovery on every network.
#include "camerasdk/uv_discovery.h"

#include <arv.h>

#include "camerasdk/PvDeviceInfoU3V.h"
#include "camerasdk/arv_support.h"
#include "util/quarxlog.h"
#include "util/stop_request.h"

namespace camerasdk {
namespace {

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;
using camerasdk_detail::Text;

ArvInterface* UsbInterface() { return arv_uv_interface_get_instance(); }

PvResult NoUsbInterface() { return Failure(PvResult::Code::GENERIC_ERROR, "The USB3 Vision interface is not available"); }

// Aravis may set an error even when it succeeds; only the outcome counts.
PvResult Outcome(bool succeeded, GError* error, const std::string& failure) {
  if (succeeded) {
    if (error != nullptr) {
      g_error_free(error);
    }
    return PvResult();
  }
  return error == nullptr ? Failure(PvResult::Code::GENERIC_ERROR, failure) : ResultFromError(error);
}

constexpr const char* kBothTexts = "Version and user-defined name";

// What the warning about a camera whose texts were not all read says: which text, and why.
struct UnreadTexts {
  const char* which = nullptr;  // none: both were read
  PvResult why;
};

UnreadTexts ReadTexts(UsbCameraBus& bus, const std::string& connection_id, UvBootstrapTexts& texts) {
  // Every camera read costs a bounded wait; a stop request ends the discovery's waits, so it
  // ends these too.
  if (quarx::util::StopRequested()) {
    return {kBothTexts, PvResult(PvResult::Code::ABORTED, "a stop was requested")};
  }
  UvBootstrapReads reads;
  const PvResult opened = bus.ReadFromCamera(connection_id, [&](const MemoryRead& read) {
    reads = ReadUvBootstrapTexts(read, texts);
    return PvResult();
  });
  if (opened.IsFailure()) {
    return {kBothTexts, opened};
  }
  if (reads.device_version.IsFailure()) {
    return {reads.user_defined_name.IsFailure() ? kBothTexts : "Version", reads.device_version};
  }
  if (reads.user_defined_name.IsFailure()) {
    return {"User-defined name", reads.user_defined_name};
  }
  return {};
}

}  // namespace

PvResult AravisUsbBus::List(std::vector<PvDeviceIdentity>& cameras) {
  ArvInterface* usb = UsbInterface();
  if (usb == nullptr) {
    return NoUsbInterface();
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
    // Aravis's physical id of a USB3 Vision camera is the GUID string of its device-info descriptor.
    identity.device_guid = Text(arv_interface_get_device_physical_id(usb, i));
    identity.display_id = identity.model_name + " (" + identity.serial_number + ")";
    cameras.push_back(identity);
  }
  return PvResult();
}

PvResult AravisUsbBus::ReadFromCamera(const std::string& connection_id,
                                      const std::function<PvResult(const MemoryRead&)>& read) {
  ArvInterface* usb = UsbInterface();
  if (usb == nullptr) {
    return NoUsbInterface();
  }
  // Opening claims the camera: it is let go as soon as the read is done, so that the connection
  // an update makes later finds it free.
  GError* error = nullptr;
  ArvDevice* device = arv_interface_open_device(usb, connection_id.c_str(), &error);
  const PvResult opened = Outcome(device != nullptr, error, "The camera cannot be opened");
  if (opened.IsFailure()) {
    return opened;
  }
  const PvResult result = read([device](std::uint64_t address, std::uint32_t size, std::uint8_t* bytes) {
    GError* read_error = nullptr;
    const bool done = arv_device_read_memory(device, address, size, bytes, &read_error) != FALSE;
    return Outcome(done, read_error, "The camera's memory cannot be read");
  });
  g_object_unref(device);
  return result;
}

void AddUsb3VisionRecords(UsbCameraBus& bus, const std::vector<PvDeviceIdentity>& cameras,
                          const PvInterface* host_interface, std::vector<std::unique_ptr<PvDeviceInfo>>& devices) {
  for (PvDeviceIdentity identity : cameras) {
    UvBootstrapTexts texts;
    const UnreadTexts unread = ReadTexts(bus, identity.connection_id, texts);
    if (unread.which != nullptr) {
      quarx::util::Log::GetInstance("").logger_->warn(
          "<{}> {} of the USB3 Vision camera {} ({}, serial number {}) not read: Result({}), Description({})", "Find",
          unread.which, identity.connection_id, identity.model_name, identity.serial_number,
          unread.why.GetCodeString().GetAscii(), unread.why.GetDescription().GetAscii());
    }
    identity.version = texts.device_version;
    identity.user_defined_name = texts.user_defined_name;
    devices.push_back(std::make_unique<PvDeviceInfoU3V>(identity, identity.device_guid, host_interface));
  }
}

}  // namespace camerasdk
