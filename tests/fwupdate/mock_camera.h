#pragma once
// A camera made of adaptor mocks for the update engine's tests. Every device handle that the
// engine's device factory builds reaches the same camera state, so a test can see how often
// the engine connected and disconnected, whatever handles it made on the way.

#include <gmock/gmock.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "core/device_gev.h"
#include "core/device_gev_impl.h"
#include "core/found_device_info.h"
#include "core/libstatic_fwupdate/update_checker.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"

namespace quarx::test {

class MockCamera {
 public:
  static constexpr sdkadaptor::CodeEnum kGenericError = 0x4000;

  explicit MockCamera(std::string mac = "02:5e:c1:00:00:02") : mac_(std::move(mac)) {}

  // The factory to hand to UpdateChecker and GenICamUpdate.
  core::fwupdate::DeviceFactory Factory() {
    return [this](std::unique_ptr<core::FoundDeviceInfo>& info) -> std::shared_ptr<core::Device> {
      ++created;
      auto device = std::make_unique<::testing::NiceMock<MockDeviceGEV>>();
      Wire(*device);
      auto impl = std::make_shared<core::DeviceGEVImpl>(info->GetConnectionId(), std::move(device));
      return std::make_shared<core::DeviceGEV>(impl);
    };
  }

  // A string feature whose value reads `value`; the mock stays the camera's for expectations.
  std::shared_ptr<::testing::NiceMock<MockGenString>> AddStringFeature(const std::string& name,
                                                                       const std::string& value) {
    auto node = std::make_shared<::testing::NiceMock<MockGenString>>();
    ON_CALL(*node, GetType()).WillByDefault(::testing::Return(FeatureTypeEnum::String));
    ON_CALL(*node, GetName()).WillByDefault(::testing::Return(name));
    ON_CALL(*node, ToString()).WillByDefault(::testing::Return(value));
    features_[name] = node;
    return node;
  }

  // A command node without an SDK node behind it: looking it up works, executing it fails the
  // way the adaptor fails.
  void AddCommand(const std::string& name) { commands_.insert(name); }

  void FailConnect(bool fail = true) { failConnect_ = fail; }
  void FailDisconnect(bool fail = true) { failingDisconnects_ = fail ? kAlways : 0; }
  // Only the next disconnection fails; the camera stays connected after it.
  void FailNextDisconnect() { failingDisconnects_ = 1; }

  int created = 0;
  int connects = 0;
  int disconnects = 0;
  bool connected = false;

 private:
  void Wire(::testing::NiceMock<MockDeviceGEV>& device) {
    using ::testing::_;
    ON_CALL(device, Connect(_, _)).WillByDefault([this](const std::string&, AccessTypeEnum) {
      if (failConnect_) {
        throw sdkadaptor::ExceptionSdkAdaptor(kGenericError, "camera does not answer");
      }
      ++connects;
      connected = true;
    });
    ON_CALL(device, DisConnect()).WillByDefault([this] {
      if (failingDisconnects_ != 0) {
        if (failingDisconnects_ > 0) {
          --failingDisconnects_;
        }
        throw sdkadaptor::ExceptionSdkAdaptor(kGenericError, "camera gone");
      }
      ++disconnects;
      connected = false;
    });
    ON_CALL(device, IsConnected()).WillByDefault([this] { return connected; });
    ON_CALL(device, GetMACAddress()).WillByDefault(::testing::Return(mac_));
    ON_CALL(device, GetParameters()).WillByDefault([this] { return MakeNodeMap(); });
  }

  std::unique_ptr<sdkadaptor::InterfaceGenParameters> MakeNodeMap() {
    using ::testing::_;
    auto map = std::make_unique<::testing::NiceMock<MockGenParameters>>();
    ON_CALL(*map, Get(::testing::An<const std::string&>()))
        .WillByDefault([this](const std::string& name) -> std::shared_ptr<sdkadaptor::InterfaceGenParameter> {
          const auto it = features_.find(name);
          return it == features_.end() ? nullptr : it->second;
        });
    ON_CALL(*map, GetCommand(_))
        .WillByDefault([this](const std::string& name) -> std::unique_ptr<sdkadaptor::GenCommand> {
          return commands_.count(name) != 0 ? std::make_unique<::testing::NiceMock<MockGenCommand>>() : nullptr;
        });
    return map;
  }

  std::string mac_;
  std::map<std::string, std::shared_ptr<sdkadaptor::InterfaceGenParameter>> features_;
  std::set<std::string> commands_;
  bool failConnect_ = false;
  static constexpr int kAlways = -1;
  int failingDisconnects_ = 0;  // kAlways, or how many of the next disconnections fail
};

// A GigE Vision discovery record with the three texts the checker reads from records.
inline std::unique_ptr<core::FoundDeviceInfo> MakeRecord(const std::string& vendor, const std::string& model,
                                                         const std::string& version,
                                                         const std::string& connectionId = "127.0.0.2") {
  auto info = std::make_unique<core::FoundDeviceInfo>(connectionId, DeviceInterfaceTypeEnum::GEV);
  info->GetVenderName() = vendor;
  info->GetModelName() = model;
  info->GetVersion() = version;
  return info;
}

}  // namespace quarx::test
