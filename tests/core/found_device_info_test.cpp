// Discovery records: what they copy from the adaptor and what they hold on their own.
#include "core/found_device_info.h"

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "core/found_device_info_gev.h"
#include "core/host_info.h"
#include "sdkadaptor/src/device_info_gev.h"
#include "tests/support/mock_discovery.h"

namespace quarx::core {
namespace {

// Through the adaptor's record, every text of the SDK's reaches the core's copy unchanged.
TEST(FoundDeviceInfo, GigEVisionRecordCopiesEveryTextAndAddressAsGiven) {
  const PvInterface host("lo", "lo 127.0.0.1", "127.0.0.1");
  PvDeviceIdentity id;
  id.connection_id = "127.0.0.2";
  id.display_id = "FWCAM-1 (127.0.0.2)";
  id.unique_id = "unique";
  id.vendor_name = "Velmora";
  id.model_name = "FWCAM-1";
  id.version = "1.0.0";
  id.manufacturer_info = " spaced ";
  id.serial_number = "SN2";
  id.user_defined_name = "user";
  auto sdk = std::make_unique<PvDeviceInfoGEV>(
      id, PvGEVAddresses{"127.0.0.2", "02:5e:c1:00:00:02", "255.0.0.0", "127.0.0.1"}, &host);
  FoundDeviceInfoGEV record(std::make_unique<sdkadaptor::DeviceInfoGEV>(sdk.get()));
  sdk.reset();  // nothing of the SDK is kept

  const std::pair<std::string, std::string> fields[] = {
      {record.GetConnectionId(), "127.0.0.2"}, {record.GetDisplayId(), "FWCAM-1 (127.0.0.2)"},
      {record.GetUniqueId(), "unique"},        {record.GetVenderName(), "Velmora"},
      {record.GetModelName(), "FWCAM-1"},      {record.GetVersion(), "1.0.0"},
      {record.GetManufactureInfo(), " spaced "}, {record.GetSerialNumber(), "SN2"},
      {record.GetUserDefinedName(), "user"},   {record.GetIPAddress(), "127.0.0.2"},
      {record.GetMACAddress(), "02:5e:c1:00:00:02"}, {record.GetSubnetMask(), "255.0.0.0"}};
  for (const auto& [read, given] : fields) {
    EXPECT_EQ(read, given);
  }
  EXPECT_EQ(record.GetDeviceType(), DeviceInterfaceTypeEnum::GEV);
  ASSERT_NE(record.GetHostInfo(), nullptr);
  EXPECT_EQ(record.GetHostInfo()->GetDisplayId(), L"lo 127.0.0.1");
}

TEST(FoundDeviceInfo, RecordsWithoutHostInterfaceHaveNoneOrAnEmptyOne) {
  EXPECT_EQ(FoundDeviceInfo("127.0.0.5", DeviceInterfaceTypeEnum::U3V).GetHostInfo(), nullptr);
  auto info = std::make_unique<::testing::NiceMock<test::MockDeviceInfo>>();
  EXPECT_CALL(*info, GetHostInterface()).WillOnce(::testing::Return(::testing::ByMove(nullptr)));
  const std::unique_ptr<sdkadaptor::InterfaceDeviceInfo> held = std::move(info);
  FoundDeviceInfo record(held);
  ASSERT_NE(record.GetHostInfo(), nullptr);
  EXPECT_EQ(record.GetHostInfo()->GetDisplayId(), L"");
}

}  // namespace
}  // namespace quarx::core
