// The file information operation end to end: the real fwupdate program lists a package's updates
// and the emulated cameras each one fits, line by line, with its exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace quarx::test::e2e {
namespace {

const Lines kIndex0 = {"[Index 0]", "    Version        : 2.0.0", "    Description    : for FWCAM-1"};
const Lines kIndex1 = {"[Index 1]", "    Version        : 3.0.0", "    Description    : any Velmora"};
const Lines kIndex2 = {"[Index 2]", "    Version        : ", "    Description    : "};
const std::string kMatched = "    Matched device :";
const std::string kDev0 = "        [Dev 0] FWCAM-1 Version : 1.0.0";
const std::string kDev1 = "        [Dev 1] FWCAM-2 Version : 1.0.0";

TEST(FileInfoProgram, ListsEachUpdateWithTheCamerasItFits) {
  REQUIRE_CAMERA_NAMESPACE();
  // Update 0 fits FWCAM-1 cameras, update 1 every Velmora camera, and update 2 (without
  // information entries or steps) the camera whose user-defined name, read over a connection, is "cam-b".
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
  const TempPath package("e2e-file-info.guf");
  WriteUpdatePackage(package.str(), {forModel, forVendor, byUserName});
  const std::vector<std::string> fileInfo = {"-f", package.str(), "--timeout", kDiscoveryMs};

  const Lines alone = kIndex0 + Lines{kMatched} + kIndex1 + Lines{kMatched} + kIndex2 + Lines{kMatched};
  EXPECT_THAT(RunFwupdate(fileInfo).Lines(), ::testing::ElementsAreArray(alone)) << "without cameras";

  EmulatedCameraSpec a;
  a.userName = "cam-a";
  EmulatedCameraSpec b;
  b.address = "127.0.0.3";
  b.model = "FWCAM-2";
  b.userName = "cam-b";
  const EmulatorLauncher cameras({a, b});
  const struct {
    std::vector<std::string> options;
    int exitStatus;
    Lines lines;
  } kCases[] = {
      {{},
       0,
       kIndex0 + Lines{kMatched, kDev0} + kIndex1 + Lines{kMatched, kDev0, kDev1} + kIndex2 + Lines{kMatched, kDev1}},
      {{"-d", "1"}, 0, kIndex0 + Lines{kMatched} + kIndex1 + Lines{kMatched, kDev1} + kIndex2 + Lines{kMatched, kDev1}},
      {{"--no-test"}, 0, kIndex0 + kIndex1 + kIndex2},
      {{"-d", "5"},
       1,
       kIndex0 +
           Lines{kMatched, "", " Error : vector::_M_range_check: __n (which is 5) >= this->size() (which is 2) "}},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> args = fileInfo;
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ProgramRun run = RunFwupdate(args);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << run.out;
    EXPECT_THAT(run.Lines(), ::testing::ElementsAreArray(c.lines)) << run.out;
  }
}

}  // namespace
}  // namespace quarx::test::e2e
