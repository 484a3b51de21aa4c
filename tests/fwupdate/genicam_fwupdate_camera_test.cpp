// The step executor against an emulated camera: how long a command step waits, and that a reset
// lets go of the camera. The whole update road is the end-to-end tests'.
#include "core/libstatic_fwupdate/genicam_fwupdate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "core/libstatic_fwupdate/exception_update.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/package_builder.h"

namespace {

using quarx::core::fwupdate::ProcedureItem;
using quarx::core::fwupdate::ProcedureType;
using std::chrono::milliseconds;

// The camera is polled once a second: no poll for a time-out of 0, one wait for 1000 ms of a
// command never done, none for one done at the first poll (DeviceReset's register is
// write-only). After the reset, camera steps need a new connection.
TEST(GenICamUpdateCamera, CommandStepsWaitAtMostTheirTimeOutAndAResetLetsGoOfTheCamera) {
  REQUIRE_CAMERA_NAMESPACE();
  quarx::test::EmulatedCameraSpec spec;
  spec.neverDone = true;
  quarx::test::EmulatorLauncher camera({spec});
  quarx::test::TempPath package("executor-camera.guf");
  quarx::test::WritePackage(package.str(), "<GufRuleSet/>");
  auto guffile = std::make_unique<quarx::core::fwupdate::GuffileInfo>(package.str());
  auto record = std::make_unique<quarx::core::FoundDeviceInfo>("127.0.0.2", quarx::DeviceInterfaceTypeEnum::GEV);
  record->GetSerialNumber() = "EMU002";  // the emulator's on 127.0.0.2: the executor confirms it
  quarx::core::fwupdate::GenICamUpdate executor(record, guffile, 0);
  executor.ConnectCamera();
  // Out of update mode the camera refuses the update command at once, which would end it
  // within a millisecond: only in update mode does "never done" hold.
  ProcedureItem mode(ProcedureType::FeatureWrite, {"mode", "en"});
  mode.SetFeatureWriteValue("FirmwareUpdateMode", "On");
  executor.FeatureWrite(mode);

  struct Row {
    const char* command;
    std::uint32_t timeoutMs;
    milliseconds atLeast, below;
  };
  for (const Row& row : {Row{"FirmwareUpdateExecute", 0, milliseconds(0), milliseconds(500)},
                         Row{"FirmwareUpdateExecute", 1000, milliseconds(1000), milliseconds(2000)},
                         Row{"DeviceReset", 5000, milliseconds(0), milliseconds(500)}}) {
    ProcedureItem execute(ProcedureType::FeatureExecute, {"run", "en"});
    execute.SetFeaturExecuteValue(row.command, row.timeoutMs);
    const auto start = std::chrono::steady_clock::now();
    executor.FeatureExecute(execute);
    const auto took = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_TRUE(took >= row.atLeast && took < row.below) << row.command << " " << row.timeoutMs << ": " << took.count();
  }

  ProcedureItem reset(ProcedureType::DeviceReset, {"reset", "en"});
  reset.SetDeviceResetValue(100);
  executor.DeviceReset(reset);
  EXPECT_TRUE(camera.WaitForOutput(0, "reset", std::chrono::seconds(5)));
  try {
    executor.FeatureWrite(mode);
    ADD_FAILURE() << "no failure";
  } catch (const quarx::fwupdate::FWUpdateException& e) {
    EXPECT_STREQ(e.what(), "Not connected to the camera.");
  }
}

}  // namespace
