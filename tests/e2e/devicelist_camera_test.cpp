// `fwupdate -l` end to end: the real program against emulated cameras and a camera answering
// discovery by broadcast, also as scripts run it: with a standard output that cannot be
// written, and with a log file configured but no HOME.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/gvcp_responder.h"

namespace quarx::test::e2e {
namespace {

TEST(DeviceListProgram, ListsCamerasByConnectionIdWithinTheDiscoveryTime) {
  REQUIRE_CAMERA_NAMESPACE();
  const ProgramRun none = RunFwupdate({"--device-list", "--timeout", "200"});
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.exitStatus, 0);
  EXPECT_LT(none.elapsed.count(), 600);

  // Started in reverse order: the list follows the connection ids, not who answered first.
  EmulatedCameraSpec second;
  second.address = "127.0.0.3";
  second.model = "FWCAM-3";
  second.serial = "SN0003";
  EmulatedCameraSpec first;
  first.model = "FWCAM-2";
  first.serial = "SN0002";
  first.userName = "line-2";
  first.version = "1.2.0";
  const EmulatorLauncher cameras({second, first});
  const std::string listed =
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
  const ProgramRun run = RunFwupdate({"-l", "--timeout", "500"});
  EXPECT_EQ(run.out, listed);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_GE(run.elapsed.count(), 500);
  EXPECT_LT(run.elapsed.count(), 900);
  // The options of other operations are accepted and ignored.
  const ProgramRun others = RunFwupdate({"-d", "1", "--silent", "-l", "--no-prompt", "--no-test", "--timeout", "300"});
  EXPECT_EQ(others.out, listed);
  EXPECT_EQ(others.exitStatus, 0);
}

// A camera outside every subnet of the host answers discovery by broadcast.
TEST(DeviceListProgram, ListsACameraAnsweringByBroadcastAlsoForScripts) {
  REQUIRE_CAMERA_NAMESPACE();
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
  const std::vector<std::string> list = {"-l", "--timeout", "300"};
  const ProgramRun run = RunFwupdate(list);
  EXPECT_EQ(run.out,
            "[Dev  0] FWCAM-B\n"
            "    VenderName          : Velmora\n"
            "    SerialNumber        : SN004B\n"
            "    UserDefinedName     : far-away\n"
            "    Version             : 3.1.0\n"
            "    IPAddress           : 192.168.77.10\n"
            "    MACAddress          : 02:5e:c1:00:00:4b\n");
  EXPECT_EQ(run.exitStatus, 0);

  // A full disk fails the run with one line on standard error; a command-line error keeps its status.
  RunOptions full;
  full.fullStandardOutput = true;
  for (const auto& [args, exitStatus] :
       std::vector<std::pair<std::vector<std::string>, int>>{{list, 1}, {{"-h"}, 1}, {{"foo"}, 2}}) {
    const ProgramRun unwritten = RunFwupdate(args, full);
    EXPECT_EQ(unwritten.exitStatus, exitStatus) << args[0];
    EXPECT_EQ(unwritten.out, "Error : Cannot write standard output: No space left on device\n") << args[0];
  }

  // An update writes some twenty log lines at info level; none may land between the lines a script parses.
  RunOptions noHome;
  noHome.withHome = false;
  noHome.config = "[log]\nlevel = \"trace\"\nfilename = \"fw.log\"\n";
  const ProgramRun logged = RunFwupdate(list, noHome);
  if (logged.exitStatus == kCannotPrepare) {
    GTEST_SKIP() << kNoMountNamespace;
  }
  EXPECT_EQ(logged.exitStatus, 0);
  EXPECT_EQ(logged.out, run.out);
}

}  // namespace
}  // namespace quarx::test::e2e
