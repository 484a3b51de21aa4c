// The emulator as a whole: identity in the discovery acknowledge, its GenICam features as
// Aravis reads them, its option checks and a clean stop. Runs only in a loopback namespace.
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/emulator/aravis_camera.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/gvcp_discovery.h"

namespace quarx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

constexpr std::chrono::milliseconds kDiscoveryWait{300};

class FwcamEmulator : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }
};

EmulatedCameraSpec FullIdentity() {
  EmulatedCameraSpec spec;
  spec.address = "127.0.0.2";
  spec.mac = "02:5E:C1:AB:CD:EF";
  spec.vendor = "Velmora";
  spec.model = "VX-2000 Mono";
  spec.version = "1.4.2-rc1";
  spec.serial = "SN0123456789ABCD";    // fills its 16-byte field, no NUL
  spec.userName = "line-3-left-cam1";  // likewise
  spec.manufacturerInfo = "made for tests";
  spec.netmask = "255.255.0.0";
  spec.gateway = "127.0.0.254";
  return spec;
}

TEST_F(FwcamEmulator, DiscoveryAcknowledgeMirrorsTheIdentityByUnicastAndBroadcast) {
  EmulatorLauncher cameras({FullIdentity()});
  for (const std::string target : {"127.0.0.2", "255.255.255.255"}) {
    SCOPED_TRACE(target);
    const std::vector<DiscoveryAnswer> answers = DiscoverCameras("127.0.0.1", target, kDiscoveryWait);
    ASSERT_EQ(answers.size(), 1u);
    const DiscoveryAnswer& answer = answers[0];
    EXPECT_EQ(answer.mac, "02:5e:c1:ab:cd:ef");
    EXPECT_EQ(answer.ip, "127.0.0.2");
    EXPECT_EQ(answer.subnetMask, "255.255.0.0");
    EXPECT_EQ(answer.gateway, "127.0.0.254");
    EXPECT_EQ(answer.vendor, "Velmora");
    EXPECT_EQ(answer.model, "VX-2000 Mono");
    EXPECT_EQ(answer.version, "1.4.2-rc1");
    EXPECT_EQ(answer.manufacturerInfo, "made for tests");
    EXPECT_EQ(answer.serial, "SN0123456789ABCD");
    EXPECT_EQ(answer.userName, "line-3-left-cam1");
    EXPECT_EQ(answer.gvVersion, 0x00010002u);
  }
}

TEST_F(FwcamEmulator, DefaultsDeriveMacAndSerialFromTheAddress) {
  EmulatedCameraSpec spec;
  spec.address = "127.0.0.7";
  EmulatorLauncher cameras({spec});
  const std::vector<DiscoveryAnswer> answers = DiscoverCameras("127.0.0.1", "127.0.0.7", kDiscoveryWait);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].mac, "02:5e:c1:00:00:07");
  EXPECT_EQ(answers[0].mac, spec.MacAddress());
  EXPECT_EQ(answers[0].serial, "EMU007");
  EXPECT_EQ(answers[0].vendor, "Velmora");
  EXPECT_EQ(answers[0].model, "FWCAM-1");
  EXPECT_EQ(answers[0].version, "1.0.0");
  EXPECT_EQ(answers[0].userName, "");
  EXPECT_EQ(answers[0].subnetMask, "255.0.0.0");
}

TEST_F(FwcamEmulator, OneBroadcastReachesEveryCamera) {
  EmulatedCameraSpec second;
  second.address = "127.0.0.3";
  second.serial = "CAM3";
  EmulatedCameraSpec first;
  first.serial = "CAM2";
  EmulatorLauncher cameras({first, second});
  std::vector<std::string> found;
  for (const DiscoveryAnswer& answer : DiscoverCameras("127.0.0.1", "255.255.255.255", kDiscoveryWait)) {
    found.push_back(answer.ip + " " + answer.mac + " " + answer.serial);
  }
  EXPECT_THAT(found, UnorderedElementsAre("127.0.0.2 02:5e:c1:00:00:02 CAM2", "127.0.0.3 02:5e:c1:00:00:03 CAM3"));
}

TEST_F(FwcamEmulator, IdentityFeaturesReadThroughAravisMatchDiscovery) {
  EmulatorLauncher cameras({FullIdentity()});
  AravisCamera camera("127.0.0.2");
  EXPECT_TRUE(camera.IsController());
  EXPECT_EQ(camera.String("DeviceVendorName"), "Velmora");
  EXPECT_EQ(camera.String("DeviceModelName"), "VX-2000 Mono");
  EXPECT_EQ(camera.String("DeviceVersion"), "1.4.2-rc1");
  EXPECT_EQ(camera.String("DeviceSerialNumber"), "SN0123456789ABCD");
  EXPECT_EQ(camera.String("DeviceUserID"), "line-3-left-cam1");
  EXPECT_EQ(camera.String("DeviceManufacturerInfo"), "made for tests");
  EXPECT_TRUE(camera.Has("DeviceReset"));
}

TEST_F(FwcamEmulator, UserNameWrittenThroughGenicamShowsInDiscovery) {
  EmulatorLauncher cameras({EmulatedCameraSpec{}});
  AravisCamera camera("127.0.0.2");
  camera.SetString("DeviceUserID", "renamed");
  EXPECT_EQ(camera.String("DeviceUserID"), "renamed");
  const std::vector<DiscoveryAnswer> answers = DiscoverCameras("127.0.0.1", "127.0.0.2", kDiscoveryWait);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].userName, "renamed");
  EXPECT_THROW(camera.SetString("DeviceSerialNumber", "X"), std::runtime_error) << "the serial is read-only";
}

