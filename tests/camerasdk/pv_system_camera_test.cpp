// Discovery against emulated cameras on loopback: the record fields that the device list does
// not print, and the lookup of one camera. The listed fields, the detection time and one record
// per camera are pinned through `fwupdate -l`.
#include "camerasdk/PvSystem.h"

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace {

using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using Clock = std::chrono::steady_clock;

TEST(PvSystemCamera, RecordCarriesTheNetworkFieldsAndTheMacInTheLowerCaseOfDiscovery) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatedCameraSpec spec;
  spec.address = "127.0.0.4";
  spec.mac = "02:5E:C1:9A:BC:DE";
  spec.extraArguments = {"--manufacturer-info", "made for tests", "--netmask", "255.255.0.0", "--gateway", "127.0.0.9"};
  EmulatorLauncher cameras({spec});
  PvSystem system;
  system.SetDetectionTimeout(300);
  ASSERT_TRUE(system.Find().IsOK());
  ASSERT_EQ(system.GetDeviceCount(), 1u);
  const auto* info = dynamic_cast<const PvDeviceInfoGEV*>(system.GetDeviceInfo(0));
  ASSERT_NE(info, nullptr);
  EXPECT_STREQ(info->GetManufacturerInfo().GetAscii(), "made for tests");
  EXPECT_STREQ(info->GetMACAddress().GetAscii(), "02:5e:c1:9a:bc:de");
  EXPECT_STREQ(info->GetUniqueID().GetAscii(), "02:5e:c1:9a:bc:de");
  EXPECT_STREQ(info->GetSubnetMask().GetAscii(), "255.255.0.0");
  EXPECT_STREQ(info->GetDefaultGateway().GetAscii(), "127.0.0.9");
  ASSERT_NE(info->GetInterface(), nullptr);
  EXPECT_STREQ(info->GetInterface()->GetName().GetAscii(), "lo");
}

TEST(PvSystemCamera, FindDeviceByAddressOrMacReturnsOnTheAnswerOrFailsAfterTheDetectionTime) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatedCameraSpec second;
  second.address = "127.0.0.3";
  EmulatorLauncher cameras({EmulatedCameraSpec{}, second});
  PvSystem system;
  system.SetDetectionTimeout(1500);
  for (const auto& [id, found] : {std::pair{"127.0.0.3", true}, std::pair{"02:5e:c1:00:00:03", true},
                                  std::pair{"127.0.0.7", false}, std::pair{"02:5e:c1:00:00:07", false}}) {
    SCOPED_TRACE(id);
    const PvDeviceInfo* info = reinterpret_cast<const PvDeviceInfo*>(&system);
    const auto start = Clock::now();
    EXPECT_EQ(system.FindDevice(id, &info).IsOK(), found);
    EXPECT_TRUE(found ? Clock::now() - start < std::chrono::milliseconds(1000)
                      : Clock::now() - start >= std::chrono::milliseconds(1500));
    EXPECT_EQ(info == nullptr ? "" : info->GetConnectionID().GetAscii(), std::string(found ? "127.0.0.3" : ""));
  }
}

}  // namespace
