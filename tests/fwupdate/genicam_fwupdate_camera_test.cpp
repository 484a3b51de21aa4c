// The step executor against an emulated camera: how long a command step waits, what a reset
// leaves behind, and upload failures the camera itself reports.
#include "core/libstatic_fwupdate/genicam_fwupdate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/libstatic_fwupdate/exception_update.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/log_capture.h"
#include "tests/support/package_builder.h"

namespace {

using quarx::core::FoundDeviceInfo;
using quarx::core::fwupdate::GenICamUpdate;
using quarx::core::fwupdate::GuffileInfo;
using quarx::core::fwupdate::ProcedureItem;
using quarx::core::fwupdate::ProcedureType;
using quarx::fwupdate::FWUpdateException;
using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using quarx::test::LogCapture;
using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;

constexpr auto kNoWait = std::chrono::milliseconds(500);
constexpr auto kOnePoll = std::chrono::milliseconds(1000);
constexpr int kDetailStep = 4002;

ProcedureItem ExecuteStep(const std::string& feature, std::uint32_t timeoutMs) {
  ProcedureItem item(ProcedureType::FeatureExecute, {"run", "en"});
  item.SetFeaturExecuteValue(feature, timeoutMs);
  return item;
}

class GenICamUpdateCameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    EmulatedCameraSpec spec;
    spec.address = "127.0.0.2";
    spec.neverDone = true;
    camera_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{spec});
    quarx::test::WritePackage(package_.str(), "<GufRuleSet/>", {{"firmware.img", "version=2.0.0\n"}});
    guffile_ = std::make_unique<GuffileInfo>(package_.str());
    executor_ = std::make_unique<GenICamUpdate>(record_, guffile_, 0);
    executor_->ConnectCamera();
    // Out of update mode the camera refuses the update command at once, which would end it
    // within a millisecond: only in update mode does "never done" hold.
    ProcedureItem mode(ProcedureType::FeatureWrite, {"mode", "en"});
    mode.SetFeatureWriteValue("FirmwareUpdateMode", "On");
    executor_->FeatureWrite(mode);
  }

  static std::chrono::milliseconds Timed(const std::function<void()>& call) {
    const auto start = Clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  }

  static int FailureDetail(const std::function<void()>& call, std::string* message) {
    try {
      call();
    } catch (const FWUpdateException& e) {
      *message = e.what();
      return e.GetErrCodeDetail();
    }
    return 0;
  }

  quarx::test::TempPath package_{"executor-camera.guf"};
  std::unique_ptr<EmulatorLauncher> camera_;
  std::unique_ptr<FoundDeviceInfo> record_ =
      std::make_unique<FoundDeviceInfo>("127.0.0.2", quarx::DeviceInterfaceTypeEnum::GEV);
  std::unique_ptr<GuffileInfo> guffile_;
  std::unique_ptr<GenICamUpdate> executor_;
};

TEST_F(GenICamUpdateCameraTest, ZeroTimeoutExecutesWithoutWaiting) {
  const auto took = Timed([&] { executor_->FeatureExecute(ExecuteStep("FirmwareUpdateExecute", 0)); });
  EXPECT_LT(took, kNoWait);
}

TEST_F(GenICamUpdateCameraTest, CommandThatNeverCompletesEndsNormallyAfterItsTimeout) {
  const auto took = Timed([&] { executor_->FeatureExecute(ExecuteStep("FirmwareUpdateExecute", 1000)); });
  EXPECT_GE(took, kOnePoll);
  EXPECT_LT(took, 2 * kOnePoll);
}

TEST_F(GenICamUpdateCameraTest, CommandDoneAtFirstPollDoesNotWait) {
  // DeviceReset's register is write-only, so the command counts as done at once.
  const auto took = Timed([&] { executor_->FeatureExecute(ExecuteStep("DeviceReset", 5000)); });
  EXPECT_LT(took, kNoWait);
}

TEST_F(GenICamUpdateCameraTest, AfterResetCameraStepsNeedNewConnectionButVersionCheckWorks) {
  ProcedureItem reset(ProcedureType::DeviceReset, {"reset", "en"});
  reset.SetDeviceResetValue(100);
  executor_->DeviceReset(reset);
  EXPECT_TRUE(camera_->WaitForOutput(0, "reset", std::chrono::seconds(5)));

  ProcedureItem write(ProcedureType::FeatureWrite, {"write", "en"});
  write.SetFeatureWriteValue("FirmwareUpdateMode", "On");
  std::string message;
  EXPECT_EQ(FailureDetail([&] { executor_->FeatureWrite(write); }, &message), kDetailStep);
  EXPECT_EQ(message, "Not connected to the camera.");

  ProcedureItem check(ProcedureType::FeatureAssert, {"check", "en"});
  check.SetFeaturAssertValue("DeviceVersion", "1\\.0\\.0");
  auto found = std::make_unique<FoundDeviceInfo>("127.0.0.2", quarx::DeviceInterfaceTypeEnum::GEV);
  found->GetVersion() = "1.0.0";
  EXPECT_TRUE(executor_->FeatureAssert(check, found));
}

