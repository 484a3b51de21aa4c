// The file information operation end to end: the real fwupdate program lists a package's updates
// and the emulated cameras each one fits, line by line, with its exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/package_builder.h"

namespace quarx::test::e2e {
namespace {

using ::testing::ElementsAreArray;

constexpr int kExitFailure = 1;

// Update 0 fits FWCAM-1 cameras, update 1 every Velmora camera, and update 2 (without
// information entries or steps) the camera whose user-defined name, read over a connection,
// is "cam-b".
std::vector<UpdateSpec> ThreeUpdates() {
  UpdateSpec forModel;
  forModel.description = "for FWCAM-1";
  UpdateSpec forVendor;
  forVendor.conditions = {{"DeviceVendorName", "Velmora"}};
  forVendor.version = "3.0.0";
  forVendor.description = "any Velmora";
  UpdateSpec byUserName;
  byUserName.conditions = {{"DeviceUserID", "cam-b"}};
  byUserName.version.reset();
  byUserName.description.reset();
  byUserName.withSteps = false;
  return {forModel, forVendor, byUserName};
}

const std::vector<std::string> kIndex0 = {"[Index 0]", "    Version        : 2.0.0",
                                          "    Description    : for FWCAM-1"};
const std::vector<std::string> kIndex1 = {"[Index 1]", "    Version        : 3.0.0",
                                          "    Description    : any Velmora"};
const std::vector<std::string> kIndex2 = {"[Index 2]", "    Version        : ", "    Description    : "};
const std::string kMatched = "    Matched device :";
const std::string kDev0 = "        [Dev 0] FWCAM-1 Version : 1.0.0";
const std::string kDev1 = "        [Dev 1] FWCAM-2 Version : 1.0.0";

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

class FileInfoCameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    WriteUpdatePackage(package_.str(), ThreeUpdates());
  }

  void StartTwoCameras() {
    EmulatedCameraSpec a;
    a.address = "127.0.0.2";
    a.userName = "cam-a";
    EmulatedCameraSpec b;
    b.address = "127.0.0.3";
    b.model = "FWCAM-2";
    b.userName = "cam-b";
    cameras_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{a, b});
  }

  ProgramRun FileInfo(std::vector<std::string> options) const {
    std::vector<std::string> args = {"-f", package_.str(), "--timeout", kDiscoveryMs};
    args.insert(args.end(), options.begin(), options.end());
    return RunFwupdate(args);
  }

  TempPath package_{"e2e-file-info.guf"};
  std::unique_ptr<EmulatorLauncher> cameras_;
};

TEST_F(FileInfoCameraTest, AllCamerasAreTestedAgainstEveryUpdate) {
  StartTwoCameras();
  const auto run = FileInfo({});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(),
              ElementsAreArray(
                  Join({kIndex0, {kMatched, kDev0}, kIndex1, {kMatched, kDev0, kDev1}, kIndex2, {kMatched, kDev1}})));
}

TEST_F(FileInfoCameraTest, OneCameraIsTestedAlone) {
  StartTwoCameras();
  const auto run = FileInfo({"-d", "1"});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(),
              ElementsAreArray(Join({kIndex0, {kMatched}, kIndex1, {kMatched, kDev1}, kIndex2, {kMatched, kDev1}})));
}

TEST_F(FileInfoCameraTest, NoTestShowsOnlyTheUpdates) {
  StartTwoCameras();
  const auto run = FileInfo({"--no-test"});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({kIndex0, kIndex1, kIndex2})));
}

TEST_F(FileInfoCameraTest, DeviceNumberPastTheListFailsAfterTheFirstHeading) {
  StartTwoCameras();
  const auto run = FileInfo({"-d", "5"});
  EXPECT_EQ(run.exitStatus, kExitFailure) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({kIndex0,
                                                  {kMatched, "",
                                                   " Error : vector::_M_range_check: __n (which is 5) >= this->size() "
                                                   "(which is 2) "}})));
}

TEST_F(FileInfoCameraTest, WithoutCamerasEveryHeadingStandsAlone) {
  const auto run = FileInfo({});
  EXPECT_EQ(run.exitStatus, 0) << run.out;
  EXPECT_THAT(run.Lines(), ElementsAreArray(Join({kIndex0, {kMatched}, kIndex1, {kMatched}, kIndex2, {kMatched}})));
}

}  // namespace
}  // namespace quarx::test::e2e
