// The real fwupdate program listing a camera on loopback (a discovery responder) as scripts run it:
// with standard output that cannot be written.
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/program_run.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/gvcp_responder.h"

namespace fwupdate {
namespace {

using quarx::test::GvcpResponder;
using test::Line;
using test::ProgramRun;
using test::RunProgram;

class FwupdateListingCamera : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    quarx::test::DiscoveryAnswer camera;
    camera.mac = "02:5e:c1:00:00:05";
    camera.ip = "127.0.0.5";
    camera.vendor = "Velmora";
    camera.model = "FWCAM-1";
    responder_ = std::make_unique<GvcpResponder>(camera, GvcpResponder::ReplyTo::Sender);
    ASSERT_TRUE(responder_->Bound());
  }

  std::unique_ptr<GvcpResponder> responder_;
};

TEST_F(FwupdateListingCamera, UnwritableStandardOutputFailsWithOneLineOnStandardError) {
  struct Case {
    std::vector<std::string> args;
    int exitStatus;
  };
  // A command-line error keeps its own status.
  const std::vector<Case> cases = {{{"-l", "--timeout", "300"}, 1}, {{"-h"}, 1}, {{"foo"}, 2}};
  for (const Case& c : cases) {
    // The collecting pipe takes standard error; standard output goes to a device that is always full.
    const ProgramRun run = RunProgram(Line(c.args), true, [] {
      const int full = open("/dev/full", O_WRONLY);
      return full >= 0 && dup2(STDOUT_FILENO, STDERR_FILENO) >= 0 && dup2(full, STDOUT_FILENO) >= 0;
    });
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.args[0];
    EXPECT_EQ(run.out, "Error : Cannot write standard output: No space left on device\n") << c.args[0];
  }
}

}  // namespace
}  // namespace fwupdate
