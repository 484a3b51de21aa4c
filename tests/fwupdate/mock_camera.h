#pragma once
// A camera of adaptor mocks for the update engine's tests: every device handle the engine's
// factory builds reaches the same state, so a test sees every connect and disconnect.

#include <gmock/gmock.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "core/device_gev.h"
#include "core/device_gev_impl.h"
#include "core/device_u3v.h"
#include "core/device_u3v_impl.h"
#include "core/found_device_info.h"
#include "core/found_device_info_gev.h"
#include "core/libstatic_fwupdate/device_factory.h"
#include "sdkadaptor/src/device_info_gev.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"

namespace quarx::test {

class MockCamera {
 public:
  static constexpr sdkadaptor::CodeEnum kGenericError = 0x4000;
  static constexpr const char* kSerialNumber = "EMU002";
  static constexpr const char* kMacAddress = "02:5e:c1:00:00:02";

  // The camera of MakeRecord's record, as the engine confirms it after connecting: its
  // identity is in the bootstrap registers, where discovery reads it.
  MockCamera() = default;

  // The factory to hand to UpdateChecker and GenICamUpdate.
  core::fwupdate::DeviceFactory Factory() {
    return [this](std::unique_ptr<core::FoundDeviceInfo>& info) -> std::shared_ptr<core::Device> {
      auto device = std::make_unique<::testing::NiceMock<MockDeviceGEV>>();
      Wire(*device, 0x00D8, 16);
      ON_CALL(*device, Connect(::testing::_, ::testing::_)).WillByDefault([this] { Connect(); });
      ON_CALL(*device, GetMACAddress()).WillByDefault([this] { return mac; });
      return std::make_shared<core::DeviceGEV>(
          std::make_shared<core::DeviceGEVImpl>(info->GetConnectionId(), std::move(device)));
    };
  }

  // The same camera over USB3 Vision: the listing entry its connection resolved carries
  // `listedSerial` and `listedGuid`, and its serial number register is at 0x0144 (64 bytes).
  core::fwupdate::DeviceFactory Usb3VisionFactory() {
    return [this](std::unique_ptr<core::FoundDeviceInfo>& info) -> std::shared_ptr<core::Device> {
      auto device = std::make_unique<::testing::NiceMock<MockDeviceU3V>>();
      Wire(*device, 0x0144, 64);
      ON_CALL(*device, Connect(::testing::_)).WillByDefault([this] { Connect(); });
      return std::make_shared<core::DeviceU3V>(
          std::make_shared<ListedDeviceU3VImpl>(info->GetConnectionId(), std::move(device), *this));
    };
  }

  // A string feature whose value reads `value`; the mock stays the camera's for expectations.
  std::shared_ptr<::testing::NiceMock<MockGenString>> AddStringFeature(const std::string& name,
                                                                       const std::string& value) {
    auto node = NodeOfType<MockGenString>(FeatureTypeEnum::String, name);
    ON_CALL(*node, ToString()).WillByDefault(::testing::Return(value));
    features_[name] = node;
    return node;
  }

  void RemoveFeature(const std::string& name) { features_.erase(name); }

  void FailConnect() { failConnect_ = true; }
  // Every disconnection fails, or only the next one (the camera stays connected after it).
  void FailDisconnect() { failingDisconnects_ = -1; }
  void FailNextDisconnect() { failingDisconnects_ = 1; }

  int connects = 0;
  int disconnects = 0;
  bool connected = false;
  // The serial number register (GigE Vision: 0x00D8, 16 bytes; the text is NUL-padded) and the
  // MAC address.
  std::string bootstrapSerial = kSerialNumber;
  bool serialUnreadable = false;
  std::string mac = kMacAddress;
  int serialReads = 0;
  // USB3 Vision: the USB listing entry the connection resolved.
  std::string listedSerial = "SN1";
  std::string listedGuid = "GUID-1";

