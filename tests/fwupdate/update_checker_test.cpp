// The applicability checker over discovery records and a mocked camera: condition order, the
// temporary connection, what counts as a match, and the limits that keep the matcher safe.
#include "core/libstatic_fwupdate/update_checker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "core/exception_core.h"
#include "core/libstatic_fwupdate/control_xml_elements.h"
#include "core/libstatic_fwupdate/guffile_info.h"
#include "tests/fwupdate/mock_camera.h"
#include "tests/support/log_capture.h"

namespace {

using quarx::core::FoundDeviceInfo;
using quarx::core::fwupdate::kMatchBudgetMs;
using quarx::core::fwupdate::kMaxMatchedValueBytes;
using quarx::core::fwupdate::kMaxPatternBytes;
using quarx::core::fwupdate::Update;
using quarx::core::fwupdate::UpdateChecker;
using quarx::test::LogCapture;
using quarx::test::MakeRecord;
using quarx::test::MockCamera;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

std::unique_ptr<Update> MakeUpdate(const std::map<std::string, std::string>& conditions) {
  quarx::core::fwupdate::control_xml::Update record("P1");
  for (const auto& [feature, pattern] : conditions) {
    record.AddCondition(feature, pattern);
  }
  quarx::core::fwupdate::control_xml::ProcedureMap procedures;
  return std::make_unique<Update>(record, procedures);
}

std::vector<std::string> ErrorLines(const LogCapture& log) {
  std::vector<std::string> errors;
  for (const auto& line : log.Lines()) {
    if (line.rfind("[error]", 0) == 0) {
      errors.push_back(line);
    }
  }
  return errors;
}

class UpdateCheckerTest : public ::testing::Test {
 protected:
  MockCamera camera_;
  UpdateChecker checker_{camera_.Factory()};
  std::unique_ptr<FoundDeviceInfo> record_ = MakeRecord("Velmora", "FWCAM-1", "1.0.0");
};

TEST_F(UpdateCheckerTest, UpdateWithoutConditionsFitsWithoutLogOrConnection) {
  auto update = MakeUpdate({});
  LogCapture log;
  EXPECT_TRUE(checker_.IsUpdatable(update, record_));
  EXPECT_THAT(log.Lines(), IsEmpty());
  EXPECT_EQ(camera_.created, 0);
}

struct RecordCase {
  const char* name;
  std::map<std::string, std::string> conditions;
  bool fits;
};

class RecordConditionTest : public UpdateCheckerTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordConditionTest, MatchesWholeRecordValueWithoutConnecting) {
  auto update = MakeUpdate(GetParam().conditions);
  EXPECT_EQ(checker_.IsUpdatable(update, record_), GetParam().fits);
  EXPECT_EQ(camera_.created, 0);
}

