// The adaptor's discovery over a scripted SDK system: which records are listed, as what, and how
// failures of the SDK are logged and reported.
#include "sdkadaptor/src/system.h"

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "camerasdk/PvDeviceInfoU3V.h"
#include "camerasdk/PvSystem.h"
#include "camerasdk/discovery_backend.h"
#include "sdkadaptor/src/device_info_gev.h"
#include "sdkadaptor/src/device_info_u3v.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/log_capture.h"

namespace quarx::sdkadaptor {
namespace {

PvDeviceIdentity Identity(const std::string& connection_id) {
  PvDeviceIdentity id;
  id.connection_id = connection_id;
  id.display_id = "display " + connection_id;
  id.unique_id = "unique " + connection_id;
  id.vendor_name = "Velmora";
  id.model_name = "FWCAM-1";
  id.version = "1.0.0";
  id.manufacturer_info = "made here";
  id.serial_number = "SN-" + connection_id;
  id.user_defined_name = "";
  return id;
}

// What the scripted network answers: per call, a result and the records of given SDK types.
struct Round {
  PvResult result;
  std::vector<int> types;
};

struct Script {
  std::deque<Round> discoveries;
  std::deque<Round> lookups;
  std::vector<camerasdk::DiscoverySettings> seen_settings;
  std::vector<std::string> looked_up_ids;
};

class ScriptedBackend : public camerasdk::DiscoveryBackend {
 public:
  explicit ScriptedBackend(Script& script) : script_(script) {}

  PvResult Discover(const camerasdk::DiscoverySettings& settings, camerasdk::DiscoveryResult& result) override {
    script_.seen_settings.push_back(settings);
    return Play(script_.discoveries, result);
  }
  PvResult FindDevice(const std::string& id, const camerasdk::DiscoverySettings& settings,
                      camerasdk::DiscoveryResult& result) override {
    script_.seen_settings.push_back(settings);
    script_.looked_up_ids.push_back(id);
    return Play(script_.lookups, result);
  }

 private:
  static PvResult Play(std::deque<Round>& rounds, camerasdk::DiscoveryResult& result) {
    if (rounds.empty()) {
      return PvResult();
    }
    const Round round = rounds.front();
    rounds.pop_front();
    result.interfaces.push_back(std::make_unique<PvInterface>("eth1", "eth1 10.0.0.1", "10.0.0.1"));
    const PvInterface* host = result.interfaces.back().get();
    int n = 0;
    for (const int type : round.types) {
      const std::string id = "10.0.0." + std::to_string(10 + n++);
      switch (type) {
        case PvDeviceInfoTypeGEV:
          result.devices.push_back(std::make_unique<PvDeviceInfoGEV>(
              Identity(id), PvGEVAddresses{id, "02:5e:c1:00:00:0" + std::to_string(n), "255.0.0.0", "10.0.0.1"},
              host));
          break;
        case PvDeviceInfoTypeU3V:
          result.devices.push_back(std::make_unique<PvDeviceInfoU3V>(Identity(id), "GUID-" + id, host));
          break;
        default:
          result.devices.push_back(
              std::make_unique<PvDeviceInfo>(static_cast<PvDeviceInfoType>(type), Identity(id), host));
          break;
      }
    }
    return round.result;
  }