TEST_F(FwcamEmulator, FileAccessFeaturesOfferWritingForEveryFileButTheReadOnlyOne) {
  EmulatorLauncher cameras({EmulatedCameraSpec{}});
  AravisCamera camera("127.0.0.2");
  EXPECT_THAT(camera.AvailableEntries("FileSelector"), ElementsAre("Firmware", "ReadOnlyFile", "FailingFile"));
  EXPECT_THAT(camera.AvailableEntries("FileOperationSelector"), ElementsAre("Open", "Close", "Read", "Write"));
  EXPECT_THAT(camera.AvailableEntries("FileOperationStatus"), ElementsAre("Success", "Failure"));
  const struct {
    const char* file;
    std::vector<std::string> modes;
  } kCases[] = {
      {"Firmware", {"Read", "Write", "ReadWrite"}},
      {"ReadOnlyFile", {"Read"}},
      {"FailingFile", {"Read", "Write", "ReadWrite"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file);
    camera.SetEnum("FileSelector", c.file);
    EXPECT_EQ(camera.AvailableEntries("FileOpenMode"), c.modes);
    EXPECT_EQ(camera.Integer("FileSize"), 0);
  }
  EXPECT_EQ(camera.Register("FileAccessBuffer").size(), 4096u);
  for (const char* name : {"FileAccessOffset", "FileAccessLength", "FileOperationResult", "FileOperationExecute",
                           "FirmwareUpdateMode", "FirmwareUpdateExecute", "FirmwareUpdateStatus"}) {
    EXPECT_TRUE(camera.Has(name)) << name;
  }
  EXPECT_EQ(camera.Enum("FirmwareUpdateMode"), "Off");
  EXPECT_EQ(camera.Enum("FirmwareUpdateStatus"), "Idle");
  EXPECT_THROW(camera.SetInteger("FileAccessLength", 4097), std::runtime_error) << "longer than the buffer";
}

TEST_F(FwcamEmulator, SourcesKnobAddsSourceCountAndASelectorForPlausibleCounts) {
  const struct {
    std::optional<std::int32_t> sources;
    bool hasCount;
    std::vector<std::string> selector;  // empty: no SourceSelector
  } kCases[] = {
      {std::nullopt, false, {}},
      {1, true, {"Source0"}},
      {3, true, {"Source0", "Source1", "Source2"}},
      {0, true, {}},
      {-1, true, {}},
      {65, true, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.sources ? std::to_string(*c.sources) : "none");
    EmulatedCameraSpec spec;
    spec.sources = c.sources;
    EmulatorLauncher cameras({spec});
    AravisCamera camera("127.0.0.2");
    ASSERT_EQ(camera.Has("SourceCount"), c.hasCount);
    if (c.hasCount) {
      EXPECT_EQ(camera.Integer("SourceCount"), *c.sources);
    }
    EXPECT_EQ(camera.Has("SourceSelector"), !c.selector.empty());
    if (!c.selector.empty()) {
      EXPECT_EQ(camera.AvailableEntries("SourceSelector"), c.selector);
    }
  }
}

TEST_F(FwcamEmulator, StopsCleanlyOnSigtermAndFreesItsAddress) {
  EmulatorLauncher cameras({EmulatedCameraSpec{}});
  const auto started = std::chrono::steady_clock::now();
  const int status = cameras.Stop(0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_THAT(cameras.Output(0), HasSubstr("fwcam-emulator stopped 127.0.0.2"));
  EXPECT_FALSE(cameras.IsRunning(0));
  EXPECT_TRUE(DiscoverCameras("127.0.0.1", "255.255.255.255", kDiscoveryWait).empty());

  cameras.Restart(0);
  EXPECT_TRUE(cameras.IsRunning(0));
  EXPECT_EQ(DiscoverCameras("127.0.0.1", "127.0.0.2", kDiscoveryWait).size(), 1u);
}

TEST_F(FwcamEmulator, RefusesBadOptionsWithAMessageNamingThem) {
  const struct {
    std::vector<std::string> extra;
    const char* message;
  } kCases[] = {
      {{"--bogus"}, "unknown option(--bogus)"},
      {{"--install-ms", "soon"}, "invalid value(soon) for --install-ms"},
      {{"--mac", "02-5e-c1-00-00-02"}, "invalid value(02-5e-c1-00-00-02) for --mac"},
      {{"--serial", "SEVENTEEN-CHARS-X"}, "longer than its 16-byte field"},
      {{"--address", "10.0.0.1"}, "loopback addresses (127.x.x.x) only"},
      {{"--sources"}, "option --sources needs a value"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.message);
    EmulatedCameraSpec spec;
    spec.extraArguments = c.extra;
    try {
      EmulatorLauncher cameras({spec});
      ADD_FAILURE() << "the emulator started";
    } catch (const std::runtime_error& e) {
      EXPECT_THAT(e.what(), HasSubstr("ended before it was ready"));
      EXPECT_THAT(e.what(), HasSubstr(c.message));
    }
  }
}

TEST_F(FwcamEmulator, LauncherReportsACameraWhoseAddressIsTaken) {
  EmulatorLauncher first({EmulatedCameraSpec{}});
  try {
    EmulatorLauncher second({EmulatedCameraSpec{}});
    ADD_FAILURE() << "a second camera started on the same address";
  } catch (const std::runtime_error& e) {
    EXPECT_THAT(e.what(), HasSubstr("127.0.0.2"));
  }
  EXPECT_EQ(DiscoverCameras("127.0.0.1", "127.0.0.2", kDiscoveryWait).size(), 1u);
}

}  // namespace
}  // namespace quarx::test
