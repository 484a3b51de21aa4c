// The device list's order and console format, over records that stand in for a discovery.
#include "app/fwupdate_devicelist.h"

#include <string>
#include <vector>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "camerasdk/PvDeviceInfoU3V.h"
#include "core/found_device_info_gev.h"
#include "core/found_device_info_u3v.h"
#include "sdkadaptor/src/device_info_gev.h"
#include "sdkadaptor/src/device_info_u3v.h"
#include "tests/support/log_capture.h"

namespace fwupdate {
namespace {

using Records = std::vector<std::unique_ptr<quarx::core::FoundDeviceInfo>>;

struct Camera {
  std::string connection_id;
  std::string model = "FWCAM-1";
  std::string serial = "SN1";
  std::string user_name = "";
  quarx::DeviceInterfaceTypeEnum type = quarx::DeviceInterfaceTypeEnum::GEV;
};

std::unique_ptr<quarx::core::FoundDeviceInfo> Record(const Camera& camera) {
  PvDeviceIdentity id;
  id.connection_id = camera.connection_id;
  id.vendor_name = "Velmora";
  id.model_name = camera.model;
  id.version = "1.0.0";
  id.serial_number = camera.serial;
  id.user_defined_name = camera.user_name;
  switch (camera.type) {
    case quarx::DeviceInterfaceTypeEnum::GEV: {
      const PvDeviceInfoGEV sdk(id, {camera.connection_id, "02:5e:c1:00:00:02", "255.0.0.0", ""}, nullptr);
      return std::make_unique<quarx::core::FoundDeviceInfoGEV>(std::make_unique<quarx::sdkadaptor::DeviceInfoGEV>(&sdk));
    }
    case quarx::DeviceInterfaceTypeEnum::U3V: {
      const PvDeviceInfoU3V sdk(id, "GUID-" + camera.serial, nullptr);
      return std::make_unique<quarx::core::FoundDeviceInfoU3V>(std::make_unique<quarx::sdkadaptor::DeviceInfoU3V>(&sdk));
    }
    default:
      return std::make_unique<quarx::core::FoundDeviceInfo>(camera.connection_id, camera.type);
  }
}

// The device list with a discovery that returns the given cameras in the given order.
class ScriptedDeviceList : public DeviceList {
 public:
  explicit ScriptedDeviceList(std::vector<Camera> cameras) : cameras_(std::move(cameras)) {}
  Records Update(unsigned int timeout_ms) const override {
    timeouts_.push_back(timeout_ms);
    Records records;
    for (const Camera& camera : cameras_) {
      records.push_back(Record(camera));
    }
    return records;
  }
  mutable std::vector<unsigned int> timeouts_;

 private:
  std::vector<Camera> cameras_;
};

std::string Display(ScriptedDeviceList& list, unsigned int timeout_ms) {
  testing::internal::CaptureStdout();
  list.DisplayDeviceList(timeout_ms);
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

TEST(DeviceList, PrintsEachCameraInTheDocumentedFormat) {
  ScriptedDeviceList list({{"127.0.0.3", "M-3", "SN3", "line 3", quarx::DeviceInterfaceTypeEnum::GEV},
                           {"2-1.4-usb", "U-1", "SN9", "", quarx::DeviceInterfaceTypeEnum::U3V},
                           {"127.0.0.10", "Odd", "SN0", "", quarx::DeviceInterfaceTypeEnum::Other}});
  const std::string expected =
      "[Dev  0] \n"  // a record of another transport carries only its connection id
      "    VenderName          : \n"
      "    SerialNumber        : \n"
      "    UserDefinedName     : \n"
      "    Version             : \n"
      "[Dev  1] M-3\n"
      "    VenderName          : Velmora\n"
      "    SerialNumber        : SN3\n"
      "    UserDefinedName     : line 3\n"
      "    Version             : 1.0.0\n"
      "    IPAddress           : 127.0.0.3\n"
      "    MACAddress          : 02:5e:c1:00:00:02\n"
      "[Dev  2] U-1\n"
      "    VenderName          : Velmora\n"
      "    SerialNumber        : SN9\n"
      "    UserDefinedName     : \n"
      "    Version             : 1.0.0\n"
      "    DeviceGUID          : GUID-SN9\n";
  EXPECT_EQ(Display(list, 700), expected);
  EXPECT_EQ(list.timeouts_, std::vector<unsigned int>{700});
}

TEST(DeviceList, OrdersByConnectionIdBytewiseWhateverTheDiscoveryOrder) {
  ScriptedDeviceList list({{"127.0.0.3"}, {"127.0.0.10"}, {"127.0.0.2"}, {"127.0.0.1"}, {"127.0.0"}});
  const Records sorted = list.GetSortedFoundDeviceInfos(10);
  std::vector<std::string> ids;
  for (const auto& record : sorted) {
    ids.push_back(record->GetConnectionId());
  }
  EXPECT_EQ(ids, (std::vector<std::string>{"127.0.0", "127.0.0.1", "127.0.0.10", "127.0.0.2", "127.0.0.3"}));
}

TEST(DeviceList, KeepsTheFirstOfRecordsSharingAConnectionId) {
  ScriptedDeviceList list({{"127.0.0.2", "First"}, {"127.0.0.2", "Second"}, {"127.0.0.1", "Other"}});
  const Records sorted = list.GetSortedFoundDeviceInfos(10);
  ASSERT_EQ(sorted.size(), 2u);
  EXPECT_EQ(sorted[1]->GetModelName(), "First");
}

TEST(DeviceList, DeviceNumbersFillTwoColumnsAndGrowFromOneHundred) {
  std::vector<Camera> cameras;
  for (int i = 0; i < 101; ++i) {
    cameras.push_back({fmt::format("10.0.{:03}", i), fmt::format("M{}", i)});
  }
  ScriptedDeviceList list(cameras);
  const std::string out = Display(list, 10);
  EXPECT_NE(out.find("[Dev  9] M9\n"), std::string::npos);
  EXPECT_NE(out.find("[Dev 10] M10\n"), std::string::npos);
  EXPECT_NE(out.find("[Dev 99] M99\n"), std::string::npos);
  EXPECT_NE(out.find("[Dev 100] M100\n"), std::string::npos);
}

TEST(DeviceList, NoCameraPrintsNothingButStillLogs) {
  quarx::test::LogCapture log;
  ScriptedDeviceList list({});
  EXPECT_EQ(Display(list, 1500), "");
  const std::vector<std::string> expected = {"[info] Operation : device-list",
                                             "[info] DisplayDeviceList detection_timeout_ms : 1500"};
  EXPECT_EQ(log.Lines(), expected);
}

}  // namespace
}  // namespace fwupdate
