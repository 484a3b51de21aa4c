// The update operation when the camera hangs in the middle of the upload and when the user stops
// the tool with a signal: the camera's file is closed, a stopped update never resets the camera,
// and the tool ends with its error line and the exit status shells report.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace quarx::test::e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::chrono::seconds kWaitForCamera{20};
// The camera stops once its file holds this much: within the first piece the tool writes.
constexpr const char* kStallAfter = "8192";
constexpr const char* kStalled = "stalled size=8192";
// More than one piece of the upload, so that a stop lands while the file is open.
constexpr std::size_t kLargeImage = 200 * 1024;
// A camera request gives up after about 2.5 s (five tries of 500 ms): resuming the camera 4 s
// into its hang lets the upload fail first and the close that follows reach the camera.
constexpr std::chrono::milliseconds kHang{4000};
constexpr std::chrono::milliseconds kBetweenSignals{100};
// A stop is seen within milliseconds; this leaves room for a loaded machine.
constexpr std::chrono::milliseconds kPrompt{2000};

class InterruptCameraTest : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }
  void TearDown() override {
    // A camera left stopped would not end on SIGTERM.
    if (cameras_ && cameras_->Pid(0) > 0) {
      Resume();
    }
  }

  void Start(const EmulatedCameraSpec& camera) { cameras_ = std::make_unique<EmulatorLauncher>(std::vector{camera}); }
  void Resume() { kill(cameras_->Pid(0), SIGCONT); }
  std::string CameraLog() const { return cameras_->Output(0); }

  std::unique_ptr<RunningProgram> Update(const UpdateSpec& spec = UpdateSpec{}) {
    WriteUpdatePackage(package_.str(), {spec}, "2.0.0", kLargeImage);
    return std::make_unique<RunningProgram>(
        std::vector<std::string>{"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs}, "");
  }

  TempPath package_{"e2e-interrupt.guf"};
  std::unique_ptr<EmulatorLauncher> cameras_;
};

EmulatedCameraSpec StallingCamera() {
  EmulatedCameraSpec camera;
  camera.extraArguments = {"--stall-after", kStallAfter};
  return camera;
}

// The last progress line, then the error line.
std::vector<std::string> Ending(const ProgramRun& run) {
  const auto lines = run.Lines();
  return lines.size() < 3 ? lines : std::vector<std::string>(lines.end() - 3, lines.end());
}

TEST_F(InterruptCameraTest, CameraHangingMidUploadFailsItAndGetsItsFileClosedOnceItResumes) {
  Start(StallingCamera());
  const auto program = Update();
  ASSERT_TRUE(cameras_->WaitForOutput(0, kStalled, kWaitForCamera)) << CameraLog();
  std::this_thread::sleep_for(kHang);
  Resume();
  const auto run = program->Finish();
  EXPECT_EQ(run.exitStatus, 1) << run.out;
  EXPECT_THAT(Ending(run), ElementsAre("Progress   : Upload update binary", "",
                                       " Error : <Write> Failed to write file(Firmware) mode(write) "));
  EXPECT_THAT(CameraLog(), HasSubstr("file Firmware closed size=8192 "));
}

struct SignalCase {
  const char* name;
  bool duringUpload;  // else during the install wait
  std::vector<int> signals;
  int exitStatus;
  std::string ending;  // the last progress line and the error line; none for a tool ended at once
  std::string closed;  // what the camera reports of its file; nothing when it is left open
};

void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.name; }

class InterruptSignalTest : public InterruptCameraTest, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(InterruptSignalTest, StopsAtTheNextSafePointClosingTheFileWithoutResettingTheCamera) {
  const SignalCase& c = GetParam();
  EmulatedCameraSpec camera = c.duringUpload ? StallingCamera() : EmulatedCameraSpec{};
  camera.installMs = 20000;
  Start(camera);
  UpdateSpec spec;
  spec.executeTimeoutMs = 30000;
  const auto program = Update(spec);
  if (c.duringUpload) {
    ASSERT_TRUE(cameras_->WaitForOutput(0, kStalled, kWaitForCamera)) << CameraLog();
  } else {
    ASSERT_TRUE(program->WaitForOutput("Progress   : Execute update process", kWaitForCamera));
  }
  for (const int signal : c.signals) {
    // Two signals sent at once would merge into one: the first is handled before the next.
    std::this_thread::sleep_for(kBetweenSignals);
    program->Signal(signal);
  }
  const auto signalled = std::chrono::steady_clock::now();
  if (c.duringUpload && !c.ending.empty()) {
    Resume();
  }
  const auto run = program->Finish();
  EXPECT_LT(std::chrono::steady_clock::now() - signalled, kPrompt);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.out;
  if (c.ending.empty()) {
    EXPECT_THAT(run.out, Not(HasSubstr("Error")));
  } else {
    const auto ending = Ending(run);
    EXPECT_EQ(ending.front() + "\n" + ending.back(), c.ending) << run.out;
  }
  EXPECT_THAT(CameraLog(), HasSubstr(c.closed));
  EXPECT_THAT(CameraLog(), Not(HasSubstr(" reset")));
}

INSTANTIATE_TEST_SUITE_P(
    UpdateInterrupt, InterruptSignalTest,
    ::testing::Values(
        SignalCase{"SigintDuringUpload", true, {SIGINT}, 130,
                   "Progress   : Upload update binary\n"
                   " Error : Update interrupted by signal SIGINT in step : Upload update binary ",
                   "file Firmware closed size=65536 "},
        SignalCase{"SecondSigintEndsAtOnce", true, {SIGINT, SIGINT}, 130, "", ""},
        SignalCase{"SigintDuringInstallWait", false, {SIGINT}, 130,
                   "Progress   : Execute update process (Estimated time = 30 Sec.)\n"
                   " Error : Update interrupted by signal SIGINT in step : Execute update process (Estimated time "
                   "= 30 Sec.) ",
                   "file Firmware closed size="},
        SignalCase{"SigtermDuringInstallWait", false, {SIGTERM}, 143,
                   "Progress   : Execute update process (Estimated time = 30 Sec.)\n"
                   " Error : Update interrupted by signal SIGTERM in step : Execute update process (Estimated time "
                   "= 30 Sec.) ",
                   "file Firmware closed size="}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarx::test::e2e
