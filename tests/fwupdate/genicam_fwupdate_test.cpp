// The step executor over a mocked camera: its failure table (4002 with the cause's text, 3000
// with an empty message, the version check's pattern failures) and the connection it keeps.
#include "core/libstatic_fwupdate/genicam_fwupdate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/libstatic_fwupdate/device_identity.h"
#include "core/libstatic_fwupdate/exception_update.h"
#include "core/libstatic_fwupdate/guffile_info.h"
#include "core/libstatic_fwupdate/pattern_match.h"
#include "tests/fwupdate/mock_camera.h"
#include "tests/support/log_capture.h"
#include "tests/support/package_builder.h"
#include "tests/support/usb_cameras.h"

namespace {

using quarx::core::fwupdate::GenICamUpdate;
using quarx::core::fwupdate::GuffileInfo;
using quarx::core::fwupdate::ProcedureItem;
using quarx::core::fwupdate::ProcedureType;
using quarx::test::LogCapture;
using quarx::test::MakeRecord;
using quarx::test::MockCamera;
using ::testing::HasSubstr;
using Call = std::function<void(GenICamUpdate&)>;
using G = GenICamUpdate;
using T = ProcedureType;

// A step of `type` whose text fields are `a` and `b`, whatever the kind reads of them.
ProcedureItem Step(T type, const std::string& a = "", const std::string& b = "") {
  ProcedureItem item(type, {"step", "en"});
  item.SetFeatureWriteValue(a, b);
  item.SetFeaturAssertValue(a, b);
  item.SetFileUploadValue(a, b);
  item.SetFeaturExecuteValue(a, 0);
  return item;
}

Call Do(void (G::*operation)(const ProcedureItem&), T type, const std::string& a = "", const std::string& b = "") {
  return [=](G& x) { (x.*operation)(Step(type, a, b)); };
}

Call Assert(const std::string& pattern) {
  return [=](G& x) {
    auto found = MakeRecord("2.0.0");
    x.FeatureAssert(Step(T::FeatureAssert, "DeviceVersion", pattern), found);
  };
}

class GenICamUpdateTest : public ::testing::Test {
 protected:
  GenICamUpdateTest() {
    quarx::test::WritePackage(package_.str(), "<GufRuleSet/>", {{"firmware.img", "version=2.0.0\n"}});
    guffile_ = std::make_unique<GuffileInfo>(package_.str());
  }

  // Connects `camera` for an update of `record`: confirmed unless `error` names the mismatch,
  // after which nothing is written and the camera is let go.
  void ExpectConfirmed(MockCamera& camera, const quarx::core::fwupdate::DeviceFactory& factory,
                       std::unique_ptr<quarx::core::FoundDeviceInfo> record, const std::string& error, int serialReads,
                       const std::string& name) {
    GenICamUpdate executor(record, guffile_, 0, factory);
    try {
      executor.ConnectCamera();
      EXPECT_EQ(error, "") << name;
      EXPECT_TRUE(camera.connected) << name;
    } catch (const quarx::core::fwupdate::DeviceIdentityMismatch& e) {
      EXPECT_EQ(e.what(), error) << name;
      EXPECT_FALSE(camera.connected) << name;
      EXPECT_THROW(executor.FeatureWrite(Step(T::FeatureWrite, "FirmwareUpdateMode", "On")),
                   quarx::fwupdate::FWUpdateException);
    }
    EXPECT_EQ(camera.serialReads, serialReads) << name;
  }

  std::unique_ptr<GenICamUpdate> Executor(bool connected = true) {
    auto executor = std::make_unique<GenICamUpdate>(record_, guffile_, 0, camera_.Factory());
    if (connected) executor->ConnectCamera();
    return executor;
  }

