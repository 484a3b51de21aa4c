// The update operation end to end: the real fwupdate program against emulated cameras in a
// private network namespace, its console output line by line and its exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/package_builder.h"

namespace quarx::test::e2e {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

constexpr const char* kRule = "======================================";
constexpr const char* kQuestion = "Do you want to update the device with this update? [y/n] : ";
constexpr int kExitFailure = 1;

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

std::vector<std::string> ErrorLines(const std::string& text) { return {"", " Error : " + text + " "}; }

class UpdateCameraTest : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }

  static EmulatedCameraSpec Camera(const std::string& address = "127.0.0.2") {
    EmulatedCameraSpec spec;
    spec.address = address;
    spec.userName = "line-2";
    return spec;
  }

  void Start(std::vector<EmulatedCameraSpec> specs) { cameras_ = std::make_unique<EmulatorLauncher>(std::move(specs)); }

  // An update that also reads a feature from the camera itself (DeviceUserID) to decide it fits.
  static UpdateSpec FittingUpdate() {
    UpdateSpec spec;
    spec.conditions["DeviceUserID"] = "line-[0-9]";
    return spec;
  }

  void WritePackage(const UpdateSpec& spec, const std::string& imageVersion = "2.0.0") {
    WriteUpdatePackage(package_.str(), {spec}, imageVersion);
  }

  std::vector<std::string> Preview(int device = 0, const std::string& serial = "EMU002") const {
    return {"Update file : " + package_.str(),
            "Description  : FWCAM-1 firmware 2.0.0",
            "",
            "Target : [Dev " + std::to_string(device) + "] FWCAM-1",
            "    VenderName       : Velmora",
            "    SerialNumber     : " + serial,
            "    UserDefinedName  : line-2",
            "    Version          : 1.0.0 => 2.0.0"};
  }

  static std::vector<std::string> Steps(const std::string& executeSeconds = "3",
                                        const std::string& resetSeconds = "1") {
    return {kRule,
            "Begin      : Update started",
            "Progress   : CheckPreconditions",
            "Progress   : Enable Firmware Update",
            "Progress   : Upload update binary",
            "Progress   : FileUpload 100%",
            "Progress   : Execute update process (Estimated time = " + executeSeconds + " Sec.)",
            "Progress   : Resets the device",
            "Progress   : Waiting after device reset (Estimated time = " + resetSeconds + " Sec.)",
            "Progress   : Searching device",
            "Progress   : Validate final device version"};
  }

  static std::vector<std::string> Success() { return {"Success    : Update OK", "", kRule}; }

  static std::vector<std::string> Result(int device = 0, const std::string& serial = "EMU002",
                                         const std::string& version = "2.0.0") {
    return {"",
            "Update success.",
            "",
            "Result : [Dev " + std::to_string(device) + "] FWCAM-1",
            "    VenderName       : Velmora",
            "    SerialNumber     : " + serial,
            "    UserDefinedName  : line-2",
            "    Version          : " + version};
  }

  // The version that `fwupdate -l` shows for device `device`.
  static std::string ListedVersion(int device) {
    const auto lines = RunFwupdate({"-l", "--timeout", kDiscoveryMs}).Lines();
    const std::string heading = "[Dev  " + std::to_string(device) + "]";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].rfind(heading, 0) == 0 && i + 4 < lines.size()) {
        return lines[i + 4];
      }
    }
    return "(device " + std::to_string(device) + " not listed)";
  }

  bool ImageUploaded(std::size_t camera) const {
    return cameras_->Output(camera).find("file Firmware closed") != std::string::npos;
  }

  TempPath package_{"e2e-update.guf"};
  std::unique_ptr<EmulatorLauncher> cameras_;
};