 private:
  // Stands in for the USB listing, which only the SDK's USB3 Vision device knows.
  class ListedDeviceU3VImpl : public core::DeviceU3VImpl {
   public:
    ListedDeviceU3VImpl(const std::string& id, std::unique_ptr<MockDeviceU3V> device, const MockCamera& camera)
        : DeviceU3VImpl(id, std::move(device)), camera_(camera) {}

   protected:
    std::string ListedGUID() const override { return camera_.listedGuid; }
    std::string ListedSerialNumber() const override { return camera_.listedSerial; }

   private:
    const MockCamera& camera_;
  };

  void Connect() {
    if (failConnect_) throw sdkadaptor::ExceptionSdkAdaptor(kGenericError, "camera does not answer");
    ++connects;
    connected = true;
  }

  // What both transports share; the serial number register is at `serialAddress`.
  template <class Device>
  void Wire(Device& device, int64_t serialAddress, int64_t serialLength) {
    ON_CALL(device, DisConnect()).WillByDefault([this] {
      if (failingDisconnects_ != 0) {
        if (failingDisconnects_ > 0) --failingDisconnects_;
        throw sdkadaptor::ExceptionSdkAdaptor(kGenericError, "camera gone");
      }
      ++disconnects;
      connected = false;
    });
    ON_CALL(device, IsConnected()).WillByDefault([this] { return connected; });
    ON_CALL(device, ReadMemory(serialAddress, serialLength)).WillByDefault([this](int64_t, int64_t size) {
      ++serialReads;
      if (serialUnreadable) throw sdkadaptor::ExceptionSdkAdaptor(kGenericError, "no answer");
      std::vector<uint8_t> field(static_cast<std::size_t>(size), 0);
      std::copy_n(bootstrapSerial.begin(), std::min(bootstrapSerial.size(), field.size()), field.begin());
      return field;
    });
    ON_CALL(device, GetParameters()).WillByDefault([this] {
      auto map = std::make_unique<::testing::NiceMock<MockGenParameters>>();
      ON_CALL(*map, Get(::testing::An<const std::string&>()))
          .WillByDefault([this](const std::string& name) -> std::shared_ptr<sdkadaptor::InterfaceGenParameter> {
            const auto it = features_.find(name);
            return it == features_.end() ? nullptr : it->second;
          });
      return std::unique_ptr<sdkadaptor::InterfaceGenParameters>(std::move(map));
    });
  }

  std::map<std::string, std::shared_ptr<sdkadaptor::InterfaceGenParameter>> features_;
  bool failConnect_ = false;
  int failingDisconnects_ = 0;  // -1: all of them, else how many of the next ones
};

// A discovery record of a Velmora FWCAM-1 with its device version, as the checker reads records.
inline std::unique_ptr<core::FoundDeviceInfo> MakeRecord(const std::string& version) {
  auto info = std::make_unique<core::FoundDeviceInfo>("127.0.0.2", DeviceInterfaceTypeEnum::GEV);
  info->GetVenderName() = "Velmora";
  info->GetModelName() = "FWCAM-1";
  info->GetVersion() = version;
  info->GetSerialNumber() = MockCamera::kSerialNumber;
  return info;
}

// The same camera as a GigE Vision discovery record, which also carries its MAC address.
inline std::unique_ptr<core::FoundDeviceInfo> MakeGevRecord(const std::string& serialNumber,
                                                            const std::string& mac = MockCamera::kMacAddress) {
  PvDeviceIdentity identity;
  identity.connection_id = "127.0.0.2";
  identity.vendor_name = "Velmora";
  identity.model_name = "FWCAM-1";
  identity.version = "1.0.0";
  identity.serial_number = serialNumber;
  const PvDeviceInfoGEV sdk(identity, {"127.0.0.2", mac, "255.0.0.0", "0.0.0.0"}, nullptr);
  auto info = std::make_unique<core::FoundDeviceInfoGEV>(std::make_unique<sdkadaptor::DeviceInfoGEV>(&sdk));
  return info;
}

}  // namespace quarx::test