  quarx::test::TempPath package_{"executor.guf"};
  MockCamera camera_;
  std::unique_ptr<quarx::core::FoundDeviceInfo> record_ = MakeRecord("1.0.0");
  std::unique_ptr<GuffileInfo> guffile_;
};

TEST_F(GenICamUpdateTest, FailingStepsEndWithTheirDetailAndText) {
  auto node = camera_.AddStringFeature("FirmwareUpdateMode", "Off");
  ON_CALL(*node, FromString("On"))
      .WillByDefault(
          ::testing::Throw(quarx::sdkadaptor::ExceptionSdkAdaptor(MockCamera::kGenericError, "not writable")));
  struct Row {
    const char* name;
    Call call;
    int detail;
    std::string text;  // a part of it; empty only for the detail 3000
    bool connected = true;
  };
  const Row rows[] = {
      {"wrong kind", Do(&G::FeatureExecute, T::DeviceReset), 4002, "Invalid procedure type"},
      {"not connected", Do(&G::FeatureWrite, T::FeatureWrite, "Mode", "On"), 4002, "Not connected to the camera.",
       false},
      {"missing feature", Do(&G::FeatureWrite, T::FeatureWrite, "Other", "On"), 3000, ""},
      {"missing command", Do(&G::FeatureExecute, T::FeatureExecute, "Other"), 3000, ""},
      {"missing reset command", Do(&G::DeviceReset, T::DeviceReset), 3000, ""},
      {"core failure", Do(&G::FeatureWrite, T::FeatureWrite, "FirmwareUpdateMode", "On"), 4002, "not writable"},
      {"no file access", Do(&G::FileUpload, T::FileUpload, "Firmware", "firmware.img"), 4002, "Not support write file"},
      {"file missing from the package", Do(&G::FileUpload, T::FileUpload, "Firmware", "gone.img"), 4003,
       "Invalid Zipfile()"},
      {"runaway pattern", Assert("a**{30}"), 4002, "regex_match exceeded its CPU time limit of 1000 ms"},
  };
  auto connected = Executor();
  auto unconnected = Executor(false);
  for (const Row& row : rows) {
    try {
      row.call(row.connected ? *connected : *unconnected);
      ADD_FAILURE() << row.name << ": no failure";
    } catch (const quarx::fwupdate::FWUpdateException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), row.detail) << row.name;
      EXPECT_THAT(e.what(), HasSubstr(row.text)) << row.name;
      EXPECT_EQ(std::string(e.what()).empty(), row.detail == 3000) << row.name;
    }
  }
  EXPECT_EQ(camera_.connects, 1);
}

// After its reset a USB3 Vision camera is checked by the version read from it.
TEST_F(GenICamUpdateTest, VersionCheckReadsAUsb3VisionCameraFoundAgain) {
  for (const auto& [pattern, matches] : {std::pair{"2\\.0\\.0", true}, std::pair{"1\\.0\\.0", false}}) {
    auto found = quarx::test::DiscoveredUsbCamera({"2.0.0", "Line 3"});
    EXPECT_EQ(Executor()->FeatureAssert(Step(T::FeatureAssert, "DeviceVersion", pattern), found), matches);
  }
}

// Connecting twice connects once; a connection failure reaches the caller unwrapped. The
// destructor disconnects, and logs a failing disconnection instead of throwing.
TEST_F(GenICamUpdateTest, ConnectionIsMadeOnceAndLetGoByTheDestructor) {
  Executor()->ConnectCamera();
  EXPECT_EQ(camera_.connects, 1);
  EXPECT_EQ(camera_.disconnects, 1);
  auto executor = Executor();
  camera_.FailDisconnect();
  LogCapture log;
  EXPECT_NO_THROW(executor.reset());
  EXPECT_THAT(log.Lines(), ::testing::Contains("[warning] Failed to disConnect.(GenericError, camera gone)"));
  camera_.FailConnect();
  EXPECT_THROW(Executor(), quarx::ConnectException);
}

// The camera at the record's address must carry the record's identity, read where discovery
// read it: the serial number from its bootstrap register, never from a feature a maker may map
// elsewhere, and over GigE Vision the MAC address too. Another camera is let go untouched.
TEST_F(GenICamUpdateTest, ConnectedCameraMustBeTheRecordsOne) {
  using quarx::test::MakeGevRecord;
  const std::string notTarget = "Connected device is not the target : expected ";
  const struct {
    const char* name;
    std::function<void(MockCamera&)> setUp;
    std::function<std::unique_ptr<quarx::core::FoundDeviceInfo>()> record;
    std::string error;  // none: confirmed
    int serialReads = 1;
  } rows[] = {
      {"same serial number", [](MockCamera&) {}, [] { return MakeRecord("1.0.0"); }, ""},
      {"another camera", [](MockCamera& c) { c.bootstrapSerial = "EMU009"; }, [] { return MakeRecord("1.0.0"); },
       notTarget + "serial number EMU002, found serial number EMU009"},
      {"serial number feature mapped elsewhere",
       [](MockCamera& c) {
         auto feature = c.AddStringFeature("DeviceSerialNumber", "VLM-FWCAM1-EMU002");
         EXPECT_CALL(*feature, ToString()).Times(0);
       },
       [] { return MakeRecord("1.0.0"); }, ""},
      {"serial number register filled without a NUL", [](MockCamera& c) { c.bootstrapSerial = "EMU002-0123456789"; },
       [] { return MakeGevRecord("EMU002-012345678"); }, ""},
      {"serial number register unreadable", [](MockCamera& c) { c.serialUnreadable = true; },
       [] { return MakeRecord("1.0.0"); }, notTarget + "serial number EMU002, found serial number (unreadable)"},
      {"same MAC address and serial number", [](MockCamera&) {}, [] { return MakeGevRecord("EMU002"); }, ""},
      {"another MAC address", [](MockCamera& c) { c.mac = "02:5E:C1:00:00:09"; }, [] { return MakeGevRecord("EMU002"); },
       notTarget + "02:5e:c1:00:00:02 serial number EMU002, found 02:5E:C1:00:00:09 serial number EMU002"},
      {"MAC address in upper case", [](MockCamera& c) { c.mac = "02:5E:C1:00:00:02"; },
       [] { return MakeGevRecord("EMU002"); }, ""},
      // The serial number register is optional: discovery found none, so the MAC address alone tells.
      {"no serial number in the discovery answer", [](MockCamera& c) { c.bootstrapSerial = "EMU009"; },
       [] { return MakeGevRecord(""); }, "", 0},
      {"no serial number, another MAC address", [](MockCamera& c) { c.mac = "02:5e:c1:00:00:09"; },
       [] { return MakeGevRecord(""); }, notTarget + "02:5e:c1:00:00:02, found 02:5e:c1:00:00:09", 0},
  };
  for (const auto& row : rows) {
    MockCamera camera;
    row.setUp(camera);
    ExpectConfirmed(camera, camera.Factory(), row.record(), row.error, row.serialReads, row.name);
  }
}