INSTANTIATE_TEST_SUITE_P(
    UpdateChecker, RecordConditionTest,
    ::testing::Values(
        RecordCase{"AllThreeRecordFeatures",
                   {{"DeviceVendorName", "Velmora"}, {"DeviceModelName", "FWCAM-1"}, {"DeviceVersion", "1\\.0\\..*"}},
                   true},
        RecordCase{"PrefixOfVersionIsNoMatch", {{"DeviceVersion", "1\\.0"}}, false},
        RecordCase{"SuffixOfModelIsNoMatch", {{"DeviceModelName", "CAM-1"}}, false},
        RecordCase{"OtherVendor", {{"DeviceVendorName", "Acme"}}, false},
        RecordCase{"EmptyPatternMatchesOnlyEmptyValue", {{"DeviceVersion", ""}}, false},
        RecordCase{"AlternativePattern", {{"DeviceModelName", "FWCAM-2|FWCAM-1"}}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateCheckerTest, TakesConditionsInFeatureNameOrderAndStopsAtFirstFailure) {
  // Both fail; "DeviceModelName" sorts before "DeviceVersion", so only it is tested.
  auto update = MakeUpdate({{"DeviceVersion", "9.9.9"}, {"DeviceModelName", "OTHER"}});
  LogCapture log;
  EXPECT_FALSE(checker_.IsUpdatable(update, record_));
  EXPECT_THAT(ErrorLines(log),
              ElementsAre("[error] (DeviceModelName) from camera(FWCAM-1) and expect(OTHER) is mismatch)"));
}

TEST_F(UpdateCheckerTest, FailingRecordConditionOpensNoConnectionForLaterCameraFeature) {
  camera_.AddStringFeature("Width", "640");
  auto update = MakeUpdate({{"DeviceModelName", "OTHER"}, {"Width", "640"}});
  EXPECT_FALSE(checker_.IsUpdatable(update, record_));
  EXPECT_EQ(camera_.created, 0);
}

TEST_F(UpdateCheckerTest, ReadsOtherFeatureOverTemporaryConnectionAndClosesIt) {
  camera_.AddStringFeature("DeviceUserID", "line-3");
  auto update = MakeUpdate({{"DeviceUserID", "line-[0-9]"}, {"DeviceModelName", "FWCAM-1"}});
  LogCapture log;
  EXPECT_TRUE(checker_.IsUpdatable(update, record_));
  EXPECT_EQ(camera_.created, 1);
  EXPECT_EQ(camera_.connects, 1);
  EXPECT_EQ(camera_.disconnects, 1);
  EXPECT_FALSE(camera_.connected);
  EXPECT_THAT(log.Text(), HasSubstr("[info] Connect to the camera to get feature(DeviceUserID)"));
  EXPECT_THAT(log.Text(), HasSubstr("Cannot get feature(DeviceUserID) from DeviceInfo."));
}

TEST_F(UpdateCheckerTest, EachCameraConditionOpensItsOwnConnection) {
  camera_.AddStringFeature("DeviceUserID", "line-3");
  camera_.AddStringFeature("DeviceSerialNumber", "EMU002");
  auto update = MakeUpdate({{"DeviceUserID", "line-3"}, {"DeviceSerialNumber", "EMU.*"}});
  EXPECT_TRUE(checker_.IsUpdatable(update, record_));
  EXPECT_EQ(camera_.connects, 2);
  EXPECT_EQ(camera_.disconnects, 2);
}

TEST_F(UpdateCheckerTest, CameraValueMismatchIsLoggedAndConnectionClosed) {
  auto node = camera_.AddStringFeature("DeviceUserID", "line-3");
  // The value is read a second time for the log line.
  EXPECT_CALL(*node, ToString()).Times(2).WillRepeatedly(::testing::Return("line-3"));
  auto update = MakeUpdate({{"DeviceUserID", "line-4"}});
  LogCapture log;
  EXPECT_FALSE(checker_.IsUpdatable(update, record_));
  EXPECT_THAT(ErrorLines(log), Contains("[error] (DeviceUserID) from camera(line-3) and expect(line-4) is mismatch)"));
  EXPECT_EQ(camera_.disconnects, 1);
}

TEST_F(UpdateCheckerTest, NameDifferingOnlyInCaseFromRecordFeatureIsReadFromCamera) {
  camera_.AddStringFeature("devicemodelname", "FWCAM-1");
  auto update = MakeUpdate({{"devicemodelname", "FWCAM-1"}});
  EXPECT_TRUE(checker_.IsUpdatable(update, record_));
  EXPECT_EQ(camera_.connects, 1);
}

struct CameraFaultCase {
  const char* name;
  std::function<void(MockCamera&)> setUp;
  int disconnects;
};

class CameraFaultTest : public UpdateCheckerTest, public ::testing::WithParamInterface<CameraFaultCase> {};

TEST_P(CameraFaultTest, FailsConditionNamingFeatureAndConnectionIdAndLeavesCameraDisconnected) {
  GetParam().setUp(camera_);
  auto update = MakeUpdate({{"DeviceUserID", "line-3"}});
  LogCapture log;
  EXPECT_FALSE(checker_.IsUpdatable(update, record_));
  EXPECT_THAT(ErrorLines(log), Contains("[error] Not exist feature(DeviceUserID) at camera(127.0.0.2))"));
  EXPECT_EQ(camera_.disconnects, GetParam().disconnects);
  EXPECT_FALSE(camera_.connected);
}

INSTANTIATE_TEST_SUITE_P(
    UpdateChecker, CameraFaultTest,
    ::testing::Values(CameraFaultCase{"FeatureMissingInCamera", [](MockCamera&) {}, 1},
                      CameraFaultCase{"CameraCannotBeConnected", [](MockCamera& c) { c.FailConnect(); }, 0},
                      // A match counts only once the camera is let go; the disconnection is tried once more.
                      CameraFaultCase{"DisconnectionFailsAfterReading",
                                      [](MockCamera& c) {
                                        c.AddStringFeature("DeviceUserID", "line-3");
                                        c.FailNextDisconnect();
                                      },
                                      1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateCheckerTest, DisconnectionThatFailsAgainLeavesTheCheck) {
  camera_.AddStringFeature("DeviceUserID", "line-3");
  camera_.FailDisconnect();
  auto update = MakeUpdate({{"DeviceUserID", "line-3"}});
  EXPECT_THROW(checker_.IsUpdatable(update, record_), quarx::ConnectException);
}

TEST_F(UpdateCheckerTest, CameraOfAnotherMakerFailsConditionWithoutError) {
  MockCamera foreign("00:11:22:33:44:55");
  foreign.AddStringFeature("DeviceUserID", "x");
  UpdateChecker checker(foreign.Factory());
  auto update = MakeUpdate({{"DeviceUserID", ".*"}});
  EXPECT_FALSE(checker.IsUpdatable(update, record_));
  EXPECT_FALSE(foreign.connected);
}

TEST_F(UpdateCheckerTest, InvalidPatternIsAnErrorNotFalse) {
  for (const char* feature : {"DeviceVersion", "DeviceUserID"}) {
    auto update = MakeUpdate({{feature, "1.(0"}});
    EXPECT_THROW(checker_.IsUpdatable(update, record_), std::regex_error) << feature;
  }
  EXPECT_EQ(camera_.created, 0) << "an invalid pattern must not open a connection";
}

TEST_F(UpdateCheckerTest, OverlongPatternIsRefusedLikeAnInvalidOne) {
  const std::string longPattern(kMaxPatternBytes + 1, 'a');
  auto update = MakeUpdate({{"DeviceVersion", longPattern}});
  try {
    checker_.IsUpdatable(update, record_);
    FAIL() << "expected std::regex_error";
  } catch (const std::regex_error& e) {
    EXPECT_THAT(e.what(), HasSubstr("too long"));
  }
  auto atLimit = MakeUpdate({{"DeviceVersion", std::string(kMaxPatternBytes, 'a')}});
  EXPECT_FALSE(checker_.IsUpdatable(atLimit, record_));
}

TEST_F(UpdateCheckerTest, OverlongValueFailsConditionWithMismatchLineWithoutMatching) {
  record_->GetVersion() = std::string(kMaxMatchedValueBytes + 1, '1');
  auto update = MakeUpdate({{"DeviceVersion", "1*"}});
  LogCapture log;
  EXPECT_FALSE(checker_.IsUpdatable(update, record_));
  EXPECT_THAT(ErrorLines(log),
              ElementsAre(AllOf(HasSubstr("(DeviceVersion) from camera("), HasSubstr("and expect(1*) is mismatch)"))));

  record_->GetVersion() = std::string(kMaxMatchedValueBytes, '1');
  EXPECT_TRUE(checker_.IsUpdatable(update, record_));
}

// Patterns that overflow the matcher's stack or backtrack for minutes: each ends within its
// budget as an error, and as a condition that error is a logged false, never a crash.
TEST_F(UpdateCheckerTest, RunawayPatternsEndWithinTheBudgetAsAFailedCondition) {
  const std::string as(kMaxMatchedValueBytes, 'a');
  const std::pair<std::string, std::string> runaways[] = {
      {"()*{20000}", "1.0.0"},  {"a**{30}", "1.0.0"}, {"(a|a)*b", as}, {"(a*)*b", as},
      {"((a{1,20}){1,20}){1,20}b", as}, {"(.*)(.*)\\1\\2x", as},
  };
  for (const auto& [pattern, value] : runaways) {
    record_->GetVersion() = value;
    auto update = MakeUpdate({{"DeviceVersion", pattern}});
    LogCapture log;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(checker_.IsUpdatable(update, record_)) << pattern;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2 * kMatchBudgetMs)) << pattern;
    EXPECT_THAT(ErrorLines(log), ElementsAre(HasSubstr("[error] failed regex_match("))) << pattern;
  }
}

TEST_F(UpdateCheckerTest, OverlongCameraValueFailsCondition) {
  camera_.AddStringFeature("DeviceUserID", std::string(kMaxMatchedValueBytes + 1, 'x'));
  auto update = MakeUpdate({{"DeviceUserID", "x*"}});
  EXPECT_FALSE(checker_.IsUpdatable(update, record_));
  EXPECT_EQ(camera_.disconnects, 1);
}

}  // namespace
