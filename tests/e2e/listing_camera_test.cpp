// `fwupdate -l` and `fwupdate -f` end to end: the real program against emulated cameras and a
// camera answering discovery by broadcast, also as scripts run it: with a standard output that
// cannot be written, and with a log file configured but no HOME.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/gvcp_responder.h"

namespace quarx::test::e2e {
namespace {

using std::chrono::milliseconds;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

std::string Listed(int device, const std::string& model, const std::string& serial, const std::string& user,
                   const std::string& version, const std::string& ip, const std::string& mac) {
  return "[Dev  " + std::to_string(device) + "] " + model + "\n    VenderName          : Velmora\n" +
         "    SerialNumber        : " + serial + "\n    UserDefinedName     : " + user +
         "\n    Version             : " + version + "\n    IPAddress           : " + ip +
         "\n    MACAddress          : " + mac + "\n";
}

TEST(DeviceListProgram, ListsCamerasByConnectionIdWithinTheDiscoveryTime) {
  REQUIRE_CAMERA_NAMESPACE();
  const ProgramRun none = RunFwupdate({"--device-list", "--timeout", "200"});
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.exitStatus, 0);
  EXPECT_LT(none.elapsed.count(), 600);

  // Started in reverse order: the list follows the connection ids, not who answered first.
  EmulatedCameraSpec second;
  second.address = "127.0.0.3";
  EmulatedCameraSpec first;
  first.model = "FWCAM-2";
  first.userName = "line-2";
  first.version = "1.2.0";
  const EmulatorLauncher cameras({second, first});
  const std::string listed = Listed(0, "FWCAM-2", "EMU002", "line-2", "1.2.0", "127.0.0.2", "02:5e:c1:00:00:02") +
                             Listed(1, "FWCAM-1", "EMU003", "", "1.0.0", "127.0.0.3", "02:5e:c1:00:00:03");
  const ProgramRun run = RunFwupdate({"-l", "--timeout", "500"});
  EXPECT_EQ(run.out, listed);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_GE(run.elapsed.count(), 500);
  EXPECT_LT(run.elapsed.count(), 900);
  // The options of other operations are accepted and ignored.
  const ProgramRun others = RunFwupdate({"-d", "1", "--silent", "-l", "--no-prompt", "--no-test", "--timeout", "300"});
  EXPECT_EQ(others.out, listed);
  EXPECT_EQ(others.exitStatus, 0);
}

// A camera outside every subnet of the host answers discovery by broadcast; its serial number and
// user-defined name fill their whole fields, without a NUL.
TEST(DeviceListProgram, ListsACameraAnsweringByBroadcastAlsoForScripts) {
  REQUIRE_CAMERA_NAMESPACE();
  const DiscoveryAnswer camera{"02:5e:c1:00:00:4b", "192.168.77.10", "Velmora", "FWCAM-B", "3.1.0",
                               "0123456789ABCDEF", "far-away-16-chr!"};
  const GvcpResponder responder(
      [&camera](std::uint16_t id) {
        return std::vector<std::vector<std::uint8_t>>{EncodeDiscoveryAck(camera, id)};
      },
      GvcpResponder::ReplyTo::Broadcast);
  ASSERT_TRUE(responder.Bound());
  const std::vector<std::string> list = {"-l", "--timeout", "300"};
  const ProgramRun run = RunFwupdate(list);
  EXPECT_EQ(run.out,
            Listed(0, "FWCAM-B", "0123456789ABCDEF", "far-away-16-chr!", "3.1.0", "192.168.77.10", "02:5e:c1:00:00:4b"));
  EXPECT_EQ(run.exitStatus, 0);

  // A full disk fails the run with one line on standard error; a command-line error keeps its status.
  RunOptions full;
  full.fullStandardOutput = true;
  for (const auto& [args, exitStatus] :
       std::vector<std::pair<std::vector<std::string>, int>>{{list, 1}, {{"-h"}, 1}, {{"foo"}, 2}}) {
    const ProgramRun unwritten = RunFwupdate(args, full);
    EXPECT_EQ(unwritten.exitStatus, exitStatus) << args[0];
    EXPECT_EQ(unwritten.out, "Error : Cannot write standard output: No space left on device\n") << args[0];
  }

  // An update writes some twenty log lines at info level; none may land between the lines a script parses.
  RunOptions noHome;
  noHome.withHome = false;
  noHome.config = "[log]\nlevel = \"trace\"\nfilename = \"fw.log\"\n";
  const ProgramRun logged = RunFwupdate(list, noHome);
  if (logged.exitStatus == kCannotPrepare) {
    GTEST_SKIP() << kNoMountNamespace;
  }
  EXPECT_EQ(logged.exitStatus, 0);
  EXPECT_EQ(logged.out, run.out);
}

// Made-up cameras by the thousand, each twice, or junk, while `-l` runs: the list stops at its limit
// and the discovery at its time, 300 ms over at most (five times that for a busy machine), within 64 MiB.
TEST(DeviceListProgram, AFloodOfAnswersIsBoundedInCamerasTimeAndMemory) {
  REQUIRE_CAMERA_NAMESPACE();
  const std::vector<std::string> list = {"-l", "--timeout", "1000"};
  const ProgramRun quiet = RunFwupdate(list);
  const auto distinct = [n = 0u](std::uint16_t id) mutable {
    std::vector<std::vector<std::uint8_t>> batch;
    for (char mac[18], ip[16]; batch.size() < 64; ++n) {
      std::snprintf(mac, sizeof mac, "02:00:00:%02x:%02x:%02x", (n >> 16) & 255, (n >> 8) & 255, n & 255);
      std::snprintf(ip, sizeof ip, "10.%u.%u.%u", (n >> 16) & 255, (n >> 8) & 255, n & 255);
      batch.push_back(EncodeDiscoveryAck({mac, ip, "", "FLOOD", "", "", ""}, id));
      batch.push_back(batch.back());  // as a camera answers on two host addresses
    }
    return batch;
  };
  const auto junk = [](std::uint16_t id) {
    std::vector<std::vector<std::uint8_t>> batch(32, {0x42, 0x11});
    batch.resize(64, EncodeDiscoveryAck({"02:00:00:00:00:01", "10.0.0.1", "", "", "", "", ""}, id ^ 1));
    return batch;
  };
  for (const auto& [script, listed] : {std::pair<GvcpResponder::Script, std::size_t>{distinct, 4096}, {junk, 0}}) {
    const GvcpResponder flood(script, GvcpResponder::ReplyTo::Sender, true);
    ASSERT_TRUE(flood.Bound());
    const ProgramRun run = RunFwupdate(list);
    const Lines lines = run.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.rfind("[Dev", 0) == 0; }), listed);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_LT(run.elapsed, quiet.elapsed + 5 * milliseconds(300));
