// The step executor over a mocked camera: its failure table (detail 4002 with the cause's
// text, 3000 with an empty message), the connection it keeps, and the version check.
#include "core/libstatic_fwupdate/genicam_fwupdate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "core/libstatic_fwupdate/exception_update.h"
#include "core/libstatic_fwupdate/guffile_info.h"
#include "tests/fwupdate/mock_camera.h"
#include "tests/support/log_capture.h"
#include "tests/support/package_builder.h"

namespace {

using quarx::core::FoundDeviceInfo;
using quarx::core::fwupdate::GenICamUpdate;
using quarx::core::fwupdate::GuffileInfo;
using quarx::core::fwupdate::ProcedureItem;
using quarx::core::fwupdate::ProcedureType;
using quarx::fwupdate::FWUpdateException;
using quarx::test::LogCapture;
using quarx::test::MakeRecord;
using quarx::test::MockCamera;
using ::testing::_;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::Throw;

constexpr int kDetailFeature = 3000;
constexpr int kDetailStep = 4002;
constexpr int kDetailZip = 4003;

ProcedureItem Step(ProcedureType type) { return ProcedureItem(type, {"step", "en"}); }

ProcedureItem WriteStep(const std::string& feature, const std::string& value) {
  auto item = Step(ProcedureType::FeatureWrite);
  item.SetFeatureWriteValue(feature, value);
  return item;
}

ProcedureItem ExecuteStep(const std::string& feature, std::uint32_t timeoutMs) {
  auto item = Step(ProcedureType::FeatureExecute);
  item.SetFeaturExecuteValue(feature, timeoutMs);
  return item;
}

ProcedureItem UploadStep(const std::string& deviceFile, const std::string& file) {
  auto item = Step(ProcedureType::FileUpload);
  item.SetFileUploadValue(deviceFile, file);
  return item;
}

ProcedureItem ResetStep(std::uint32_t delayMs) {
  auto item = Step(ProcedureType::DeviceReset);
  item.SetDeviceResetValue(delayMs);
  return item;
}

ProcedureItem AssertStep(const std::string& pattern) {
  auto item = Step(ProcedureType::FeatureAssert);
  item.SetFeaturAssertValue("DeviceVersion", pattern);
  return item;
}

class GenICamUpdateTest : public ::testing::Test {
 protected:
  GenICamUpdateTest() {
    quarx::test::WritePackage(package_.str(), "<GufRuleSet/>", {{"firmware.img", "version=2.0.0\n"}});
    guffile_ = std::make_unique<GuffileInfo>(package_.str());
  }

  std::unique_ptr<GenICamUpdate> MakeExecutor() {
    return std::make_unique<GenICamUpdate>(record_, guffile_, 0, camera_.Factory());
  }

  // Runs `call`, expecting an update exception; returns it for inspection.
  static FWUpdateException Failure(const std::function<void()>& call) {
    try {
      call();
    } catch (const FWUpdateException& e) {
      return e;
    }
    ADD_FAILURE() << "expected FWUpdateException";
    return FWUpdateException(quarx::RESULT_FWUPDATE, quarx::ERR_FAILED, "none");
  }

