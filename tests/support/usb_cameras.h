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

struct UsbCamera {
  std::string version;  // the bytes of the camera's 64-byte fields
  std::string user_defined_name;
  std::uint64_t failing_read = 0;  // the address whose read fails, if any
};

// Camera i (from 1) is listed as "2-i", a Velmora FWCAM-U with serial number "SNi".
class ScriptedUsbBus : public camerasdk::UsbCameraBus {
 public:
  explicit ScriptedUsbBus(std::vector<UsbCamera> cameras) : cameras_(std::move(cameras)) {}

  PvResult List(std::vector<PvDeviceIdentity>& listed) override {
    for (std::size_t i = 1; i <= cameras_.size(); ++i) {
      const std::string n = std::to_string(i);
      listed.push_back({"2-" + n, "", "2-" + n, "Velmora", "FWCAM-U", "", "", "SN" + n, ""});
    }
    return PvResult();
  }
  PvResult ReadFromCamera(const std::string& id,
                          const std::function<PvResult(const camerasdk::MemoryRead&)>& read) override {
    ++opens;
    const UsbCamera& camera = cameras_.at(std::stoul(id.substr(2)) - 1);
    return read([&camera](std::uint64_t address, std::uint32_t size, std::uint8_t* bytes) {
      if (address == camera.failing_read) return PvResult(PvResult::Code::TIMEOUT, "no answer");
      const std::string& text = address == camerasdk::kUvRegDeviceVersion ? camera.version : camera.user_defined_name;
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
