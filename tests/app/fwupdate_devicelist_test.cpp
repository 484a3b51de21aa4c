// The device list's order and the console format of what end-to-end runs cannot show: USB3
// Vision and other records, equal and bytewise-ordered connection ids, a hundred cameras.
#include "app/fwupdate_devicelist.h"

#include <string>
#include <vector>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoU3V.h"
#include "core/found_device_info_u3v.h"
#include "sdkadaptor/src/device_info_u3v.h"
#include "tests/support/log_capture.h"

namespace fwupdate {
namespace {

using Records = std::vector<std::unique_ptr<quarx::core::FoundDeviceInfo>>;

struct Camera {
  std::string connection_id;
  std::string model = "FWCAM-1";
  bool u3v = true;  // otherwise a record of another transport, which carries only its connection id
};

// The device list with a discovery that returns the given cameras in the given order.
class ScriptedDeviceList : public DeviceList {
 public:
  explicit ScriptedDeviceList(std::vector<Camera> cameras) : cameras_(std::move(cameras)) {}
  Records Update(unsigned int timeout_ms) const override {
    timeouts_.push_back(timeout_ms);
    Records records;
    for (const Camera& camera : cameras_) {
      if (!camera.u3v) {
        records.push_back(std::make_unique<quarx::core::FoundDeviceInfo>(camera.connection_id,
                                                                         quarx::DeviceInterfaceTypeEnum::Other));
        continue;
      }
      PvDeviceIdentity id;
      id.connection_id = camera.connection_id;
      id.vendor_name = "Velmora";
      id.model_name = camera.model;
      id.version = "1.0.0";
      id.serial_number = "SN9";
      const PvDeviceInfoU3V sdk(id, "GUID-" + camera.model, nullptr);
      records.push_back(
          std::make_unique<quarx::core::FoundDeviceInfoU3V>(std::make_unique<quarx::sdkadaptor::DeviceInfoU3V>(&sdk)));
    }
    return records;
  }
  std::string Display(unsigned int timeout_ms) {
    testing::internal::CaptureStdout();
    DisplayDeviceList(timeout_ms);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
  }
  mutable std::vector<unsigned int> timeouts_;

 private:
  std::vector<Camera> cameras_;
};

TEST(DeviceList, PrintsUsb3VisionAndOtherRecordsAndLogsTheDiscoveryTime) {
  quarx::test::LogCapture log;
  ScriptedDeviceList list({{"2-1.4-usb", "U-1"}, {"127.0.0.10", "", false}});
  EXPECT_EQ(list.Display(700),
            "[Dev  0] \n"
            "    VenderName          : \n"
            "    SerialNumber        : \n"
            "    UserDefinedName     : \n"
            "    Version             : \n"
            "[Dev  1] U-1\n"
            "    VenderName          : Velmora\n"
            "    SerialNumber        : SN9\n"
            "    UserDefinedName     : \n"
            "    Version             : 1.0.0\n"
            "    DeviceGUID          : GUID-U-1\n");
  EXPECT_EQ(list.timeouts_, std::vector<unsigned int>{700});
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"[info] Operation : device-list",
                                                   "[info] DisplayDeviceList detection_timeout_ms : 700"}));
}

TEST(DeviceList, OrdersByConnectionIdBytewiseAndKeepsTheFirstOfRecordsSharingOne) {
  ScriptedDeviceList list(
      {{"127.0.0.3"}, {"127.0.0.10"}, {"127.0.0.2", "First"}, {"127.0.0.2", "Second"}, {"127.0.0.1"}, {"127.0.0"}});
  std::vector<std::string> listed;
  for (const auto& record : list.GetSortedFoundDeviceInfos(10)) {
    listed.push_back(record->GetConnectionId() + " " + record->GetModelName());
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"127.0.0 FWCAM-1", "127.0.0.1 FWCAM-1", "127.0.0.10 FWCAM-1",
                                              "127.0.0.2 First", "127.0.0.3 FWCAM-1"}));
}

TEST(DeviceList, DeviceNumbersFillTwoColumnsAndGrowFromOneHundred) {
  std::vector<Camera> cameras;
  for (int i = 0; i < 101; ++i) {
    cameras.push_back({fmt::format("10.0.{:03}", i), fmt::format("M{}", i)});
  }
  const std::string out = ScriptedDeviceList(cameras).Display(10);
  for (const char* heading : {"[Dev  9] M9\n", "[Dev 10] M10\n", "[Dev 99] M99\n", "[Dev 100] M100\n"}) {
    EXPECT_NE(out.find(heading), std::string::npos) << heading;
  }
}

}  // namespace
}  // namespace fwupdate
