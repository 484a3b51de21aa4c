// The adaptor's discovery over a scripted SDK system: which records are listed, as what, and how
// failures of the SDK are logged and reported.
#include "sdkadaptor/src/system.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "camerasdk/PvSystem.h"
#include "camerasdk/discovery_backend.h"
#include "sdkadaptor/src/device_info_gev.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace quarx::sdkadaptor {
namespace {

// Per call, the scripted network answers a result and records of the given SDK types.
using Round = std::pair<PvResult, std::vector<int>>;

struct ScriptedBackend : camerasdk::DiscoveryBackend {
  std::deque<Round> rounds;
  camerasdk::DiscoverySettings settings;
  std::vector<std::string> lookedUp;

  PvResult Discover(const camerasdk::DiscoverySettings& seen, camerasdk::DiscoveryResult& result) override {
    settings = seen;
    return Play(result);
  }
  PvResult FindDevice(const std::string& id, const camerasdk::DiscoverySettings&,
                      camerasdk::DiscoveryResult& result) override {
    lookedUp.push_back(id);
    return Play(result);
  }
  PvResult Play(camerasdk::DiscoveryResult& result) {
    if (rounds.empty()) return PvResult();
    const Round round = rounds.front();
    rounds.pop_front();
    result.interfaces.push_back(std::make_unique<PvInterface>("eth1", "eth1 10.0.0.1", "10.0.0.1"));
    const PvInterface* host = result.interfaces.back().get();
    for (const int type : round.second) {
      PvDeviceIdentity id;
      id.connection_id = "10.0.0." + std::to_string(10 + result.devices.size());
      if (type == PvDeviceInfoTypeGEV) {
        result.devices.push_back(std::make_unique<PvDeviceInfoGEV>(
            id, PvGEVAddresses{id.connection_id, "02:5e:c1:00:00:01", "255.0.0.0", "10.0.0.1"}, host));
      } else {
        result.devices.push_back(std::make_unique<PvDeviceInfo>(static_cast<PvDeviceInfoType>(type), id, host));
      }
    }
    return round.first;
  }
};

const PvResult kTimeout(PvResult::Code::TIMEOUT, 0, "no answer in time");

class SystemTest : public ::testing::Test {
 protected:
  std::unique_ptr<ScriptedBackend> owned_ = std::make_unique<ScriptedBackend>();
  ScriptedBackend& net_ = *owned_;
  System system_{std::make_unique<PvSystem>(std::move(owned_))};
};

TEST_F(SystemTest, ListsGigEVisionAndUsb3VisionRecordsInTheSdkOrderAndSkipsOtherKinds) {
  net_.rounds = {{PvResult(), {PvDeviceInfoTypeU3V, PvDeviceInfoTypeProprietary, PvDeviceInfoTypeGEV,
                               PvDeviceInfoTypeUSB, PvDeviceInfoTypeUnknown, PvDeviceInfoTypeGEV}},
                 {kTimeout, {PvDeviceInfoTypeGEV}}};
  system_.SetDetectionTimeoutMillisec(4000000000u);
  system_.SetSubnetBroadcastEnabled(true);
  test::LogCapture log;
  const auto infos = system_.Find();
  ASSERT_EQ(infos.size(), 3u);
  EXPECT_EQ(infos[0]->GetType(), DeviceInterfaceTypeEnum::U3V);
  EXPECT_EQ(dynamic_cast<const DeviceInfoGEV&>(*infos[1]).GetDefaultGateway(), "10.0.0.1");
  EXPECT_EQ(infos[2]->GetConnectionId(), "10.0.0.15");
  EXPECT_EQ(infos[2]->GetHostInterface()->GetName(), L"eth1");
  EXPECT_TRUE(system_.Find().empty());
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0].rfind("[trace] <Find> Result(OK)", 0), 0u) << log.Lines()[0];
  EXPECT_EQ(log.Lines()[1], "[error] <Find> Result(Timeout), Description(no answer in time)");
  EXPECT_EQ(net_.settings.timeout_ms, 4000000000u);
  EXPECT_TRUE(net_.settings.subnet_broadcast);
}

// A lookup's record is a GigE Vision one whatever the kind.
TEST_F(SystemTest, FindDeviceAsksAgainOnceAfterAFailure) {
  net_.rounds = {{kTimeout, {}}, {PvResult(), {PvDeviceInfoTypeU3V}}, {kTimeout, {}}, {kTimeout, {}}};
  test::LogCapture log;
  const auto info = system_.FindDevice("10.0.0.10");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(dynamic_cast<const DeviceInfoGEV&>(*info).GetMACAddress(), "");
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0], "[error] <FindDevice> Result(Timeout), Description(no answer in time)");
  const ExceptionSdkAdaptor e = test::Thrown([&] { system_.FindDevice("02:5e:c1:00:00:01"); });
  EXPECT_EQ(e.GetCodeString() + "/" + e.GetDescription(), "Timeout/no answer in time");
  EXPECT_EQ(net_.lookedUp,
            (std::vector<std::string>{"10.0.0.10", "10.0.0.10", "02:5e:c1:00:00:01", "02:5e:c1:00:00:01"}));
}

}  // namespace
}  // namespace quarx::sdkadaptor
