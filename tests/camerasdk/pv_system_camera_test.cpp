// Discovery against emulated cameras on loopback: every field, the detection time, several cameras, none.
#include "camerasdk/PvSystem.h"

#include <chrono>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace {

using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using Clock = std::chrono::steady_clock;

EmulatedCameraSpec Camera(const std::string& address) {
  EmulatedCameraSpec spec;
  spec.address = address;
  return spec;
}

std::map<std::string, const PvDeviceInfoGEV*> ByConnectionId(const PvSystem& system) {
  std::map<std::string, const PvDeviceInfoGEV*> found;
  for (std::uint32_t i = 0; i < system.GetDeviceCount(); ++i) {
    const auto* gev = dynamic_cast<const PvDeviceInfoGEV*>(system.GetDeviceInfo(i));
    if (gev != nullptr) {
      found[gev->GetConnectionID().GetAscii()] = gev;
    }
  }
  return found;
}

class PvSystemCamera : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }
};

TEST_F(PvSystemCamera, RecordCarriesEveryFieldTheCameraReports) {
  EmulatedCameraSpec spec = Camera("127.0.0.4");
  spec.mac = "02:5E:C1:9A:BC:DE";
  spec.vendor = "Vendor-32-bytes-long-text-filled";
  spec.model = "FWCAM-X";
  spec.version = "2.3.4-rc1";
  spec.serial = "SERIAL0123456789";  // fills its 16-byte field without a NUL
  spec.userName = "line-4";
  spec.manufacturerInfo = "made for tests";
  spec.netmask = "255.255.0.0";
  spec.gateway = "127.0.0.9";
  EmulatorLauncher cameras({spec});

  PvSystem system;
  system.SetDetectionTimeout(300);
  ASSERT_TRUE(system.Find().IsOK());
  const auto found = ByConnectionId(system);
  ASSERT_EQ(found.count("127.0.0.4"), 1u);
  const PvDeviceInfoGEV& info = *found.at("127.0.0.4");
  EXPECT_EQ(info.GetType(), PvDeviceInfoTypeGEV);
  EXPECT_STREQ(info.GetVendorName().GetAscii(), "Vendor-32-bytes-long-text-filled");
  EXPECT_STREQ(info.GetModelName().GetAscii(), "FWCAM-X");
  EXPECT_STREQ(info.GetVersion().GetAscii(), "2.3.4-rc1");
  EXPECT_STREQ(info.GetSerialNumber().GetAscii(), "SERIAL0123456789");
  EXPECT_STREQ(info.GetUserDefinedName().GetAscii(), "line-4");
  EXPECT_STREQ(info.GetManufacturerInfo().GetAscii(), "made for tests");
  EXPECT_STREQ(info.GetMACAddress().GetAscii(), "02:5e:c1:9a:bc:de");
  EXPECT_STREQ(info.GetUniqueID().GetAscii(), "02:5e:c1:9a:bc:de");
  EXPECT_STREQ(info.GetIPAddress().GetAscii(), "127.0.0.4");
  EXPECT_STREQ(info.GetSubnetMask().GetAscii(), "255.255.0.0");
  EXPECT_STREQ(info.GetDefaultGateway().GetAscii(), "127.0.0.9");
  ASSERT_NE(info.GetInterface(), nullptr);
  EXPECT_STREQ(info.GetInterface()->GetName().GetAscii(), "lo");
}

TEST_F(PvSystemCamera, FindsThreeCamerasOncePerCameraInADiscoveryThatLastsTheDetectionTime) {
  EmulatorLauncher cameras({Camera("127.0.0.1"), Camera("127.0.0.2"), Camera("127.0.0.3")});
  PvSystem system;
  system.SetDetectionTimeout(300);
  const auto start = Clock::now();
  ASSERT_TRUE(system.Find().IsOK());
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  EXPECT_GE(elapsed.count(), 300);
  EXPECT_LT(elapsed.count(), 400);
  // Every host address asks, so each camera answers several times: still one record each.
  EXPECT_EQ(system.GetDeviceCount(), 3u);
  const auto found = ByConnectionId(system);
  for (std::size_t i = 0; i < cameras.Size(); ++i) {
    ASSERT_EQ(found.count(cameras.Spec(i).address), 1u) << cameras.Spec(i).address;
    EXPECT_EQ(found.at(cameras.Spec(i).address)->GetMACAddress().GetAscii(), cameras.Spec(i).MacAddress());
  }
}

TEST_F(PvSystemCamera, NoCameraGivesAnEmptySuccessfulDiscovery) {
  PvSystem system;
  system.SetDetectionTimeout(100);
  EXPECT_TRUE(system.Find().IsOK());
  EXPECT_EQ(system.GetDeviceCount(), 0u);
  EXPECT_EQ(system.GetDeviceInfo(0), nullptr);
  EXPECT_GE(system.GetInterfaceCount(), 1u);  // the loopback addresses, at least
}

TEST_F(PvSystemCamera, FindDeviceByAddressOrMacReturnsAsSoonAsTheCameraAnswers) {
  EmulatorLauncher cameras({Camera("127.0.0.2"), Camera("127.0.0.3")});
  PvSystem system;
  system.SetDetectionTimeout(2000);
  for (const std::string& id : {std::string("127.0.0.3"), cameras.Spec(1).MacAddress()}) {
    const PvDeviceInfo* info = nullptr;
    const auto start = Clock::now();
    ASSERT_TRUE(system.FindDevice(id, &info).IsOK()) << id;
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000)) << id;
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->GetConnectionID().GetAscii(), "127.0.0.3") << id;
  }
}

TEST_F(PvSystemCamera, FindDeviceOfAnAbsentCameraFailsAfterTheDetectionTime) {
  EmulatorLauncher cameras({Camera("127.0.0.2")});
  PvSystem system;
  system.SetDetectionTimeout(200);
  for (const char* id : {"127.0.0.7", "02:5e:c1:00:00:07"}) {
    const PvDeviceInfo* info = reinterpret_cast<const PvDeviceInfo*>(&system);
    EXPECT_TRUE(system.FindDevice(id, &info).IsFailure()) << id;
    EXPECT_EQ(info, nullptr) << id;
  }
}

}  // namespace
