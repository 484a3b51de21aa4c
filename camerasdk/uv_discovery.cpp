// Lists USB3 Vision cameras through Aravis's USB interface. The general device list of Aravis is
// never used here: updating it also broadcasts GigE Vision discovery on every network.
#include "camerasdk/uv_discovery.h"

#include <arv.h>

#include <algorithm>
#include <cctype>

#include <fmt/format.h>

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

PvResult NoUsbInterface() {
  return Failure(PvResult::Code::GENERIC_ERROR, "The USB3 Vision interface is not available");
}

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

auto HoldsId(const std::string& connection_id) {
  return [&connection_id](const PvDeviceIdentity& entry) { return entry.connection_id == connection_id; };
}

std::string ListedDevices(std::size_t count) { return fmt::format("{} listed device{}", count, count == 1 ? "" : "s"); }

std::string Describe(const PvDeviceIdentity& camera) {
  return fmt::format("USB3 Vision camera {} ({}, serial number {})", camera.connection_id, camera.model_name,
                     camera.serial_number);
}

// What the warning says of a camera whose texts were not all read: which texts ("Version",
// "User-defined name and serial number", ...), and why (the first failure, in the order of the
// reads). `which` is empty when every text was read.
struct Unread {
  std::string which;
  PvResult why;
};

Unread NotRead(const UvBootstrapReads& reads) {
  const std::pair<const char*, const PvResult*> named[] = {{"version", &reads.device_version},
                                                           {"user-defined name", &reads.user_defined_name},
                                                           {"serial number", &reads.serial_number}};
  std::vector<std::string> names;
  Unread unread;
  for (const auto& [name, result] : named) {
    if (result->IsFailure()) {
      names.push_back(name);
      if (unread.why.IsOK()) unread.why = *result;
    }
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    unread.which += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  }
  if (!unread.which.empty()) {
    unread.which[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(unread.which[0])));
  }
  return unread;
}

UvBootstrapReads NoneRead(const PvResult& why) { return {why, why, why}; }

UvBootstrapReads ReadTexts(UsbCameraBus& bus, const std::vector<PvDeviceIdentity>& cameras,
                           const PvDeviceIdentity& identity, UvBootstrapTexts& texts) {
  // Every camera read costs a bounded wait; a stop request ends the discovery's waits, so it
  // ends these too.
  if (quarx::util::StopRequested()) {
    return NoneRead(PvResult(PvResult::Code::ABORTED, "a stop was requested"));
  }
  // Texts read from whichever device Aravis finds first would stand under this camera's record.
  const UsbCameraChoice choice = ChooseUsbCamera(cameras, identity.connection_id);
  if (choice.refusal.IsFailure()) {
    return NoneRead(choice.refusal);
  }
  UvBootstrapReads reads;
  const PvResult opened = bus.ReadFromCamera(choice.camera, [&](const MemoryRead& read) {
    reads = ReadUvBootstrapTexts(read, texts);
    return PvResult();
  });
  return opened.IsFailure() ? NoneRead(opened) : reads;
}

// The record of one camera of `cameras`, chosen on the whole listing: a listing of the camera
// alone would hide a device that shares its GUID.
void AddRecord(UsbCameraBus& bus, const std::vector<PvDeviceIdentity>& cameras, PvDeviceIdentity identity,
               const PvInterface* host_interface, std::vector<std::unique_ptr<PvDeviceInfo>>& devices) {
  UvBootstrapTexts texts;
  const Unread unread = NotRead(ReadTexts(bus, cameras, identity, texts));
  if (!unread.which.empty()) {
    quarx::util::Log::GetInstance("").logger_->warn(
        "<{}> {} of the {} not read: Result({}), Description({})", "Find", unread.which, Describe(identity),
        unread.why.GetCodeString().GetAscii(), unread.why.GetDescription().GetAscii());
  }
  identity.version = texts.device_version;
  identity.user_defined_name = texts.user_defined_name;
  identity.bootstrap_serial_number = texts.serial_number;
  devices.push_back(std::make_unique<PvDeviceInfoU3V>(identity, identity.device_guid, host_interface));
}

}  // namespace