  Script& script_;
};

System MakeSystem(Script& script) {
  return System(std::make_unique<PvSystem>(std::make_unique<ScriptedBackend>(script)));
}

const PvResult kTimeout(PvResult::Code::TIMEOUT, 0, "no answer in time");

TEST(System, ListsGigEVisionAndUsb3VisionRecordsInTheSdkOrderAndSkipsOtherKinds) {
  Script script;
  script.discoveries.push_back({PvResult(), {PvDeviceInfoTypeU3V, PvDeviceInfoTypeProprietary, PvDeviceInfoTypeGEV,
                                             PvDeviceInfoTypeUSB, PvDeviceInfoTypeUnknown, PvDeviceInfoTypeGEV}});
  System system = MakeSystem(script);
  const auto infos = system.Find();
  ASSERT_EQ(infos.size(), 3u);
  EXPECT_EQ(infos[0]->GetConnectionId(), "10.0.0.10");
  EXPECT_EQ(infos[0]->GetType(), DeviceInterfaceTypeEnum::U3V);
  EXPECT_NE(dynamic_cast<const DeviceInfoU3V*>(infos[0].get()), nullptr);
  EXPECT_EQ(infos[1]->GetConnectionId(), "10.0.0.12");
  EXPECT_EQ(infos[1]->GetType(), DeviceInterfaceTypeEnum::GEV);
  EXPECT_NE(dynamic_cast<const DeviceInfoGEV*>(infos[1].get()), nullptr);
  EXPECT_EQ(infos[2]->GetConnectionId(), "10.0.0.15");
}

TEST(System, RecordsReadEveryTextOfTheSdkRecord) {
  Script script;
  script.discoveries.push_back({PvResult(), {PvDeviceInfoTypeGEV, PvDeviceInfoTypeU3V}});
  System system = MakeSystem(script);
  const auto infos = system.Find();
  ASSERT_EQ(infos.size(), 2u);
  const InterfaceDeviceInfo& gev = *infos[0];
  EXPECT_EQ(gev.GetConnectionId(), "10.0.0.10");
  EXPECT_EQ(gev.GetDisplayId(), "display 10.0.0.10");
  EXPECT_EQ(gev.GetUniqueId(), "unique 10.0.0.10");
  EXPECT_EQ(gev.GetVenderName(), "Velmora");
  EXPECT_EQ(gev.GetModelName(), "FWCAM-1");
  EXPECT_EQ(gev.GetVersion(), "1.0.0");
  EXPECT_EQ(gev.GetManufactureInfo(), "made here");
  EXPECT_EQ(gev.GetSerialNumber(), "SN-10.0.0.10");
  EXPECT_EQ(gev.GetUserDefinedName(), "");
  const auto& gev_form = dynamic_cast<const DeviceInfoGEV&>(gev);
  EXPECT_EQ(gev_form.GetIPAddress(), "10.0.0.10");
  EXPECT_EQ(gev_form.GetMACAddress(), "02:5e:c1:00:00:01");
  EXPECT_EQ(gev_form.GetSubnetMask(), "255.0.0.0");
  EXPECT_EQ(gev_form.GetDefaultGateway(), "10.0.0.1");
  EXPECT_EQ(dynamic_cast<const DeviceInfoU3V&>(*infos[1]).GetDeviceGUID(), "GUID-10.0.0.11");

  // The host interface the answer arrived on.
  const auto host = gev.GetHostInterface();
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->GetName(), L"eth1");
  EXPECT_EQ(host->GetUniqueId(), "10.0.0.1");
}

TEST(System, DiscoveryLogsOneTraceLineOrOnFailureOneErrorLineAndAnEmptyList) {
  Script script;
  script.discoveries.push_back({PvResult(), {}});
  script.discoveries.push_back({kTimeout, {PvDeviceInfoTypeGEV}});
  System system = MakeSystem(script);
  {
    test::LogCapture log;
    EXPECT_TRUE(system.Find().empty());
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0].rfind("[trace] <Find> Result(OK)", 0), 0u) << log.Lines()[0];
  }
  test::LogCapture log;
  EXPECT_TRUE(system.Find().empty());
  const std::vector<std::string> expected = {"[error] <Find> Result(Timeout), Description(no answer in time)"};
  EXPECT_EQ(log.Lines(), expected);
}

TEST(System, DetectionTimeAndSubnetBroadcastReachTheSdkUnchanged) {
  Script script;
  System system = MakeSystem(script);
  system.SetDetectionTimeoutMillisec(0);
  system.SetSubnetBroadcastEnabled(true);
  system.Find();
  system.SetDetectionTimeoutMillisec(4000000000u);
  system.Find();
  ASSERT_EQ(script.seen_settings.size(), 2u);
  EXPECT_EQ(script.seen_settings[0].timeout_ms, 0u);
  EXPECT_TRUE(script.seen_settings[0].subnet_broadcast);
  EXPECT_EQ(script.seen_settings[1].timeout_ms, 4000000000u);
}