struct UploadFailureCase {
  const char* name;
  std::string deviceFile;
  std::string expected;
};

class UploadFailureTest : public GenICamUpdateCameraTest, public ::testing::WithParamInterface<UploadFailureCase> {};

TEST_P(UploadFailureTest, CameraRefusalBecomes4002WithWriterText) {
  ProcedureItem upload(ProcedureType::FileUpload, {"upload", "en"});
  upload.SetFileUploadValue(GetParam().deviceFile, "firmware.img");
  std::string message;
  EXPECT_EQ(FailureDetail([&] { executor_->FileUpload(upload); }, &message), kDetailStep);
  EXPECT_THAT(message, HasSubstr(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(GenICamUpdateCamera, UploadFailureTest,
                         ::testing::Values(UploadFailureCase{"ReadOnlyFile", "ReadOnlyFile", "Not support write file"},
                                           UploadFailureCase{"FileThatFailsToOpen", "FailingFile",
                                                             "Failed to open file(FailingFile) status(Failure)"},
                                           UploadFailureCase{"UnknownFile", "NoSuchFile", "Not support write file"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The executor's own lines of one whole walk, in this order; lines of the layers below stand
// between them. After the reset nothing is left to disconnect: the destructor logs its entry only.
TEST(GenICamUpdateCameraWalk, EveryStepLogsItsEntryAndItsWork) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatorLauncher camera({EmulatedCameraSpec{}});
  quarx::test::TempPath package("executor-walk.guf");
  quarx::test::WritePackage(package.str(), "<GufRuleSet/>", {{"firmware.img", "version=2.0.0\n"}});
  auto guffile = std::make_unique<GuffileInfo>(package.str());
  auto record = std::make_unique<FoundDeviceInfo>("127.0.0.2", quarx::DeviceInterfaceTypeEnum::GEV);
  auto found = std::make_unique<FoundDeviceInfo>("127.0.0.2", quarx::DeviceInterfaceTypeEnum::GEV);
  found->GetVersion() = "2.0.0";

  ProcedureItem write(ProcedureType::FeatureWrite, {"mode", "en"});
  write.SetFeatureWriteValue("FirmwareUpdateMode", "On");
  ProcedureItem upload(ProcedureType::FileUpload, {"image", "en"});
  upload.SetFileUploadValue("Firmware", "firmware.img");
  ProcedureItem reset(ProcedureType::DeviceReset, {"reset", "en"});
  reset.SetDeviceResetValue(1500);
  ProcedureItem check(ProcedureType::FeatureAssert, {"check", "en"});
  check.SetFeaturAssertValue("DeviceVersion", "2\\.0\\.0");

  LogCapture log;
  {
    GenICamUpdate executor(record, guffile, 0);
    executor.ConnectCamera();
    executor.FeatureWrite(write);
    executor.FileUpload(upload);
    executor.FeatureExecute(ExecuteStep("FirmwareUpdateExecute", 5000));
    executor.DeviceReset(reset);
    EXPECT_TRUE(executor.FeatureAssert(check, found));
  }

  const std::vector<std::string> expected = {
      "[info] <FeatureWrite>",
      "[debug] <FeatureWrite> feature(FirmwareUpdateMode) value(On)",
      "[info] <FileUpload>",
      "[debug] Filename(firmware.img) DeviceFilename(Firmware)",
      "[info] size of update file (14)",
      "[info] <FeatureExecute>",
      "[info] (FeatureExecute) feature_name(FirmwareUpdateExecute) maximum_timeout_ms(5000)",
      "[info] Execute FirmwareUpdateExecute",
      "[debug] <FeatureExecute> writing(0)",
      "[info] <FeatureExecute> IsDone(FirmwareUpdateExecute)=>true",
      "[info] <DeviceReset>",
      "[info] (DeviceReset) device_discovery_delay_ms(1500)",
      "[info] <FeatureAssert>",
      "[info] (FeatureAssert) feature_name(DeviceVersion) assert_pattern(2\\.0\\.0)",
      "[debug] <~GenICamUpdate>",
  };
  const std::vector<std::string> lines = log.Lines();
  auto at = lines.begin();
  for (const std::string& line : expected) {
    at = std::find(at, lines.end(), line);
    ASSERT_NE(at, lines.end()) << "missing, or out of order: " << line << "\nlog:\n" << log.Text();
  }
  EXPECT_EQ(std::next(at), lines.end()) << log.Text();
}

}  // namespace
