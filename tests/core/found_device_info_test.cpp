// Discovery records: what they copy from the adaptor and what they hold on their own.
#include "core/found_device_info.h"

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "core/found_device_info_gev.h"
#include "core/found_device_info_u3v.h"
#include "core/host_info.h"
#include "sdkadaptor/src/device_info_gev.h"
#include "tests/support/mock_discovery.h"

namespace quarx::core {
namespace {

using ::testing::ByMove;
using ::testing::Return;

TEST(FoundDeviceInfo, GigEVisionRecordCopiesEveryTextAndAddressAsGiven) {
  const PvInterface host("lo", "lo 127.0.0.1", "127.0.0.1");
  PvDeviceIdentity id;
  id.connection_id = "127.0.0.2";
  id.display_id = "FWCAM-1 (127.0.0.2)";
  id.unique_id = "02:5e:c1:00:00:02";
  id.vendor_name = "Velmora";
  id.model_name = "FWCAM-1";
  id.version = "1.0.0";
  id.manufacturer_info = " spaced ";
  id.serial_number = "SN2";
  id.user_defined_name = "";
  auto sdk = std::make_unique<PvDeviceInfoGEV>(
      id, PvGEVAddresses{"127.0.0.2", "02:5e:c1:00:00:02", "255.0.0.0", "127.0.0.1"}, &host);

  FoundDeviceInfoGEV record(std::make_unique<sdkadaptor::DeviceInfoGEV>(sdk.get()));
  sdk.reset();  // nothing of the SDK is kept

  EXPECT_EQ(record.GetConnectionId(), "127.0.0.2");
  EXPECT_EQ(record.GetDisplayId(), "FWCAM-1 (127.0.0.2)");
  EXPECT_EQ(record.GetUniqueId(), "02:5e:c1:00:00:02");
  EXPECT_EQ(record.GetVenderName(), "Velmora");
  EXPECT_EQ(record.GetModelName(), "FWCAM-1");
  EXPECT_EQ(record.GetVersion(), "1.0.0");
  EXPECT_EQ(record.GetManufactureInfo(), " spaced ");
  EXPECT_EQ(record.GetSerialNumber(), "SN2");
  EXPECT_EQ(record.GetUserDefinedName(), "");
  EXPECT_EQ(record.GetDeviceType(), DeviceInterfaceTypeEnum::GEV);
  EXPECT_EQ(record.GetIPAddress(), "127.0.0.2");
  EXPECT_EQ(record.GetMACAddress(), "02:5e:c1:00:00:02");
  EXPECT_EQ(record.GetSubnetMask(), "255.0.0.0");
  ASSERT_NE(record.GetHostInfo(), nullptr);
  EXPECT_EQ(record.GetHostInfo()->GetDisplayId(), L"lo 127.0.0.1");
  EXPECT_EQ(record.GetHostInfo()->GetIPAddress(), "");
  EXPECT_EQ(record.GetHostInfo()->GetMacAddress(), "");
}

TEST(FoundDeviceInfo, RecordFromAConnectionIdHasOnlyIdAndType) {
  FoundDeviceInfo record("127.0.0.5", DeviceInterfaceTypeEnum::U3V);
  EXPECT_EQ(record.GetConnectionId(), "127.0.0.5");
  EXPECT_EQ(record.GetDeviceType(), DeviceInterfaceTypeEnum::U3V);
  EXPECT_EQ(record.GetModelName(), "");
  EXPECT_EQ(record.GetVersion(), "");
  EXPECT_EQ(record.GetHostInfo(), nullptr);
}

TEST(FoundDeviceInfo, AdaptorRecordWithoutHostInterfaceGivesEmptyHostInformation) {
  auto info = std::make_unique<::testing::NiceMock<test::MockDeviceInfo>>();
  EXPECT_CALL(*info, GetHostInterface()).WillOnce(Return(ByMove(nullptr)));
  const std::unique_ptr<sdkadaptor::InterfaceDeviceInfo> held = std::move(info);
  FoundDeviceInfo record(held);
  ASSERT_NE(record.GetHostInfo(), nullptr);
  EXPECT_EQ(record.GetHostInfo()->GetDisplayId(), L"");
}

}  // namespace
}  // namespace quarx::core
