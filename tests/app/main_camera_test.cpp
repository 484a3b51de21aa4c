// The real fwupdate program listing a camera on loopback (a discovery responder) as scripts run it:
// with standard output that cannot be written, and with a log file configured but no HOME.
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
using test::kCannotPrepare;
using test::kNoMountNamespace;
using test::Line;
using test::ProgramRun;
using test::RunProgram;
using test::RunWithConfiguration;

const std::vector<std::string> kList = {"-l", "--timeout", "300"};

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
  const std::vector<Case> cases = {{kList, 1}, {{"-h"}, 1}, {{"foo"}, 2}};
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

// An update writes some twenty log lines at info level; none may land between the lines a script parses.
TEST_F(FwupdateListingCamera, WithoutHomeAConfiguredLogFileLeavesTheOutputOfAnUnloggedRun) {
  const ProgramRun unlogged = RunWithConfiguration(kList, "");
  if (unlogged.exitStatus == kCannotPrepare) {
    GTEST_SKIP() << kNoMountNamespace;
  }
  const ProgramRun logged = RunWithConfiguration(kList, "[log]\nlevel = \"trace\"\nfilename = \"fw.log\"\n", false);
  EXPECT_EQ(unlogged.exitStatus, 0);
  EXPECT_EQ(unlogged.out.rfind("[Dev  0] FWCAM-1\n", 0), 0u) << unlogged.out;
  EXPECT_EQ(logged.exitStatus, 0);
  EXPECT_EQ(logged.out, unlogged.out);
}

}  // namespace
}  // namespace fwupdate
