#pragma once
// Scripted USB3 Vision cameras: a bus that lists them and serves their bootstrap texts, and the
// core's record of one, built as discovery builds it.

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "camerasdk/uv_discovery.h"
#include "core/found_device_info_u3v.h"
#include "sdkadaptor/src/device_info_u3v.h"

namespace quarx::test {

// The addresses are GenCP's own numbers, not the code's constants: a wrong address in the code
// reads nothing here.
constexpr std::uint64_t kDeviceVersionRegister = 0x00C4;
constexpr std::uint64_t kUserDefinedNameRegister = 0x0184;

struct UsbCamera {
  std::string version;            // the bytes of the camera's 64-byte field at 0x00C4
  std::string user_defined_name;  // at 0x0184
  std::vector<std::uint64_t> refused_reads = {};  // the addresses whose read fails
  std::string guid = "";          // its device-info descriptor's GUID string
};

// Camera i (from 1) is listed as "2-i", a Velmora FWCAM-U with serial number "SNi".
class ScriptedUsbBus : public camerasdk::UsbCameraBus {
 public:
  explicit ScriptedUsbBus(std::vector<UsbCamera> cameras) : cameras_(std::move(cameras)) {}

  PvResult List(std::vector<PvDeviceIdentity>& listed) override {
    for (std::size_t i = 1; i <= cameras_.size(); ++i) {
      const std::string n = std::to_string(i);
      listed.push_back({"2-" + n, "", "2-" + n, "Velmora", "FWCAM-U", "", "", "SN" + n, "", cameras_[i - 1].guid});
    }
    return PvResult();
  }
  PvResult ReadFromCamera(const std::string& id,
                          const std::function<PvResult(const camerasdk::MemoryRead&)>& read) override {
    ++opens;
    const UsbCamera& camera = cameras_.at(std::stoul(id.substr(2)) - 1);
    return read([&camera](std::uint64_t address, std::uint32_t size, std::uint8_t* bytes) {
      const auto& refused = camera.refused_reads;
      if (std::find(refused.begin(), refused.end(), address) != refused.end()) {
        return PvResult(PvResult::Code::TIMEOUT, "no answer");
      }
      if (address != kDeviceVersionRegister && address != kUserDefinedNameRegister) {
        return PvResult(PvResult::Code::GENERIC_ERROR, "no register at this address");
      }
      const std::string& text = address == kDeviceVersionRegister ? camera.version : camera.user_defined_name;
      std::fill_n(bytes, size, 0);
      std::copy_n(text.begin(), std::min<std::size_t>(text.size(), size), bytes);
      return PvResult();
    });
  }

  int opens = 0;

 private:
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