  quarx::test::TempPath package_{"executor.guf"};
  MockCamera camera_;
  std::unique_ptr<FoundDeviceInfo> record_ = MakeRecord("Velmora", "FWCAM-1", "1.0.0");
  std::unique_ptr<GuffileInfo> guffile_;
};

struct WrongKindCase {
  const char* name;
  ProcedureType stepKind;
  std::function<void(GenICamUpdate&, const ProcedureItem&)> call;
};

class WrongKindTest : public GenICamUpdateTest, public ::testing::WithParamInterface<WrongKindCase> {};

TEST_P(WrongKindTest, StepOfAnotherKindFailsWith4002) {
  auto executor = MakeExecutor();
  executor->ConnectCamera();
  const ProcedureItem item = Step(GetParam().stepKind);
  LogCapture log;
  const auto e = Failure([&] { GetParam().call(*executor, item); });
  EXPECT_EQ(e.GetErrCodeDetail(), kDetailStep);
  EXPECT_STREQ(e.what(), "Invalid procedure type");
  EXPECT_THAT(log.Lines(), Contains("[error] Invalid procedure type"));
  EXPECT_THAT(log.Text(), HasSubstr(std::string("<") + GetParam().name + ":"));
}

std::unique_ptr<FoundDeviceInfo> noRecord;

INSTANTIATE_TEST_SUITE_P(
    GenICamUpdate, WrongKindTest,
    ::testing::Values(WrongKindCase{"FeatureWrite", ProcedureType::FileUpload,
                                    [](GenICamUpdate& x, const ProcedureItem& i) { x.FeatureWrite(i); }},
                      WrongKindCase{"FileUpload", ProcedureType::FeatureWrite,
                                    [](GenICamUpdate& x, const ProcedureItem& i) { x.FileUpload(i); }},
                      WrongKindCase{"FeatureExecute", ProcedureType::DeviceReset,
                                    [](GenICamUpdate& x, const ProcedureItem& i) { x.FeatureExecute(i); }},
                      WrongKindCase{"DeviceReset", ProcedureType::FeatureExecute,
                                    [](GenICamUpdate& x, const ProcedureItem& i) { x.DeviceReset(i); }},
                      WrongKindCase{"FeatureAssert", ProcedureType::DeviceReset,
                                    [](GenICamUpdate& x, const ProcedureItem& i) { x.FeatureAssert(i, noRecord); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct CameraStepCase {
  const char* name;
  std::function<void(GenICamUpdate&)> call;
};

const CameraStepCase kCameraSteps[] = {
    {"FeatureWrite", [](GenICamUpdate& x) { x.FeatureWrite(WriteStep("FirmwareUpdateMode", "On")); }},
    {"FileUpload", [](GenICamUpdate& x) { x.FileUpload(UploadStep("Firmware", "firmware.img")); }},
    {"FeatureExecute", [](GenICamUpdate& x) { x.FeatureExecute(ExecuteStep("FirmwareUpdateExecute", 0)); }},
    {"DeviceReset", [](GenICamUpdate& x) { x.DeviceReset(ResetStep(0)); }},
};

class CameraStepTest : public GenICamUpdateTest, public ::testing::WithParamInterface<CameraStepCase> {};

TEST_P(CameraStepTest, WithoutConnectionFailsWith4002NotConnected) {
  auto executor = MakeExecutor();
  const auto e = Failure([&] { GetParam().call(*executor); });
  EXPECT_EQ(e.GetErrCodeDetail(), kDetailStep);
  EXPECT_STREQ(e.what(), "Not connected to the camera.");
  EXPECT_EQ(camera_.created, 0);
}

INSTANTIATE_TEST_SUITE_P(GenICamUpdate, CameraStepTest, ::testing::ValuesIn(kCameraSteps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GenICamUpdateTest, ConnectCameraTwiceConnectsOnce) {
  auto executor = MakeExecutor();
  executor->ConnectCamera();
  executor->ConnectCamera();
  EXPECT_EQ(camera_.created, 1);
  EXPECT_EQ(camera_.connects, 1);
}

TEST_F(GenICamUpdateTest, ConnectCameraPassesCoreFailureUnwrapped) {
  camera_.FailConnect();
  auto executor = MakeExecutor();
  try {
    executor->ConnectCamera();
    FAIL() << "expected ConnectException";
  } catch (const quarx::ConnectException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), quarx::ERR_CONNECT);
  }
}

TEST_F(GenICamUpdateTest, FeatureWriteSetsFeatureFromText) {
  auto node = camera_.AddStringFeature("DeviceUserID", "old");
  EXPECT_CALL(*node, FromString(" new name "));
  auto executor = MakeExecutor();
  executor->ConnectCamera();
  executor->FeatureWrite(WriteStep("DeviceUserID", " new name "));
}

TEST_F(GenICamUpdateTest, MissingFeatureOrCommandFailsWith3000AndEmptyMessage) {
  auto node = camera_.AddStringFeature("Other", "x");
  EXPECT_CALL(*node, FromString(_)).Times(0);
  auto executor = MakeExecutor();
  executor->ConnectCamera();
  const std::function<void()> calls[] = {
      [&] { executor->FeatureWrite(WriteStep("FirmwareUpdateMode", "On")); },
      [&] { executor->FeatureExecute(ExecuteStep("FirmwareUpdateExecute", 1000)); },
      [&] { executor->DeviceReset(ResetStep(100)); },
  };
  for (const auto& call : calls) {
    const auto e = Failure(call);
    EXPECT_EQ(e.GetErrCodeDetail(), kDetailFeature);
    EXPECT_STREQ(e.what(), "");
  }
  EXPECT_TRUE(camera_.connected) << "a missing feature must leave the connection as it was";
}

TEST_F(GenICamUpdateTest, CoreFailureBecomes4002WithItsText) {
  auto node = camera_.AddStringFeature("FirmwareUpdateMode", "Off");
  EXPECT_CALL(*node, FromString("On"))
      .WillOnce(Throw(quarx::sdkadaptor::ExceptionSdkAdaptor(MockCamera::kGenericError, "Node is not writable")));
  camera_.AddCommand("FirmwareUpdateExecute");
  camera_.AddCommand("DeviceReset");
  auto executor = MakeExecutor();
  executor->ConnectCamera();

  LogCapture log;
  auto e = Failure([&] { executor->FeatureWrite(WriteStep("FirmwareUpdateMode", "On")); });
  EXPECT_EQ(e.GetErrCodeDetail(), kDetailStep);
  EXPECT_STREQ(e.what(), "Node is not writable");
  EXPECT_THAT(log.Lines(), Contains("[error] Node is not writable"));

  // The mocked command has no SDK node: executing it fails as the adaptor fails.
  e = Failure([&] { executor->FeatureExecute(ExecuteStep("FirmwareUpdateExecute", 0)); });
  EXPECT_EQ(e.GetErrCodeDetail(), kDetailStep);
  EXPECT_THAT(e.what(), HasSubstr("No SDK node"));

  e = Failure([&] { executor->DeviceReset(ResetStep(0)); });
  EXPECT_EQ(e.GetErrCodeDetail(), kDetailStep);
  EXPECT_TRUE(camera_.connected) << "a reset that failed keeps the connection";
}

TEST_F(GenICamUpdateTest, UploadToCameraWithoutFileAccessFailsWith4002) {
  auto executor = MakeExecutor();
  executor->ConnectCamera();
  const auto e = Failure([&] { executor->FileUpload(UploadStep("Firmware", "firmware.img")); });
  EXPECT_EQ(e.GetErrCodeDetail(), kDetailStep);
  EXPECT_STREQ(e.what(), "Not support write file");
}

TEST_F(GenICamUpdateTest, UploadOfFileMissingFromPackagePassesPackageFailureUnchanged) {
  auto executor = MakeExecutor();
  executor->ConnectCamera();
  const auto e = Failure([&] { executor->FileUpload(UploadStep("Firmware", "missing.img")); });
  EXPECT_EQ(e.GetErrCodeDetail(), kDetailZip);
}

struct AssertCase {
  const char* name;
  std::string version;
  std::string pattern;
  bool matches;
};

class FeatureAssertTest : public GenICamUpdateTest, public ::testing::WithParamInterface<AssertCase> {};

TEST_P(FeatureAssertTest, ComparesFoundRecordVersionWithoutConnection) {
  auto executor = MakeExecutor();
  auto found = MakeRecord("Velmora", "FWCAM-1", GetParam().version);
  LogCapture log;
  EXPECT_EQ(executor->FeatureAssert(AssertStep(GetParam().pattern), found), GetParam().matches);
  EXPECT_EQ(camera_.created, 0);
  const std::string mismatch =
      "[error] DeviceVersion mismatch, from camera(" + GetParam().version + ") expect(" + GetParam().pattern + "))";
  if (GetParam().matches) {
    EXPECT_THAT(log.Lines(), Not(Contains(mismatch)));
  } else {
    EXPECT_THAT(log.Lines(), Contains(mismatch));
  }
}

INSTANTIATE_TEST_SUITE_P(GenICamUpdate, FeatureAssertTest,
                         ::testing::Values(AssertCase{"Exact", "2.0.0", "2\\.0\\.0", true},
                                           AssertCase{"Pattern", "2.0.17", "2\\.0\\.[0-9]+", true},
                                           AssertCase{"PrefixOnly", "2.0.0-rc1", "2\\.0\\.0", false},
                                           AssertCase{"OldVersion", "1.0.0", "2\\.0\\.0", false},
                                           AssertCase{"OverlongVersion", std::string(5000, '2'), "2*", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GenICamUpdateTest, InvalidOverlongOrRunawayAssertPatternFailsWith4002) {
  auto executor = MakeExecutor();
  auto found = MakeRecord("Velmora", "FWCAM-1", "2.0.0");
  const std::pair<std::string, const char*> cases[] = {
      {"2.(0", ""},
      {std::string(2000, 'a'), "too long"},
      {"()*{20000}", "regex_match ran out of resources"},
      {"a**{30}", "regex_match exceeded its time limit of 1000 ms"},
  };
  for (const auto& [pattern, text] : cases) {
    const auto e = Failure([&] { executor->FeatureAssert(AssertStep(pattern), found); });
    EXPECT_EQ(e.GetErrCodeDetail(), kDetailStep) << pattern.substr(0, 10);
    EXPECT_THAT(e.what(), HasSubstr(text)) << pattern.substr(0, 10);
  }
}

TEST_F(GenICamUpdateTest, DestructorDisconnectsConnectedCamera) {
  auto executor = MakeExecutor();
  executor->ConnectCamera();
  executor.reset();
  EXPECT_EQ(camera_.disconnects, 1);
  EXPECT_FALSE(camera_.connected);
}

TEST_F(GenICamUpdateTest, DestructorOfNeverConnectedExecutorLogsOnlyItsEntry) {
  LogCapture log;
  MakeExecutor().reset();
  EXPECT_THAT(log.Lines(), ::testing::ElementsAre("[debug] <~GenICamUpdate>"));
  EXPECT_EQ(camera_.disconnects, 0);
}

TEST_F(GenICamUpdateTest, FailingDisconnectInDestructorIsLoggedNotThrown) {
  auto executor = MakeExecutor();
  executor->ConnectCamera();
  camera_.FailDisconnect();
  LogCapture log;
  EXPECT_NO_THROW(executor.reset());
  EXPECT_THAT(log.Text(), HasSubstr("[warning] Failed to disConnect.(GenericError, camera gone)"));
}

}  // namespace
