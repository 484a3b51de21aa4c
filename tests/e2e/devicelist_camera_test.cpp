// `fwupdate -l` end to end: the real program against emulated cameras on loopback.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/gvcp_responder.h"

namespace quarx::test::e2e {
namespace {

EmulatedCameraSpec Camera(const std::string& address, const std::string& model, const std::string& serial,
                          const std::string& user_name, const std::string& version) {
  EmulatedCameraSpec spec;
  spec.address = address;
  spec.model = model;
  spec.serial = serial;
  spec.userName = user_name;
  spec.version = version;
  return spec;
}

class DeviceListProgram : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }
};

// Started in reverse order: the list follows the connection ids, not who answered first.
const std::vector<EmulatedCameraSpec> kTwoCameras = {
    Camera("127.0.0.3", "FWCAM-3", "SN0003", "", "1.0.0"),
    Camera("127.0.0.2", "FWCAM-2", "SN0002", "line-2", "1.2.0"),
};

const char kTwoCamerasListed[] =
    "[Dev  0] FWCAM-2\n"
    "    VenderName          : Velmora\n"
    "    SerialNumber        : SN0002\n"
    "    UserDefinedName     : line-2\n"
    "    Version             : 1.2.0\n"
    "    IPAddress           : 127.0.0.2\n"
    "    MACAddress          : 02:5e:c1:00:00:02\n"
    "[Dev  1] FWCAM-3\n"
    "    VenderName          : Velmora\n"
    "    SerialNumber        : SN0003\n"
    "    UserDefinedName     : \n"
    "    Version             : 1.0.0\n"
    "    IPAddress           : 127.0.0.3\n"
    "    MACAddress          : 02:5e:c1:00:00:03\n";

TEST_F(DeviceListProgram, ListsTwoCamerasByConnectionIdWithinTheDiscoveryTime) {
  EmulatorLauncher cameras(kTwoCameras);
  const auto run = RunFwupdate({"-l", "--timeout", "500"});
  EXPECT_EQ(run.out, kTwoCamerasListed);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_GE(run.elapsed.count(), 500);
  EXPECT_LT(run.elapsed.count(), 900);
}

TEST_F(DeviceListProgram, AcceptsAndIgnoresTheOptionsOfOtherOperations) {
  EmulatorLauncher cameras(kTwoCameras);
  const auto run =
      RunFwupdate({"-d", "1", "--silent", "--device-list", "--no-prompt", "--no-test", "--timeout", "300"});
  EXPECT_EQ(run.out, kTwoCamerasListed);
  EXPECT_EQ(run.exitStatus, 0);
}

TEST_F(DeviceListProgram, NoCameraPrintsNothingAndSucceeds) {
  const auto run = RunFwupdate({"--device-list", "--timeout", "200"});
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_LT(run.elapsed.count(), 600);
}

// A camera outside every subnet of the host answers discovery by broadcast.
TEST_F(DeviceListProgram, ListsACameraThatAnswersByBroadcast) {
  DiscoveryAnswer camera;
  camera.mac = "02:5e:c1:00:00:4b";
  camera.ip = "192.168.77.10";
  camera.vendor = "Velmora";
  camera.model = "FWCAM-B";
  camera.serial = "SN004B";
  camera.userName = "far-away";
  camera.version = "3.1.0";
  const GvcpResponder responder(camera, GvcpResponder::ReplyTo::Broadcast);
  ASSERT_TRUE(responder.Bound());
  const auto run = RunFwupdate({"-l", "--timeout", "300"});
  EXPECT_EQ(run.out,
            "[Dev  0] FWCAM-B\n"
            "    VenderName          : Velmora\n"
            "    SerialNumber        : SN004B\n"
            "    UserDefinedName     : far-away\n"
            "    Version             : 3.1.0\n"
            "    IPAddress           : 192.168.77.10\n"
            "    MACAddress          : 02:5e:c1:00:00:4b\n");
  EXPECT_EQ(run.exitStatus, 0);
}

}  // namespace
}  // namespace quarx::test::e2e
