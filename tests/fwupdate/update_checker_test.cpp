// The applicability checker over discovery records and a mocked camera: condition order, the
// temporary connection, what counts as a match, and the limits that keep the matcher safe.
#include "core/libstatic_fwupdate/update_checker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "core/exception_core.h"
#include "core/libstatic_fwupdate/control_xml_elements.h"
#include "core/libstatic_fwupdate/device_identity.h"
#include "core/libstatic_fwupdate/guffile_info.h"
#include "core/libstatic_fwupdate/pattern_match.h"
#include "tests/fwupdate/mock_camera.h"
#include "tests/support/log_capture.h"
#include "tests/support/usb_cameras.h"

namespace {

using quarx::core::fwupdate::kMaxMatchedValueBytes;
using quarx::core::fwupdate::kMaxPatternBytes;
using quarx::test::LogCapture;
using quarx::test::MockCamera;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> ErrorLines(const LogCapture& log) {
  std::vector<std::string> errors;
  for (const auto& line : log.Lines()) {
    if (line.rfind("[error]", 0) == 0) errors.push_back(line);
  }
  return errors;
}

bool Fits(MockCamera& camera, const std::map<std::string, std::string>& conditions,
          const std::string& version = "1.0.0", std::unique_ptr<quarx::core::FoundDeviceInfo> found = nullptr) {
  quarx::core::fwupdate::control_xml::Update record("P1");
  for (const auto& [feature, pattern] : conditions) record.AddCondition(feature, pattern);
  quarx::core::fwupdate::control_xml::ProcedureMap procedures;
  auto update = std::make_unique<quarx::core::fwupdate::Update>(record, procedures);
  if (!found) found = quarx::test::MakeRecord(version);
  return quarx::core::fwupdate::UpdateChecker(camera.Factory()).IsUpdatable(update, found);
}

// Record features are matched as whole strings without a connection. Conditions are taken in
// feature-name order and the first failure ends the check: "DeviceModelName" sorts before
// "DeviceVersion" and the camera-read "Width".
TEST(UpdateChecker, RecordConditionsMatchTheWholeValueInFeatureNameOrder) {
  MockCamera camera;
  camera.AddStringFeature("Width", "640");
  const std::pair<std::map<std::string, std::string>, bool> cases[] = {
      {{}, true},
      {{{"DeviceVendorName", "Velmora"}, {"DeviceModelName", "FWCAM-2|FWCAM-1"}, {"DeviceVersion", "1\\.0\\..*"}},
       true},
      {{{"DeviceVersion", "1\\.0"}}, false},
      {{{"DeviceModelName", "CAM-1"}}, false},
  };
  for (const auto& [conditions, fits] : cases) {
    EXPECT_EQ(Fits(camera, conditions), fits) << ::testing::PrintToString(conditions);
  }
  LogCapture log;
  EXPECT_FALSE(Fits(camera, {{"Width", "640"}, {"DeviceVersion", "9.9.9"}, {"DeviceModelName", "OTHER"}}));
  EXPECT_THAT(ErrorLines(log),
              ElementsAre("[error] (DeviceModelName) from camera(FWCAM-1) and expect(OTHER) is mismatch)"));
  EXPECT_EQ(camera.connects, 0);
}

// `-f` lists a USB3 Vision camera by the version read from it at discovery.
TEST(UpdateChecker, MatchesTheVersionAUsb3VisionCameraHolds) {
  MockCamera camera;
  for (const auto& [pattern, fits] : {std::pair{"1\\.2\\..*", true}, std::pair{"1\\.0\\..*", false}}) {
    EXPECT_EQ(Fits(camera, {{"DeviceVersion", pattern}}, "", quarx::test::DiscoveredUsbCamera({"1.2.0", "L3"})), fits);
  }
}

// A feature outside the record is read over a connection of its own, which is closed again
// whatever happens; each fault fails the condition with its own error line. A disconnection
// that fails twice leaves the check.
TEST(UpdateChecker, CameraReadConditionsLeaveTheCameraDisconnected) {
  const std::string notExist = "Not exist feature(DeviceUserID) at camera(127.0.0.2))";
  struct Row {
    const char* name;
    std::function<void(MockCamera&)> setUp;
    int disconnects;
    std::string error;  // none when the condition holds
  };
  const Row rows[] = {
      {"match", [](MockCamera& c) { c.AddStringFeature("DeviceUserID", "line-3"); }, 1, ""},
      {"mismatch", [](MockCamera& c) { c.AddStringFeature("DeviceUserID", "line-4"); }, 1,
       "(DeviceUserID) from camera(line-4) and expect(line-[3]) is mismatch)"},
      {"feature missing", [](MockCamera&) {}, 1, notExist},
      {"no connection", [](MockCamera& c) { c.FailConnect(); }, 0, notExist},
      // A match counts only once the camera is let go; the disconnection is tried once more.
      {"disconnection fails after reading",
       [](MockCamera& c) {
         c.AddStringFeature("DeviceUserID", "line-3");
         c.FailNextDisconnect();
       },
       1, notExist},
  };
  for (const Row& row : rows) {
    MockCamera camera;
    row.setUp(camera);
    LogCapture log;
    EXPECT_EQ(Fits(camera, {{"DeviceUserID", "line-[3]"}}), row.error.empty()) << row.name;
    EXPECT_EQ(ErrorLines(log), row.error.empty() ? std::vector<std::string>() : std::vector{"[error] " + row.error})
        << row.name;
    EXPECT_THAT(log.Text(), HasSubstr("[info] Connect to the camera to get feature(DeviceUserID)")) << row.name;
    EXPECT_EQ(camera.disconnects, row.disconnects) << row.name;
    EXPECT_FALSE(camera.connected) << row.name;
  }
  MockCamera camera;
  camera.AddStringFeature("DeviceUserID", "line-3");
  camera.FailDisconnect();
  EXPECT_THROW(Fits(camera, {{"DeviceUserID", "line-3"}}), quarx::ConnectException);
  // Another camera at the record's address tells nothing about the record's camera: the check
  // is not made, which is no mismatch, and nothing is read from it.
  MockCamera other;
  other.bootstrapSerial = "EMU009";
  auto userId = other.AddStringFeature("DeviceUserID", "line-3");
  EXPECT_CALL(*userId, ToString()).Times(0);
  EXPECT_THROW(Fits(other, {{"DeviceUserID", "line-3"}}), quarx::core::fwupdate::DeviceIdentityMismatch);
  EXPECT_FALSE(other.connected);
}

// An invalid or overlong pattern is the package's fault: an error, not false, before any
// connection. A value over its limit is not handed to the matcher: it does not match; nor does
// a match that fails (here: outlasts its CPU budget).
TEST(UpdateChecker, InvalidOrOverlongPatternIsAnErrorAndOverlongValueNoMatch) {
  MockCamera camera;
  for (const auto& [feature, pattern] :
       {std::pair("DeviceVersion", std::string("1.(0")), std::pair("DeviceUserID", std::string("1.(0")),
        std::pair("DeviceVersion", std::string(kMaxPatternBytes + 1, 'a'))}) {
    EXPECT_THROW(Fits(camera, {{feature, pattern}}), std::regex_error) << feature << " " << pattern.size();
  }
  EXPECT_EQ(camera.connects, 0);
  EXPECT_FALSE(Fits(camera, {{"DeviceVersion", std::string(kMaxPatternBytes, 'a')}}));
  const std::string over(kMaxMatchedValueBytes + 1, '1');
  camera.AddStringFeature("DeviceUserID", over);
  LogCapture log;
  EXPECT_FALSE(Fits(camera, {{"DeviceVersion", "1*"}}, over));
  EXPECT_FALSE(Fits(camera, {{"DeviceUserID", "1*"}}));
  EXPECT_FALSE(Fits(camera, {{"DeviceVersion", "a**{30}"}}));
  EXPECT_THAT(ErrorLines(log), ElementsAre(HasSubstr("(DeviceVersion) from camera(1111"), HasSubstr("(DeviceUserID)"),
                                           "[error] failed regex_match(regex_match exceeded its CPU time limit of 1000 ms)"));
  EXPECT_TRUE(Fits(camera, {{"DeviceVersion", "1*"}}, std::string(kMaxMatchedValueBytes, '1')));
}

}  // namespace