#ifndef QUARX_ADDRESS_SANITIZER
    EXPECT_LT(run.maxRssKiB, 64 * 1024);
#endif
  }
}

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
  const UpdateSpec forModel{UpdateSpec{}.conditions, "2.0.0", "for FWCAM-1"};
  const UpdateSpec forVendor{{{"DeviceVendorName", "Velmora"}}, "3.0.0", "any Velmora"};
  UpdateSpec byUserName{{{"DeviceUserID", "cam-b"}}, std::nullopt, std::nullopt};
  byUserName.withSteps = false;
  const TempPath package("e2e-file-info.guf");
  WriteUpdatePackage(package.str(), {forModel, forVendor, byUserName});
  const std::vector<std::string> fileInfo = {"-f", package.str(), "--timeout", kDiscoveryMs};

  const Lines alone = kIndex0 + Lines{kMatched} + kIndex1 + Lines{kMatched} + kIndex2 + Lines{kMatched};
  EXPECT_THAT(RunFwupdate(fileInfo).Lines(), ElementsAreArray(alone)) << "without cameras";

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
      {{"-d", "5"}, 1,
       kIndex0 +
           Lines{kMatched, "", " Error : vector::_M_range_check: __n (which is 5) >= this->size() (which is 2) "}},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> args = fileInfo;
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ProgramRun run = RunFwupdate(args);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << run.out;
    EXPECT_THAT(run.Lines(), ElementsAreArray(c.lines)) << run.out;
  }
}

