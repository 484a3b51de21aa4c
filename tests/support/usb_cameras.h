#pragma once
// Scripted USB3 Vision cameras: a bus that lists them and serves their bootstrap texts, and the
// core's record of one, built as discovery builds it.

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "camerasdk/uv_discovery.h"
#include "core/found_device_info_u3v.h"
#include "sdkadaptor/src/device_info_u3v.h"

namespace quarx::test {

// The addresses are GenCP's own numbers, not the code's constants: a wrong address in the code
// reads nothing here.
constexpr std::uint64_t kDeviceVersionRegister = 0x00C4;
constexpr std::uint64_t kSerialNumberRegister = 0x0144;
constexpr std::uint64_t kUserDefinedNameRegister = 0x0184;

struct UsbCamera {
  std::string version;                            // the bytes of the camera's 64-byte field at 0x00C4
  std::string user_defined_name;                  // at 0x0184
  std::vector<std::uint64_t> refused_reads = {};  // the addresses whose read gets an error answer
  // Its device-info descriptor's GUID string; camera i has "GUID-i" when none is given.
  std::optional<std::string> guid = std::nullopt;
  std::vector<std::uint64_t> silent_reads = {};  // the addresses whose read times out
  // Its serial number register at 0x0144; the listing's serial number when none is given.
  std::optional<std::string> bootstrap_serial = std::nullopt;
  // Aravis's text when an open of it fails; none: it opens.
  std::optional<std::string> open_failure = std::nullopt;
  // Its connection id; camera i is "2-i" when none is given.
  std::optional<std::string> id = std::nullopt;
};

// Aravis 0.8.26's text when an open by GUID finds no device: it names neither.
inline const std::string kAravisGuidNotFound = "USB device '(null):(null):(null)' not found";

// Camera i (from 1) is listed as "2-i" unless given an id, a Velmora FWCAM-U with serial number
// "SNi".
class ScriptedUsbBus : public camerasdk::UsbCameraBus {
 public:
  explicit ScriptedUsbBus(std::vector<UsbCamera> cameras) : cameras_(std::move(cameras)) {}

  // A camera plugged in after the bus was made: it is listed as the next one.
  void Plug(UsbCamera camera) { cameras_.push_back(std::move(camera)); }
  // Camera i (from 1) taken away; those after it move up.
  void Unplug(std::size_t i) { cameras_.erase(cameras_.begin() + static_cast<std::ptrdiff_t>(i - 1)); }

  PvResult List(std::vector<PvDeviceIdentity>& listed) override {
    for (std::size_t i = 0; i < cameras_.size(); ++i) {
      PvDeviceIdentity entry;
      entry.connection_id = entry.unique_id = cameras_[i].id.value_or("2-" + std::to_string(i + 1));
      entry.vendor_name = "Velmora";
      entry.model_name = "FWCAM-U";
      entry.serial_number = ListedSerial(i);
      entry.device_guid = GuidOf(i);
      listed.push_back(entry);
    }
    return PvResult();
  }
  // As Aravis, the first camera with that GUID; the device is what `make_device` makes.
  PvResult OpenByGuid(const std::string& guid, ArvDevice*& device) override {
    opened_guids.push_back(guid);
    device = nullptr;
    std::size_t index = 0;
    if (const PvResult opened = Open(guid, index); opened.IsFailure()) {
      return opened;
    }
    device = make_device ? make_device() : nullptr;
    return device != nullptr ? PvResult() : PvResult(PvResult::Code::GENERIC_ERROR, "the script makes no device");
  }

  // The camera is opened as OpenByGuid opens it, and a failure reads as Aravis's bus words it.
  PvResult ReadFromCamera(const PvDeviceIdentity& entry,
                          const std::function<PvResult(const camerasdk::MemoryRead&)>& read) override {
    ++opens;
    std::size_t index = 0;
    if (const PvResult opened = Open(entry.device_guid, index); opened.IsFailure()) {
      return camerasdk::CannotOpen(entry, opened);
    }
    const UsbCamera& camera = cameras_[index];
    const std::string serial = camera.bootstrap_serial.value_or(ListedSerial(index));
    return read([this, &camera, serial](std::uint64_t address, std::uint32_t size, std::uint8_t* bytes) {
      reads.push_back(address);
      const auto has = [address](const std::vector<std::uint64_t>& addresses) {
        return std::find(addresses.begin(), addresses.end(), address) != addresses.end();
      };
      if (has(camera.silent_reads)) {
        return PvResult(PvResult::Code::TIMEOUT, "no answer");
      }
      if (has(camera.refused_reads)) {
        return PvResult(PvResult::Code::GENERIC_ERROR, "refused");
      }
      const std::string* text = address == kDeviceVersionRegister     ? &camera.version
                                : address == kUserDefinedNameRegister ? &camera.user_defined_name
                                : address == kSerialNumberRegister    ? &serial
                                                                      : nullptr;
      if (text == nullptr) {
        return PvResult(PvResult::Code::GENERIC_ERROR, "no register at this address");
      }
      std::fill_n(bytes, size, 0);
      std::copy_n(text->begin(), std::min<std::size_t>(text->size(), size), bytes);
      return PvResult();
    });
  }

  int opens = 0;                          // of discovery's reads
  std::vector<std::uint64_t> reads;       // every read's address, in order
  std::vector<std::string> opened_guids;  // what each OpenByGuid was asked for
  std::function<ArvDevice*()> make_device;

 private:
  // Of camera number `index` + 1.
  std::string GuidOf(std::size_t index) const {
    return cameras_[index].guid.value_or("GUID-" + std::to_string(index + 1));
  }
  static std::string ListedSerial(std::size_t index) { return "SN" + std::to_string(index + 1); }
  // Where Aravis's open by GUID lands: the first camera with it, whose index is set; the failure
  // is Aravis's text when there is none or its open fails.
  PvResult Open(const std::string& guid, std::size_t& index) const {
    index = 0;
    while (index < cameras_.size() && GuidOf(index) != guid) ++index;
    if (index == cameras_.size()) {
      return PvResult(PvResult::Code::GENERIC_ERROR, kAravisGuidNotFound);
    }
    if (const auto& failure = cameras_[index].open_failure) {
      return PvResult(PvResult::Code::GENERIC_ERROR, *failure);
    }
    return PvResult();
  }

  std::vector<UsbCamera> cameras_;
};

inline std::unique_ptr<core::FoundDeviceInfo> DiscoveredUsbCamera(const UsbCamera& camera) {
  ScriptedUsbBus bus({camera});
  std::vector<PvDeviceIdentity> listed;
  bus.List(listed);
  std::vector<std::unique_ptr<PvDeviceInfo>> sdk;
  camerasdk::AddUsb3VisionRecords(bus, listed, nullptr, sdk);
  return std::make_unique<core::FoundDeviceInfoU3V>(std::make_unique<sdkadaptor::DeviceInfoU3V>(sdk.at(0).get()));
}

}  // namespace quarx::test