// Over USB3 Vision the listing entry that the connection id resolved must be the record's, and
// so must the serial number register read through the device Aravis opened (by GUID alone):
// the listing cannot tell which device answered. A camera that refused the register at
// discovery is confirmed by the listing alone.
TEST_F(GenICamUpdateTest, ConnectedUsb3VisionCameraMustBeTheRecordsOne) {
  using quarx::test::DiscoveredUsbCamera;
  const std::string expected = "Connected device is not the target : expected serial number SN1 GUID GUID-1";
  const std::string bootstrap = " bootstrap serial number ";
  const struct {
    const char* name;
    std::function<void(MockCamera&)> setUp;
    std::vector<std::uint64_t> refusedAtDiscovery;
    std::string error;  // none: confirmed
    int serialReads;
  } rows[] = {
      {"the same camera", [](MockCamera&) {}, {}, "", 1},
      {"another camera answering the open", [](MockCamera& c) { c.bootstrapSerial = "SN2"; }, {},
       expected + bootstrap + "SN1, found serial number SN1 GUID GUID-1" + bootstrap + "SN2", 1},
      {"register refused after connecting", [](MockCamera& c) { c.serialUnreadable = true; }, {},
       expected + bootstrap + "SN1, found serial number SN1 GUID GUID-1" + bootstrap + "(unreadable)", 1},
      {"register refused at discovery", [](MockCamera& c) { c.bootstrapSerial = "SN2"; }, {0x0144}, "", 0},
      {"register refused at discovery, another listing entry", [](MockCamera& c) { c.listedGuid = "GUID-2"; },
       {0x0144}, expected + ", found serial number SN1 GUID GUID-2", 0},
      {"the listing resolved another GUID", [](MockCamera& c) { c.listedGuid = "GUID-2"; }, {},
       expected + bootstrap + "SN1, found serial number SN1 GUID GUID-2" + bootstrap + "SN1", 1},
      {"the listing resolved another serial number", [](MockCamera& c) { c.listedSerial = "SN2"; }, {},
       expected + bootstrap + "SN1, found serial number SN2 GUID GUID-1" + bootstrap + "SN1", 1},
  };
  for (const auto& row : rows) {
    MockCamera camera;
    camera.bootstrapSerial = "SN1";
    row.setUp(camera);
    ExpectConfirmed(camera, camera.Usb3VisionFactory(), DiscoveredUsbCamera({"1.0.0", "L3", row.refusedAtDiscovery}),
                    row.error, row.serialReads, row.name);
  }
}

// Conditions that spent the whole command's pattern budget do not leave a flashed camera
// unchecked: the version check has a budget of its own.
TEST_F(GenICamUpdateTest, VersionCheckIsNotRefusedForABudgetTheConditionsSpent) {
  for (bool spent = false; !spent;) {
    try {
      quarx::core::fwupdate::MatchWhole("1.0.0", "a**{30}");
    } catch (const quarx::core::fwupdate::PatternMatcherError&) {
      spent = true;
    } catch (const std::runtime_error&) {  // this runaway failed its match alone
    }
  }
  auto executor = Executor(false);
  auto found = MakeRecord("2.0.0");
  EXPECT_TRUE(executor->FeatureAssert(Step(T::FeatureAssert, "DeviceVersion", "2\\.0\\.0"), found));
  EXPECT_FALSE(executor->FeatureAssert(Step(T::FeatureAssert, "DeviceVersion", "2\\.0\\.1"), found));
}

}  // namespace
