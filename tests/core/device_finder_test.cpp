// The device finder over a mocked adaptor system: which records it keeps, as copies that outlive
// the SDK's, and what it swallows.
#include "core/device_finder_impl.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "camerasdk/PvDeviceInfoU3V.h"
#include "core/found_device_info_gev.h"
#include "core/found_device_info_u3v.h"
#include "core/host_info.h"
#include "sdkadaptor/src/device_info_gev.h"
#include "sdkadaptor/src/device_info_u3v.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/mock_discovery.h"

namespace quarx::core {
namespace {

using ::testing::ByMove;
using ::testing::InSequence;
using ::testing::Return;
using ::testing::Throw;
using Records = std::vector<std::unique_ptr<sdkadaptor::InterfaceDeviceInfo>>;

// SDK records live as long as the test: the adaptor records borrow them, as from a real system.
struct SdkRecords {
  PvInterface host{"eth0", "eth0 10.0.0.1", "10.0.0.1"};
  std::vector<std::unique_ptr<PvDeviceInfo>> records;

  std::unique_ptr<sdkadaptor::InterfaceDeviceInfo> Gev(const std::string& ip) {
    PvDeviceIdentity id;
    id.connection_id = ip;
    records.push_back(
        std::make_unique<PvDeviceInfoGEV>(id, PvGEVAddresses{ip, "02:5e:c1:00:00:01", "255.0.0.0", ""}, &host));
    return std::make_unique<sdkadaptor::DeviceInfoGEV>(records.back().get());
  }
  std::unique_ptr<sdkadaptor::InterfaceDeviceInfo> U3v(const std::string& id_text) {
    PvDeviceIdentity id;
    id.connection_id = id_text;
    records.push_back(std::make_unique<PvDeviceInfoU3V>(id, "GUID-1", &host));
    return std::make_unique<sdkadaptor::DeviceInfoU3V>(records.back().get());
  }
};

TEST(DeviceFinder, KeepsGigEVisionAndUsb3VisionInAdaptorOrderAndReadsADiscoveryThatThrowsAsNoCamera) {
  SdkRecords sdk;
  auto other = std::make_unique<test::MockDeviceInfo>();
  EXPECT_CALL(*other, GetType()).WillRepeatedly(Return(DeviceInterfaceTypeEnum::Other));
  Records first;
  first.push_back(sdk.Gev("10.0.0.20"));
  first.push_back(std::move(other));
  first.push_back(sdk.U3v("usb-1"));
  auto system = std::make_unique<test::MockSystem>();
  {
    InSequence in_order;
    EXPECT_CALL(*system, SetDetectionTimeoutMillisec(1500u));
    EXPECT_CALL(*system, Find()).WillOnce(Return(ByMove(std::move(first))));
    EXPECT_CALL(*system, SetDetectionTimeoutMillisec(0u));
    EXPECT_CALL(*system, Find()).WillOnce(Throw(std::runtime_error("socket trouble")));
  }
  DeviceFinderImpl finder(std::move(system));
  const auto found = finder.Find(1500);
  sdk.records.clear();  // the SDK's records are gone; the core's copies must not care
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(dynamic_cast<const FoundDeviceInfoGEV&>(*found[0]).GetIPAddress(), "10.0.0.20");
  EXPECT_EQ(dynamic_cast<const FoundDeviceInfoU3V&>(*found[1]).GetDeviceGUID(), "GUID-1");
  EXPECT_TRUE(finder.Find(0).empty());
}

TEST(DeviceFinder, LookupByConnectionIdGivesOnePlainRecordOrAnEmptyList) {
  SdkRecords sdk;
  auto system = std::make_unique<test::MockSystem>();
  EXPECT_CALL(*system, SetDetectionTimeoutMillisec(250u)).Times(3);
  EXPECT_CALL(*system, FindDevice("10.0.0.7"))
      .WillOnce(Return(ByMove(sdk.Gev("10.0.0.7"))))
      .WillOnce(Return(ByMove(std::unique_ptr<sdkadaptor::InterfaceDeviceInfo>())))
      .WillOnce(Throw(sdkadaptor::ExceptionSdkAdaptor(0x19, "NotFound", "nothing answered")));
  DeviceFinderImpl finder(std::move(system));
  const auto found = finder.Find("10.0.0.7", 250);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0]->GetConnectionId(), "10.0.0.7");
  EXPECT_EQ(found[0]->GetDeviceType(), DeviceInterfaceTypeEnum::GEV);
  EXPECT_EQ(dynamic_cast<const FoundDeviceInfoGEV*>(found[0].get()), nullptr);
  EXPECT_TRUE(finder.Find("10.0.0.7", 250).empty());
  EXPECT_TRUE(finder.Find("10.0.0.7", 250).empty());
}

TEST(FoundDeviceInfo, RecordsWithoutHostInterfaceHaveNoneOrAnEmptyOne) {
  EXPECT_EQ(FoundDeviceInfo("127.0.0.5", DeviceInterfaceTypeEnum::U3V).GetHostInfo(), nullptr);
  auto info = std::make_unique<::testing::NiceMock<test::MockDeviceInfo>>();
  EXPECT_CALL(*info, GetHostInterface()).WillOnce(Return(ByMove(nullptr)));
  const std::unique_ptr<sdkadaptor::InterfaceDeviceInfo> held = std::move(info);
  FoundDeviceInfo record(held);
  ASSERT_NE(record.GetHostInfo(), nullptr);
  EXPECT_EQ(record.GetHostInfo()->GetDisplayId(), L"");
}

}  // namespace
}  // namespace quarx::core
