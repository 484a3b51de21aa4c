// What end-to-end runs cannot show of the device list: USB3 Vision and other records, equal and
// bytewise-ordered connection ids, device numbers past two columns.
#include "app/fwupdate_devicelist.h"

#include <optional>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoU3V.h"
#include "core/found_device_info_u3v.h"
#include "sdkadaptor/src/device_info_u3v.h"
#include "tests/support/usb_cameras.h"

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
  explicit ScriptedDeviceList(quarx::test::UsbCamera usb) : usb_(std::move(usb)) {}
  Records Update(unsigned int) const override {
    Records records;
    if (usb_) records.push_back(quarx::test::DiscoveredUsbCamera(*usb_));
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
  std::string Display() {
    testing::internal::CaptureStdout();
    DisplayDeviceList(10);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
  }

 private:
  std::vector<Camera> cameras_;
  std::optional<quarx::test::UsbCamera> usb_;
};

TEST(DeviceList, PrintsUsb3VisionAndOtherRecords) {
  EXPECT_EQ(ScriptedDeviceList({{"2-1.4-usb", "U-1"}, {"127.0.0.10", "", false}}).Display(),
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
}

// The GUID is the camera's own, distinct from its serial number.
TEST(DeviceList, PrintsTheVersionNameAndGuidAUsb3VisionCameraHolds) {
  EXPECT_EQ(ScriptedDeviceList(quarx::test::UsbCamera{"2.0.0", "Line 3", {}, "1AB5000000000000C0FFEE01"}).Display(),
            "[Dev  0] FWCAM-U\n    VenderName          : Velmora\n    SerialNumber        : SN1\n"
            "    UserDefinedName     : Line 3\n    Version             : 2.0.0\n"
            "    DeviceGUID          : 1AB5000000000000C0FFEE01\n");
}

TEST(DeviceList, OrdersByConnectionIdBytewiseKeepsTheFirstOfEqualOnesAndNumbersPastTwoColumns) {
  std::vector<Camera> cameras = {{"127.0.0.3"}, {"127.0.0.10"}, {"127.0.0.2", "First"}, {"127.0.0.2", "Second"}};
  for (int i = 0; i < 101; ++i) {
    cameras.push_back({fmt::format("10.0.{:03}", i), fmt::format("M{}", i)});
  }
  const std::string out = ScriptedDeviceList(cameras).Display();
  for (const char* heading : {"[Dev  0] M0\n", "[Dev 10] M10\n", "[Dev 100] M100\n", "[Dev 101] FWCAM-1\n",
                              "[Dev 102] First\n", "[Dev 103] FWCAM-1\n"}) {
    EXPECT_NE(out.find(heading), std::string::npos) << heading;
  }
  EXPECT_EQ(out.find("Second"), std::string::npos);
}

}  // namespace
}  // namespace fwupdate