TEST(System, FindDeviceAsksAgainOnceAfterAFailure) {
  Script script;
  script.lookups.push_back({kTimeout, {}});
  script.lookups.push_back({PvResult(), {PvDeviceInfoTypeGEV}});
  System system = MakeSystem(script);
  test::LogCapture log;
  const auto info = system.FindDevice("10.0.0.10");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->GetConnectionId(), "10.0.0.10");
  EXPECT_EQ(dynamic_cast<const DeviceInfoGEV&>(*info).GetMACAddress(), "02:5e:c1:00:00:01");
  EXPECT_EQ(script.looked_up_ids, (std::vector<std::string>{"10.0.0.10", "10.0.0.10"}));
  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "[error] <FindDevice> Result(Timeout), Description(no answer in time)");
  EXPECT_EQ(lines[1].rfind("[trace] <FindDevice> Result(OK)", 0), 0u) << lines[1];
}

TEST(System, FindDeviceThrowsWhenTheSecondAttemptFailsToo) {
  Script script;
  script.lookups.push_back({kTimeout, {}});
  script.lookups.push_back({kTimeout, {}});
  System system = MakeSystem(script);
  try {
    system.FindDevice("02:5e:c1:00:00:01");
    FAIL() << "no exception";
  } catch (const ExceptionSdkAdaptor& e) {
    EXPECT_EQ(e.GetCode(), 0x1Eu);
    EXPECT_EQ(e.GetCodeString(), "Timeout");
    EXPECT_EQ(e.GetDescription(), "no answer in time");
  }
  EXPECT_EQ(script.looked_up_ids.size(), 2u);
}

TEST(System, FindDeviceThatFindsNothingFailsAsNotFound) {
  Script script;
  script.lookups.push_back({PvResult(), {}});
  script.lookups.push_back({PvResult(), {}});
  System system = MakeSystem(script);
  EXPECT_THROW(system.FindDevice("10.0.0.99"), ExceptionSdkAdaptor);
}

TEST(System, FindDeviceWrapsEveryKindAsGigEVisionRecordWhoseAddressesReadEmptyWhenAbsent) {
  Script script;
  script.lookups.push_back({PvResult(), {PvDeviceInfoTypeU3V}});
  System system = MakeSystem(script);
  const auto info = system.FindDevice("usb-id");
  ASSERT_NE(info, nullptr);
  const auto& gev = dynamic_cast<const DeviceInfoGEV&>(*info);
  EXPECT_EQ(gev.GetIPAddress(), "");
  EXPECT_EQ(gev.GetMACAddress(), "");
  EXPECT_EQ(gev.GetSubnetMask(), "");
  EXPECT_EQ(gev.GetDefaultGateway(), "");
}

TEST(System, HostInterfacesOfTheLastDiscoveryAndSupportedVersionsAreListed) {
  Script script;
  script.discoveries.push_back({PvResult(), {}});
  System system = MakeSystem(script);
  EXPECT_TRUE(system.GetInterface().empty());
  system.Find();
  const auto interfaces = system.GetInterface();
  ASSERT_EQ(interfaces.size(), 1u);
  EXPECT_EQ(interfaces[0]->GetDisplayId(), L"eth1 10.0.0.1");
  EXPECT_EQ(system.GetGEVSupportedVersion(), std::make_pair(std::uint16_t{2}, std::uint16_t{0}));
  EXPECT_EQ(system.GetU3VSupportedVersion(), std::make_pair(std::uint16_t{1}, std::uint16_t{0}));
}

TEST(HostInterface, NamesBeyondEightBitsSurviveAsWideText) {
  // Interface names are the operating system's, which may hold any character (UTF-8 bytes here).
  const PvInterface sdk("Ethernet \xC3\xBC \xE6\x8E\xA5\xE7\xB6\x9A", "Ethernet \xC3\xBC 10.0.0.1", "10.0.0.1");
  const HostInterface host(&sdk);
  EXPECT_EQ(host.GetName(), L"Ethernet \u00FC \u63A5\u7D9A");
  EXPECT_EQ(host.GetDisplayId(), L"Ethernet \u00FC 10.0.0.1");
  EXPECT_EQ(host.GetUniqueId(), "10.0.0.1");
}

TEST(DeviceInfo, RecordsWithoutAnSdkRecordReadEmpty) {
  const DeviceInfo info(nullptr);
  EXPECT_EQ(info.GetConnectionId(), "");
  EXPECT_EQ(info.GetType(), DeviceInterfaceTypeEnum::Other);
  const auto host = info.GetHostInterface();
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->GetDisplayId(), L"");
  EXPECT_EQ(host->GetUniqueId(), "");
}

}  // namespace
}  // namespace quarx::sdkadaptor