// Control characters and broken UTF-8 from a camera or a package are shown escaped: they cannot
// clear the screen, set the window title or forge a line of their own.
TEST(FileInfoProgram, CameraAndPackageTextsAreShownAsTextOneRecordPerLine) {
  REQUIRE_CAMERA_NAMESPACE();
  const DiscoveryAnswer camera{"02:5e:c1:00:00:4c",   "127.0.0.4",       "Velmora",
                               "FW\x1b]0;owned\aCAM", "1.0\n[Dev  9] x", "S\tN\x7f\xc2\x9b",
                               "line\xe2\x82\xac\xff"};
  const GvcpResponder responder(
      [&camera](std::uint16_t id) { return std::vector<std::vector<std::uint8_t>>{EncodeDiscoveryAck(camera, id)}; },
      GvcpResponder::ReplyTo::Sender);
  ASSERT_TRUE(responder.Bound());
  const std::string model = "FW\\x1b]0;owned\\x07CAM", version = "1.0\\n[Dev  9] x";
  const std::string serial = "S\\tN\\x7f\\xc2\\x9b", user = "line\xe2\x82\xac\\xff";
  EXPECT_EQ(RunFwupdate({"-l", "--timeout", kDiscoveryMs}).out,
            Listed(0, model, serial, user, version, "127.0.0.4", "02:5e:c1:00:00:4c"));

  // The first update fits no camera, the second any.
  const TempPath package("e2e-texts.guf");
  WriteUpdatePackage(package.str(), {{{{"DeviceVersion", "1\\.1"}}, "2.0\x1b[1A\r", "new\n[Index 9]\xc0\xaf"},
                                     {{{"DeviceModelName", "[\\s\\S]*"}}, "3.0", "any"}});
  // No raw control byte and no line of their own, for the update too, whose error line quotes the model.
  for (const auto& [args, lines] : std::vector<std::pair<std::vector<std::string>, std::size_t>>{
           {{"-f", package.str()}, 9}, {{"-u", package.str(), "--no-prompt"}, 14}}) {
    const ProgramRun run = RunFwupdate(args + Lines{"--timeout", kDiscoveryMs});
    EXPECT_EQ(run.Lines().size(), lines) << run.out;
    ExpectShownAsText(run);
    EXPECT_THAT(run.out, HasSubstr(model)) << run.out;
  }
  // The log quotes them too (the first update's mismatch line, the camera's version): escaped
  // alike, here on the console, in a file by the same formatter.
  RunOptions logged;
  logged.config = "[log]\nlevel = \"debug\"\n";
  const ProgramRun run = RunFwupdate({"-f", package.str(), "--timeout", kDiscoveryMs}, logged);
  if (run.exitStatus == kCannotPrepare) {
    GTEST_SKIP() << kNoMountNamespace;
  }
  EXPECT_THAT(run.out, HasSubstr("(DeviceVersion) from camera(" + version + ") and expect(1\\.1) is mismatch)"));
  ExpectShownAsText(run, "[Dev  9]");
}

