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
#include "tests/support/thrown_adaptor_exception.h"

namespace quarx::sdkadaptor {
namespace {

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
    for (const int type : round.types) {
      PvDeviceIdentity id;
      id.connection_id = "10.0.0." + std::to_string(10 + result.devices.size());
      if (type == PvDeviceInfoTypeGEV) {
        result.devices.push_back(std::make_unique<PvDeviceInfoGEV>(
            id, PvGEVAddresses{id.connection_id, "02:5e:c1:00:00:01", "255.0.0.0", "10.0.0.1"}, host));
      } else if (type == PvDeviceInfoTypeU3V) {
        result.devices.push_back(std::make_unique<PvDeviceInfoU3V>(id, "GUID-" + id.connection_id, host));
      } else {
        result.devices.push_back(std::make_unique<PvDeviceInfo>(static_cast<PvDeviceInfoType>(type), id, host));
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

// Only GigE Vision and USB3 Vision records are listed, in the SDK's order; a discovery logs
// one trace line, or on failure one error line and lists nothing; its settings reach the SDK.
TEST(System, ListsGigEVisionAndUsb3VisionRecordsInTheSdkOrderAndSkipsOtherKinds) {
  Script script;
  script.discoveries.push_back({PvResult(), {PvDeviceInfoTypeU3V, PvDeviceInfoTypeProprietary, PvDeviceInfoTypeGEV,
                                             PvDeviceInfoTypeUSB, PvDeviceInfoTypeUnknown, PvDeviceInfoTypeGEV}});
  script.discoveries.push_back({kTimeout, {PvDeviceInfoTypeGEV}});
  System system = MakeSystem(script);
  system.SetDetectionTimeoutMillisec(4000000000u);
  system.SetSubnetBroadcastEnabled(true);
  EXPECT_TRUE(system.GetInterface().empty());
  test::LogCapture log;
  const auto infos = system.Find();
  ASSERT_EQ(infos.size(), 3u);
  EXPECT_EQ(dynamic_cast<const DeviceInfoU3V&>(*infos[0]).GetDeviceGUID(), "GUID-10.0.0.10");
  EXPECT_EQ(dynamic_cast<const DeviceInfoGEV&>(*infos[1]).GetDefaultGateway(), "10.0.0.1");
  EXPECT_EQ(infos[2]->GetConnectionId(), "10.0.0.15");
  EXPECT_EQ(infos[2]->GetHostInterface()->GetName(), L"eth1");
  ASSERT_EQ(system.GetInterface().size(), 1u);
  EXPECT_EQ(system.GetInterface()[0]->GetDisplayId(), L"eth1 10.0.0.1");
  EXPECT_TRUE(system.Find().empty());
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0].rfind("[trace] <Find> Result(OK)", 0), 0u) << log.Lines()[0];
  EXPECT_EQ(log.Lines()[1], "[error] <Find> Result(Timeout), Description(no answer in time)");
  EXPECT_EQ(script.seen_settings[0].timeout_ms, 4000000000u);
  EXPECT_TRUE(script.seen_settings[0].subnet_broadcast);
}

// A lookup that fails is asked again, once; its record is a GigE Vision one whatever the kind.
TEST(System, FindDeviceAsksAgainOnceAfterAFailure) {
  Script script;
  script.lookups.push_back({kTimeout, {}});
  script.lookups.push_back({PvResult(), {PvDeviceInfoTypeU3V}});
  script.lookups.push_back({kTimeout, {}});
  script.lookups.push_back({kTimeout, {}});
  System system = MakeSystem(script);
  test::LogCapture log;
  const auto info = system.FindDevice("10.0.0.10");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(dynamic_cast<const DeviceInfoGEV&>(*info).GetMACAddress(), "");
  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "[error] <FindDevice> Result(Timeout), Description(no answer in time)");
  EXPECT_EQ(lines[1].rfind("[trace] <FindDevice> Result(OK)", 0), 0u) << lines[1];

  const ExceptionSdkAdaptor e = test::Thrown([&] { system.FindDevice("02:5e:c1:00:00:01"); });
  EXPECT_EQ(e.GetCodeString() + "/" + e.GetDescription(), "Timeout/no answer in time");
  EXPECT_EQ(script.looked_up_ids,
            (std::vector<std::string>{"10.0.0.10", "10.0.0.10", "02:5e:c1:00:00:01", "02:5e:c1:00:00:01"}));
  EXPECT_THROW(system.FindDevice("10.0.0.99"), ExceptionSdkAdaptor);  // nothing found either time
}

}  // namespace
}  // namespace quarx::sdkadaptor