TEST_F(UpdateCameraTest, NoPromptUpdatePrintsEveryStepAndCameraComesBackAtNewVersion) {
  Start({Camera()});
  WritePackage(FittingUpdate());
  const auto run = RunFwupdate({"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({Preview(), {""}, Steps(), Success(), Result()})));
  EXPECT_EQ(ListedVersion(0), "    Version             : 2.0.0");
  EXPECT_THAT(cameras_->Output(0), HasSubstr("install succeeded version=2.0.0"));
}

TEST_F(UpdateCameraTest, SilentUpdateShowsOnlyPreviewAndResult) {
  Start({Camera()});
  WritePackage(FittingUpdate());
  const auto run = RunFwupdate({"-u", package_.str(), "--silent", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({Preview(), Result()})));
}

TEST_F(UpdateCameraTest, AnswerYesRepeatsQuestionAndYGoesOnSleepingTheWholeResetDelay) {
  Start({Camera()});
  UpdateSpec spec = FittingUpdate();
  spec.resetDelayMs = 2500;
  WritePackage(spec);
  const auto run = RunFwupdate({"-u", package_.str(), "--timeout", kDiscoveryMs}, "yes\nY\n");
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(),
              ElementsAreArray(
                  Join({Preview(), {"", std::string(kQuestion) + kQuestion}, Steps("3", "2"), Success(), Result()})));
  EXPECT_GE(run.elapsed, std::chrono::milliseconds(2500));
}

TEST_F(UpdateCameraTest, QuestionIsShownBeforeReadingAndAnswerNoLeavesCameraAlone) {
  Start({Camera()});
  WritePackage(FittingUpdate());
  RunningProgram program({"-u", package_.str(), "--timeout", kDiscoveryMs}, "", true);
  // Through a pipe the question is only seen if the tool flushes it before reading.
  EXPECT_TRUE(program.WaitForOutput(kQuestion, std::chrono::seconds(10)));
  program.Answer("n\n");
  const auto run = program.Finish();
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({Preview(), {"", kQuestion}})));
  EXPECT_FALSE(ImageUploaded(0));
  EXPECT_EQ(ListedVersion(0), "    Version             : 1.0.0");
}