UsbCameraChoice ChooseUsbCamera(const std::vector<PvDeviceIdentity>& listing, const std::string& connection_id) {
  const auto count = [&listing](auto same) {
    return static_cast<std::size_t>(std::count_if(listing.begin(), listing.end(), same));
  };
  const auto hasTheId = HoldsId(connection_id);
  const auto entry = std::find_if(listing.begin(), listing.end(), hasTheId);
  if (entry == listing.end()) {
    return {{}, Failure(PvResult::Code::NOT_FOUND, "No USB3 Vision device with id " + connection_id)};
  }
  if (const std::size_t named = count(hasTheId); named > 1) {
    std::vector<std::string> holders;
    for (const PvDeviceIdentity& holder : listing) {
      if (hasTheId(holder)) {
        holders.push_back(
            fmt::format("{}, serial number {}, GUID {}", holder.model_name, holder.serial_number, holder.device_guid));
      }
    }
    return {{},
            Failure(PvResult::Code::GENERIC_ERROR,
                    fmt::format("The id {} is held by {} ({}): which of them it names cannot be told", connection_id,
                                ListedDevices(named), fmt::join(holders, "; ")))};
  }
  const PvDeviceIdentity& camera = *entry;
  const std::size_t holders =
      count([&](const PvDeviceIdentity& entry) { return entry.device_guid == camera.device_guid; });
  if (camera.device_guid.empty()) {
    return {{},
            Failure(PvResult::Code::GENERIC_ERROR,
                    fmt::format("The {} has no GUID ({} without one), and Aravis opens a camera by its GUID "
                                "alone: it would open the first USB device it finds without one",
                                Describe(camera), ListedDevices(holders)))};
  }
  if (holders > 1) {
    return {{},
            Failure(PvResult::Code::GENERIC_ERROR,
                    fmt::format("The {} cannot be told apart: its GUID {} is held by {}, and Aravis opens a "
                                "camera by its GUID alone: it would open the first of them it finds",
                                Describe(camera), camera.device_guid, ListedDevices(holders)))};
  }
  return {camera, PvResult()};
}

PvResult OpenUsbCamera(UsbCameraBus& bus, const PvDeviceIdentity& camera, ArvDevice*& device) {
  device = nullptr;
  const PvResult opened = bus.OpenByGuid(camera.device_guid, device);
  return opened.IsOK() ? opened : CannotOpen(camera, opened);
}

PvResult CannotOpen(const PvDeviceIdentity& camera, const PvResult& opened) {
  return PvResult(opened.GetCode(), opened.GetInternalCode(),
                  fmt::format("The {}, GUID {}, cannot be opened: {}", Describe(camera), camera.device_guid,
                              opened.GetDescription().GetAscii()));
}

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

PvResult AravisUsbBus::OpenByGuid(const std::string& guid, ArvDevice*& device) {
  GError* error = nullptr;
  device = arv_uv_device_new_from_guid(guid.c_str(), &error);
  return Outcome(device != nullptr, error, "Aravis opened no device");
}

PvResult AravisUsbBus::ReadFromCamera(const PvDeviceIdentity& camera,
                                      const std::function<PvResult(const MemoryRead&)>& read) {
  // Opening claims the camera: it is let go as soon as the read is done, so that the connection
  // an update makes later finds it free.
  ArvDevice* device = nullptr;
  const PvResult opened = OpenUsbCamera(*this, camera, device);
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
  for (const PvDeviceIdentity& identity : cameras) {
    AddRecord(bus, cameras, identity, host_interface, devices);
  }
}

PvResult AddUsb3VisionRecordById(UsbCameraBus& bus, const std::vector<PvDeviceIdentity>& cameras,
                                 const std::string& connection_id, const PvInterface* host_interface,
                                 std::vector<std::unique_ptr<PvDeviceInfo>>& devices) {
  const auto hasTheId = HoldsId(connection_id);
  // A doubled id is not resolved to the first device that has it.
  if (std::count_if(cameras.begin(), cameras.end(), hasTheId) != 1) {
    return ChooseUsbCamera(cameras, connection_id).refusal;
  }
  AddRecord(bus, cameras, *std::find_if(cameras.begin(), cameras.end(), hasTheId), host_interface, devices);
  return PvResult();
}

}  // namespace camerasdk
