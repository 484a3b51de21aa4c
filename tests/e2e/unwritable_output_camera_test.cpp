// Output that cannot be written, end to end: a closed standard output ends an operation with
// status 1 before an update touches the camera, and a reader that goes away once the camera is
// being written lets the update run to its end before the status says the output was lost.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace quarx::test::e2e {
namespace {

using ::testing::HasSubstr;

constexpr const char* kClosed = "Error : Cannot write standard output: Bad file descriptor\n";

struct OutputCase {
  const char* name;
  std::vector<std::string> args;  // PKG stands for the package
  bool closedOutput;              // else a pipe whose reader goes away after `readUntil`
  std::string out;                // what standard error (closed output) or the pipe got
  std::string cameraLog;          // "" for a camera left untouched
  const char* answer = nullptr;   // waiting on standard input from the start
  const char* readUntil = nullptr;
};

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

class UnwritableOutput : public ::testing::TestWithParam<OutputCase> {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }
};

TEST_P(UnwritableOutput, EndsWithStatusOneAndTheCameraUntouchedOrUpdated) {
  const OutputCase& c = GetParam();
  const EmulatorLauncher cameras({EmulatedCameraSpec{}});
  const TempPath package("e2e-unwritable.guf");
  WriteUpdatePackage(package.str(), {UpdateSpec{}});
  std::vector<std::string> args = c.args;
  std::replace(args.begin(), args.end(), std::string("PKG"), package.str());
  args.insert(args.end(), {"--timeout", kDiscoveryMs});
  RunOptions setup;
  setup.closedOutput = c.closedOutput;
  setup.keepInputOpen = c.answer != nullptr;
  RunningProgram program(args, setup);
  if (c.answer != nullptr) {
    program.Answer(c.answer);
  }
  if (c.readUntil != nullptr) {
    ASSERT_TRUE(program.WaitForOutput(c.readUntil, std::chrono::seconds(20)));
    program.CloseOutput();
  }
  const ProgramRun run = program.Finish();
  EXPECT_EQ(run.exitStatus, 1) << run.out;
  EXPECT_THAT(run.out, HasSubstr(c.out));
  if (c.cameraLog.empty()) {
    EXPECT_EQ(cameras.Output(0), "fwcam-emulator ready 127.0.0.2\n");
    // Once the tool wrote into its own pattern matcher, which then took its text for sizes.
    EXPECT_LT(run.elapsed, std::chrono::seconds(10));
#ifndef QUARX_ADDRESS_SANITIZER
    EXPECT_LT(run.maxRssKiB, 64 * 1024);
#endif
  } else {
    EXPECT_THAT(cameras.Output(0), HasSubstr(c.cameraLog));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Output, UnwritableOutput,
    ::testing::Values(
        OutputCase{"UpdateWithoutQuestion", {"-u", "PKG", "--no-prompt"}, true, kClosed, ""},
        // The answer is there, but the user saw neither the preview nor the question.
        OutputCase{"UpdateAnsweredWithoutSeeingTheQuestion", {"-u", "PKG"}, true, kClosed, "", "y\n"},
        OutputCase{"FileInfo", {"-f", "PKG"}, true, kClosed, ""},
        // `fwupdate -u ... | head`: the camera is never left half-updated for a reader gone.
        OutputCase{"ReaderGoneDuringTheUpload", {"-u", "PKG", "--no-prompt"}, false,
                   "Progress   : Upload update binary", "back version=2.0.0", nullptr,
                   "Progress   : Upload update binary"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarx::test::e2e
