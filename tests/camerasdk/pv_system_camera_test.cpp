// Discovery against emulated cameras on loopback: the record fields that the device list does
// not print, and the lookup of one camera. The listed fields, the detection time and one record
// per camera are pinned through `fwupdate -l`.
#include "camerasdk/PvSystem.h"

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "camerasdk/PvDeviceInfoU3V.h"
#include "camerasdk/host_discovery_backend.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/log_capture.h"
#include "tests/support/usb_cameras.h"

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

// Finding one USB3 Vision camera by its id decides on the whole listing, as a discovery does: a
// camera whose GUID another device holds is listed unread with the same warning, and an id two
// devices hold names neither. (The network side is the host's: hence the namespace.)
TEST(PvSystemCamera, FindDeviceByUsbIdDecidesOnTheWholeListing) {
  REQUIRE_CAMERA_NAMESPACE();
  using quarx::test::UsbCamera;
  std::vector<UsbCamera> cameras(5);
  const std::vector<std::pair<const char*, const char*>> guidsAndIds = {
      {"GUID-A", "2-1"}, {"GUID-A", "2-2"}, {"GUID-C", "2-3"}, {"GUID-X", "2-9"}, {"GUID-Y", "2-9"}};
  for (std::size_t i = 0; i < cameras.size(); ++i) {
    cameras[i].version = std::to_string(i + 1) + ".0.0";
    cameras[i].user_defined_name = "Line " + std::to_string(i + 1);
    cameras[i].guid = guidsAndIds[i].first;
    cameras[i].id = guidsAndIds[i].second;
  }
  auto owned = std::make_unique<quarx::test::ScriptedUsbBus>(cameras);
  quarx::test::ScriptedUsbBus& bus = *owned;
  PvSystem system(std::make_unique<camerasdk::HostDiscoveryBackend>(std::move(owned)));
  system.SetDetectionTimeout(100);
  const auto textsOf = [](const PvDeviceInfo* info) {
    const auto* u3v = dynamic_cast<const PvDeviceInfoU3V*>(info);
    return u3v == nullptr ? std::vector<std::string>{}
                          : std::vector<std::string>{u3v->GetConnectionID().GetAscii(), u3v->GetVersion().GetAscii(),
                                                     u3v->GetUserDefinedName().GetAscii(),
                                                     u3v->GetBootstrapSerialNumber().GetAscii()};
  };

  std::vector<std::string> findWarnings;
  {
    quarx::test::LogCapture log;
    ASSERT_TRUE(system.Find().IsOK());
    findWarnings = log.Lines();
  }
  const auto warningOf = [&findWarnings](const std::string& id) {
    for (const std::string& line : findWarnings) {
      if (line.find(" of the USB3 Vision camera " + id + " ") != std::string::npos) return line;
    }
    return std::string("no warning for " + id);
  };
  ASSERT_EQ(system.GetDeviceCount(), 5u);
  EXPECT_EQ(textsOf(system.GetDeviceInfo(1)), (std::vector<std::string>{"2-2", "", "", ""}));
  EXPECT_EQ(bus.opens, 1);  // 2-3 alone

  const PvDeviceInfo* info = nullptr;
  {
    quarx::test::LogCapture log;
    ASSERT_TRUE(system.FindDevice("2-2", &info).IsOK());
    EXPECT_EQ(textsOf(info), (std::vector<std::string>{"2-2", "", "", ""}));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{warningOf("2-2")});
    EXPECT_NE(warningOf("2-2").find("its GUID GUID-A is held by 2 listed devices"), std::string::npos);
  }
  EXPECT_EQ(bus.opens, 1);

  ASSERT_TRUE(system.FindDevice("2-3", &info).IsOK());
  EXPECT_EQ(textsOf(info), (std::vector<std::string>{"2-3", "3.0.0", "Line 3", "SN3"}));
  EXPECT_EQ(bus.opens, 2);

  const PvResult doubled = system.FindDevice("2-9", &info);
  EXPECT_TRUE(doubled.IsFailure());
  EXPECT_EQ(std::string(doubled.GetDescription().GetAscii()),
            "The id 2-9 is held by 2 listed devices (FWCAM-U, serial number SN4, GUID GUID-X; FWCAM-U, serial number "
            "SN5, GUID GUID-Y): which of them it names cannot be told");
  EXPECT_EQ(info, nullptr);
  EXPECT_EQ(bus.opens, 2);
}

}  // namespace