TEST_F(UpdateCameraTest, EndOfInputAtQuestionFailsWithoutTouchingCamera) {
  Start({Camera()});
  WritePackage(FittingUpdate());
  const auto run = RunFwupdate({"-u", package_.str(), "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(
      run.Lines(),
      ElementsAreArray(Join(
          {Preview(), {"", kQuestion}, ErrorLines("No answer to the confirmation question; update not started")})));
  EXPECT_FALSE(ImageUploaded(0));
}

struct NotFittingCase {
  const char* name;
  std::map<std::string, std::string> extraConditions;
  std::string error;
  std::string mac = "";  // the emulator's own when empty
};

const std::string kNotThisDevice = "Error      : Invalid update data to this device : FWCAM-1";

// Names the case in test listings instead of a dump of its bytes.
void PrintTo(const NotFittingCase& c, std::ostream* os) { *os << c.name; }

class NotFittingTest : public UpdateCameraTest, public ::testing::WithParamInterface<NotFittingCase> {};

TEST_P(NotFittingTest, CameraThatDoesNotFitIsRefusedBeforeAnyStep) {
  EmulatedCameraSpec camera = Camera();
  if (!GetParam().mac.empty()) {
    camera.mac = GetParam().mac;
  }
  Start({camera});
  UpdateSpec spec;
  for (const auto& [feature, pattern] : GetParam().extraConditions) {
    spec.conditions[feature] = pattern;
  }
  WritePackage(spec);
  const auto run = RunFwupdate({"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(run.Lines(),
              ElementsAreArray(Join({Preview(),
                                     {"", kRule, "Begin      : Update started", "Progress   : CheckPreconditions"},
                                     ErrorLines(GetParam().error)})));
  EXPECT_FALSE(ImageUploaded(0));
}

INSTANTIATE_TEST_SUITE_P(UpdateCamera, NotFittingTest,
                         ::testing::Values(NotFittingCase{"RecordVersion", {{"DeviceVersion", "0\\..*"}}, kNotThisDevice},
                                           NotFittingCase{"FeatureReadOverConnection", {{"DeviceUserID", "line-1"}},
                                                          kNotThisDevice},
                                           NotFittingCase{"FeatureTheCameraLacks", {{"NoSuchFeature", ".*"}}, kNotThisDevice},
                                           // Refused when the tool connects to it before the first step.
                                           NotFittingCase{"CameraOfAnotherMaker", {},
                                                          "The specified connction_id is invalid. Is supports only "
                                                          "VELMORA camera.",
                                                          "00:11:22:33:44:55"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateCameraTest, CommandThatNeverCompletesEndsAtItsTimeoutAndVersionCheckFails) {
  EmulatedCameraSpec camera = Camera();
  camera.neverDone = true;
  Start({camera});
  UpdateSpec spec = FittingUpdate();
  spec.executeTimeoutMs = 2000;
  WritePackage(spec);
  const auto run = RunFwupdate({"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(run.Lines(),
              ElementsAreArray(Join({Preview(),
                                     {""},
                                     Steps("2", "1"),
                                     ErrorLines("Device version mismatch : camera(1.0.0) expect(2\\.0\\.0)")})));
  // Two polls a second apart, then the time-out: the wait is bounded, not endless.
  EXPECT_GE(run.elapsed, std::chrono::milliseconds(2000));
  EXPECT_LT(run.elapsed, std::chrono::milliseconds(15000));
}

TEST_F(UpdateCameraTest, CameraThatNeverComesBackFailsTheSearchNamingItsMac) {
  EmulatedCameraSpec camera = Camera();
  camera.neverBack = true;
  Start({camera});
  WritePackage(FittingUpdate());
  const auto run = RunFwupdate({"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  std::vector<std::string> steps = Steps();
  steps.pop_back();  // no validation without a camera
  EXPECT_THAT(run.Lines(),
              ElementsAreArray(Join(
                  {Preview(), {""}, steps, ErrorLines("Failed to find device within 1 sec : 02:5e:c1:00:00:02")})));
}

TEST_F(UpdateCameraTest, SearchThatFindsOnlyOtherCamerasFailsEvenAfterAnEarlierSearchFoundTheTarget) {
  EmulatedCameraSpec target = Camera("127.0.0.2");
  target.neverBack = true;
  Start({target, Camera("127.0.0.3")});
  // The first version check finds the camera before its reset; the second must not pass on
  // that old record while the camera itself is gone.
  const std::string xml =
      "<GufRuleSet>\n"
      "  <Update ProcedureId=\"P0\">\n"
      "    <Condition Feature=\"DeviceModelName\">FWCAM-1</Condition>\n"
      "    <Info><Entry Key=\"Version\">2.0.0</Entry>"
      "<Entry Key=\"Description\">FWCAM-1 firmware 2.0.0</Entry></Info>\n"
      "  </Update>\n"
      "  <Procedure Id=\"P0\">\n"
      "    <FeatureAssert><Description Lang=\"en\">before</Description><AssertPattern>1\\.0\\.0</AssertPattern>"
      "<FeatureName>DeviceVersion</FeatureName></FeatureAssert>\n"
      "    <DeviceReset><Description Lang=\"en\">reset</Description>"
      "<DeviceDiscoveryDelayMs>500</DeviceDiscoveryDelayMs></DeviceReset>\n"
      "    <FeatureAssert><Description Lang=\"en\">after</Description><AssertPattern>1\\.0\\.0</AssertPattern>"
      "<FeatureName>DeviceVersion</FeatureName></FeatureAssert>\n"
      "  </Procedure>\n"
      "</GufRuleSet>\n";
  quarx::test::WritePackage(package_.str(), xml, {});
  const auto run = RunFwupdate({"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({Preview(),
                                                  {"", kRule, "Begin      : Update started",
                                                   "Progress   : CheckPreconditions", "Progress   : Searching device",
                                                   "Progress   : Validate final device version",
                                                   "Progress   : Resets the device",
                                                   "Progress   : Waiting after device reset (Estimated time = 0 Sec.)",
                                                   "Progress   : Searching device"},
                                                  ErrorLines("NO target device : 02:5e:c1:00:00:02")})));
}

TEST_F(UpdateCameraTest, VersionMismatchAfterResetFailsWithoutSuccessLines) {
  Start({Camera()});
  WritePackage(FittingUpdate(), "2.0.1");
  const auto run = RunFwupdate({"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(
      run.Lines(),
      ElementsAreArray(
          Join({Preview(), {""}, Steps(), ErrorLines("Device version mismatch : camera(2.0.1) expect(2\\.0\\.0)")})));
}

TEST_F(UpdateCameraTest, OnlyTheTargetOfTwoCamerasChanges) {
  Start({Camera("127.0.0.2"), Camera("127.0.0.3")});
  WritePackage(FittingUpdate());
  const auto run = RunFwupdate({"-u", package_.str(), "-d", "1", "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(),
              ElementsAreArray(Join({Preview(1, "EMU003"), {""}, Steps(), Success(), Result(1, "EMU003")})));
  EXPECT_FALSE(ImageUploaded(0));
  EXPECT_EQ(ListedVersion(0), "    Version             : 1.0.0");
  EXPECT_EQ(ListedVersion(1), "    Version             : 2.0.0");
}

TEST_F(UpdateCameraTest, CameraBackOnAnotherAddressIsFoundAgainByItsMac) {
  Start({Camera("127.0.0.2")});
  UpdateSpec spec = FittingUpdate();
  spec.resetDelayMs = 4000;
  WritePackage(spec);
  RunningProgram program({"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs}, "");
  ASSERT_TRUE(cameras_->WaitForOutput(0, "fwcam-emulator 127.0.0.2 reset", std::chrono::seconds(20)));
  // While the tool waits, the camera comes back with the installed version on a new address.
  EmulatedCameraSpec moved = Camera("127.0.0.4");
  moved.mac = "02:5e:c1:00:00:02";
  moved.serial = "EMU002";
  moved.version = "2.0.0";
  cameras_->Stop(0);
  cameras_->Restart(0, moved);
  const auto run = program.Finish();
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({Preview(), {""}, Steps("3", "4"), Success(), Result()})));
}

TEST_F(UpdateCameraTest, UpdateWithoutStepsIsRefusedBeforeTheQuestion) {
  Start({Camera()});
  UpdateSpec spec = FittingUpdate();
  spec.withSteps = false;
  WritePackage(spec);
  const auto run = RunFwupdate({"-u", package_.str(), "--timeout", kDiscoveryMs}, "y\n");
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({Preview(), ErrorLines("No procedure steps in this update")})));
}

// The version check's pattern is used only after the camera was flashed and reset: a pattern
// that does not compile must stop the update before the question, the camera untouched.
TEST_F(UpdateCameraTest, InvalidPatternIsRefusedBeforeTheQuestionWithNothingWritten) {
  Start({Camera()});
  std::string libraryText;
  try {
    std::regex("2.(0", std::regex::ECMAScript);
  } catch (const std::regex_error& e) {
    libraryText = e.what();
  }
  UpdateSpec badAssert = FittingUpdate();
  badAssert.assertPattern = "2.(0";
  UpdateSpec badCondition = FittingUpdate();
  badCondition.conditions["DeviceUserID"] = "2.(0";
  for (const UpdateSpec& spec : {badAssert, badCondition}) {
    WritePackage(spec);
    const auto run = RunFwupdate({"-u", package_.str(), "--timeout", kDiscoveryMs}, "y\n");
    EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
    EXPECT_THAT(run.Lines(), ElementsAreArray(Join({Preview(), ErrorLines(libraryText)})));
  }
  // The emulator's event log holds its start and nothing else: no file, install or reset.
  EXPECT_EQ(cameras_->Output(0), "fwcam-emulator ready 127.0.0.2\n");
}

TEST_F(UpdateCameraTest, UpdateWithoutVersionCheckEndsAfterSuccessLineWithoutResult) {
  Start({Camera()});
  UpdateSpec spec = FittingUpdate();
  spec.withAssert = false;
  WritePackage(spec);
  const auto run = RunFwupdate({"-u", package_.str(), "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  std::vector<std::string> steps = Steps();
  steps.resize(steps.size() - 2);  // no search, no validation
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({Preview(), {""}, steps, Success(), {"", "Update success."}})));
}

TEST_F(UpdateCameraTest, DeviceNumberPastTheListFailsBeforeThePackageIsRead) {
  Start({Camera()});
  // The package does not exist: the index is checked first.
  const auto run =
      RunFwupdate({"-u", package_.str() + ".missing", "-d", "1", "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(ErrorLines("Invalid device idx: 1")));
}

std::string ReadSampleFile(const std::string& name) {
  const auto path = std::filesystem::path(__FILE__).parent_path() / "../../samples/sample-update" / name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(UpdateCameraTest, DemoSamplePackageUpdatesDefaultCameraToItsVersion) {
  EmulatedCameraSpec camera;
  camera.address = "127.0.0.2";
  Start({camera});
  quarx::test::WritePackage(package_.str(), ReadSampleFile("control.xml"),
                            {{"firmware.img", ReadSampleFile("firmware.img")}});
  const auto run = RunFwupdate({"-u", package_.str(), "--silent", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(), Contains("    Version          : 1.0.0 => 2.0.0"));
  EXPECT_THAT(run.Lines(), Contains("Update success."));
  EXPECT_EQ(ListedVersion(0), "    Version             : 2.0.0");
}

TEST(UpdateWithoutCamera, NoCameraFailsWithDeviceZero) {
  REQUIRE_CAMERA_NAMESPACE();
  const auto run = RunFwupdate({"-u", "missing.guf", "--no-prompt", "--timeout", kDiscoveryMs});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(ErrorLines("Invalid device idx: 0")));
}

}  // namespace
}  // namespace quarx::test::e2e