// The package's file name, and any argument, is outside text as well: `-f` quotes the name in its
// log and in its error lines, the parser in its own, the help the program's name; none of them
// drives the terminal or starts a line, on standard output or on standard error.
TEST(FileInfoProgram, PackageFileNameIsShownAsTextOnEitherStream) {
  REQUIRE_CAMERA_NAMESPACE();
  const EmulatorLauncher camera({EmulatedCameraSpec{}});
  const std::string name = "e2e-\x1b]0;owned\x07\n[Dev  9] x\xff.guf";
  const std::string shown = "e2e-\\x1b]0;owned\\x07\\n[Dev  9] x\\xff.guf";
  const TempPath package(name);
  WriteUpdatePackage(package.str(), {UpdateSpec{}});
  const std::string directory = package.str().substr(0, package.str().size() - name.size());
  RunOptions full;
  full.fullStandardOutput = true;  // standard error is collected instead
  RunOptions named;
  named.argv = Lines{name, "-h"};
  RunOptions logged;
  logged.config = "[log]\nlevel = \"debug\"\n";
  const struct {
    const char* what;
    std::vector<std::string> args;
    RunOptions setup;
    int exitStatus;
    std::string shows;
  } kRuns[] = {
      {"package not there", {"-f", package.str() + ".gone"}, {}, 1,
       " Error : File not found (" + directory + shown + ".gone) "},
      {"an argument too many", {"-f", package.str(), name}, {}, 2,
       "Error : Operation(--file-info) Invalid argument: " + shown},
      {"standard error", {"-f", package.str()}, full, 1,
       "Error : Cannot write standard output: No space left on device\n"},
      {"program name", {}, named, 0, "Usage: " + shown + " 'operation'"},
      // Last: it needs a mount namespace of its own for the configuration.
      {"log on the console", {"-f", package.str()}, logged, 0, "guf filename : " + directory + shown + "\n"},
  };
  for (const auto& r : kRuns) {
    SCOPED_TRACE(r.what);
    const ProgramRun run = RunFwupdate(r.args + Lines{"--timeout", kDiscoveryMs}, r.setup);
    if (run.exitStatus == kCannotPrepare) {
      GTEST_SKIP() << kNoMountNamespace;
    }
    EXPECT_EQ(run.exitStatus, r.exitStatus) << run.out;
    EXPECT_THAT(run.out, HasSubstr(r.shows));
    ExpectShownAsText(run, "[Dev  9] x");
  }
}

// 1,000 fitting updates (patterns with ten digits that are no count) all listed through a 2 s
// stop of the tool; 20,000 ordinary conditions in seconds; 100 runaway conditions end at the
// command's CPU budget, a matcher that cannot start at once: an error after what was printed.
TEST(FileInfoProgram, PatternWorkIsBoundedAndACheckNotMadeIsNoMismatch) {
  REQUIRE_CAMERA_NAMESPACE();
  const EmulatorLauncher camera({EmulatedCameraSpec{}});
  UpdateSpec fits{{{"DeviceModelName", "\\\\1234567890|FWCAM-1"}, {"DeviceVersion", "V1\\.2,1700000000|1\\.0\\.0"}}};
  fits.withSteps = false;
  UpdateSpec runaway = fits;
  runaway.conditions = {{"DeviceVersion", "a**{30}"}};
  const struct {
    std::vector<UpdateSpec> updates;
    long listed;
    std::string lastLine;
    int seconds;
    std::vector<std::string> environment = {};
  } kCases[] = {
      {std::vector(1000, fits), 1000, kDev0, 15},
      {std::vector(10000, fits), 10000, kDev0, 10},
      {std::vector(100, runaway), 0, " Error : Pattern matching used up its budget of 10 s of CPU time for this command ", 50},
      {{fits}, 0, " Error : Cannot start the pattern matching process: fork: Resource temporarily unavailable ", 5,
       {"QUARX_TEST_REFUSE_MATCHER_START=1"}}};
  const TempPath package("e2e-pattern-work.guf");
  for (const auto& c : kCases) {
    WriteUpdatePackage(package.str(), c.updates);
    RunOptions setup;
    setup.environment = c.environment;
    RunningProgram program({"-f", package.str(), "--timeout", kDiscoveryMs}, setup);
    if (c.listed == 1000) {  // stopped once its first matches are out, with most still to make
      ASSERT_TRUE(program.WaitForOutput(kDev0, std::chrono::seconds(20)));
      program.Signal(SIGSTOP);
      std::this_thread::sleep_for(std::chrono::seconds(2));
      program.Signal(SIGCONT);
    }
    const ProgramRun run = program.Finish();
    const Lines lines = run.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), kDev0), c.listed);
    EXPECT_EQ(lines.back(), c.lastLine);
    EXPECT_EQ(run.exitStatus, c.listed == 0 ? 1 : 0);
    EXPECT_LT(run.elapsed, std::chrono::seconds(c.seconds));
  }
}

}  // namespace
}  // namespace quarx::test::e2e
