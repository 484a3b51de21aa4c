// The update operation end to end: the real fwupdate program against emulated cameras, its
// console output line by line, its exit status and what the cameras saw.
#include <gmock/gmock.h>
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "emulator/crc32.h"
#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "util/printable_text.h"

namespace quarx::test::e2e {
namespace {

using std::chrono::milliseconds;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kRule = "======================================";
constexpr const char* kQuestion = "Do you want to update the device with this update? [y/n] : ";
constexpr const char* kNotThisDevice = "Error      : Invalid update data to this device : FWCAM-1";
constexpr const char* kUntouched = "";  // a camera log with its ready line alone

Lines Error(const std::string& text) { return {"", " Error : " + text + " "}; }

// A camera as the update shows it before ("Target") and after ("Result").
Lines Card(const std::string& heading, int device, const std::string& serial, const std::string& version) {
  return {heading + " : [Dev " + std::to_string(device) + "] FWCAM-1", "    VenderName       : Velmora",
          "    SerialNumber     : " + serial, "    UserDefinedName  : line-2", "    Version          : " + version};
}

Lines Preview(int device = 0, const std::string& serial = "EMU002") {
  return Lines{"Update file : PKG", "Description  : FWCAM-1 firmware 2.0.0", ""} +
         Card("Target", device, serial, "1.0.0 => 2.0.0");
}

const Lines kBegin = {kRule, "Begin      : Update started", "Progress   : CheckPreconditions"};

Lines Steps(const std::string& executeSeconds = "3", const std::string& resetSeconds = "1", std::size_t drop = 0) {
  Lines steps = kBegin + Lines{"Progress   : Enable Firmware Update",
                               "Progress   : Upload update binary",
                               "Progress   : FileUpload 100%",
                               "Progress   : Execute update process (Estimated time = " + executeSeconds + " Sec.)",
                               "Progress   : Resets the device",
                               "Progress   : Waiting after device reset (Estimated time = " + resetSeconds + " Sec.)",
                               "Progress   : Searching device",
                               "Progress   : Validate final device version"};
  steps.resize(steps.size() - drop);
  return steps;
}

Lines Result(int device = 0, const std::string& serial = "EMU002") {
  return Lines{"", "Update success.", ""} + Card("Result", device, serial, "2.0.0");
}

Lines Success(int device = 0, const std::string& serial = "EMU002") {
  return Lines{"Success    : Update OK", "", kRule} + Result(device, serial);
}

// With a serial number, a camera answering with the MAC address of the default target.
EmulatedCameraSpec Cam(const char* address = "127.0.0.2", const char* serial = nullptr) {
  EmulatedCameraSpec spec;
  spec.address = address;
  spec.userName = "line-2";
  spec.mac = serial != nullptr ? "02:5e:c1:00:00:02" : "";
  spec.serial = serial != nullptr ? serial : "";
  return spec;
}

// An update that also reads a feature from the camera itself (DeviceUserID) to decide it fits.
UpdateSpec Fits() {
  UpdateSpec spec;
  spec.conditions["DeviceUserID"] = "line-[0-9]";
  return spec;
}

std::string RegexError(const std::string& pattern) try {
  std::regex{pattern};
  return "no error";
} catch (const std::regex_error& e) {
  return e.what();
}

class UpdateCameraTest : public ::testing::Test {
 protected:
  UpdateCameraTest() = default;
  explicit UpdateCameraTest(const std::string& packageName) : package_(packageName) {}
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }

  void Start(std::vector<EmulatedCameraSpec> specs) { cameras_ = std::make_unique<EmulatorLauncher>(std::move(specs)); }
  // `-u PKG`, the given options and the discovery time; PKG stands for the package in the output
  // too, as the console shows its path.
  std::unique_ptr<RunningProgram> Update(std::vector<std::string> options, const RunOptions& setup = {},
                                         const std::string& discoveryMs = kDiscoveryMs) {
    std::replace(options.begin(), options.end(), std::string("PKG"), package_.str());
    options.insert(options.begin(), "-u");
    options.insert(options.end(), {"--timeout", discoveryMs});
    return std::make_unique<RunningProgram>(options, setup);
  }
  ProgramRun Finish(RunningProgram& program) {
    ProgramRun run = program.Finish();
    const std::string shown = quarx::util::PrintableText(package_.str());
    for (std::size_t at; (at = run.out.find(shown)) != std::string::npos;) {
      run.out.replace(at, shown.size(), "PKG");
    }
    return run;
  }
  std::string CameraLog(std::size_t camera = 0) const { return cameras_->Output(camera); }

  TempPath package_{"e2e-update.guf"};
  std::unique_ptr<EmulatorLauncher> cameras_;
};

// One run of `fwupdate -u`; by default with --no-prompt against one camera that the update fits.
struct UpdateCase {
  const char* name;
  int exitStatus;
  Lines lines;
  std::vector<std::string> cameraLogs;  // a text each camera's log holds, or kUntouched
  std::vector<EmulatedCameraSpec> cameras = {Cam()};
  UpdateSpec update = Fits();
  std::vector<std::string> options = {"PKG", "--no-prompt"};  // after "-u"
  std::string answer = "";                                    // given once the question shows; none: end of input
  std::string imageVersion = "2.0.0";
  void (*damage)(std::string& innerZip) = nullptr;
  milliseconds atLeast{0};
  // Run once the question shows, before the answer: what changes while the user is asked.
  void (*atQuestion)(EmulatorLauncher& cameras) = nullptr;
  // Returns what a camera it restarted had printed before.
  std::string (*whileRunning)(EmulatorLauncher& cameras) = nullptr;
  RunOptions setup = {};  // the program's environment and standard input
  milliseconds below{kRunLimit};
  long maxRssKiB = 0;  // the program's peak memory stays below this (0: not checked)
  // The package's file name.
  const char* packageName = "e2e-update.guf";
};

// Without --no-prompt: the question comes before the first step.
UpdateCase& Prompting(UpdateCase& c) {
  c.options = {"PKG"};
  return c;
}

UpdateCase Row(const char* name, int exitStatus, const Lines& lines, std::vector<std::string> cameraLogs = {},
               void (*tweak)(UpdateCase&) = nullptr) {
  UpdateCase c{name, exitStatus, lines, std::move(cameraLogs)};
  if (tweak != nullptr) {
    tweak(c);
  }
  return c;
}

void PrintTo(const UpdateCase& c, std::ostream* os) { *os << c.name; }

class UpdateRun : public UpdateCameraTest, public ::testing::WithParamInterface<UpdateCase> {
 protected:
  UpdateRun() : UpdateCameraTest(GetParam().packageName) {}
};

TEST_P(UpdateRun, PrintsItsLinesEndsWithItsStatusAndLeavesTheCamerasAsExpected) {
  const UpdateCase& c = GetParam();
  Start(c.cameras);
  const std::string image = WriteUpdatePackage(package_.str(), {c.update}, c.imageVersion, 0, c.damage);
  RunOptions interactive = c.setup;
  interactive.keepInputOpen = !c.answer.empty();
  const auto program = Update(c.options, interactive);
  // Through a pipe the question is only seen if the tool flushes it before reading.
  EXPECT_TRUE(c.answer.empty() || program->WaitForOutput(kQuestion, std::chrono::seconds(10)));
  if (c.atQuestion != nullptr) {
    c.atQuestion(*cameras_);
  }
  program->Answer(c.answer);
  std::string logs = c.whileRunning != nullptr ? c.whileRunning(*cameras_) : "";
  const ProgramRun run = Finish(*program);
  EXPECT_THAT(run.Lines(), ElementsAreArray(c.lines)) << run.out;
  // Whatever a camera, a package or the package's file name holds reaches the console as text.
  ExpectShownAsText(run);
  EXPECT_EQ(run.exitStatus, c.exitStatus);
  EXPECT_GE(run.elapsed, c.atLeast);
  EXPECT_LT(run.elapsed, c.below);
#ifndef QUARX_ADDRESS_SANITIZER
  EXPECT_TRUE(c.maxRssKiB == 0 || run.maxRssKiB < c.maxRssKiB) << run.maxRssKiB << " KiB";
#endif
  for (std::size_t i = 0; i < c.cameraLogs.size(); ++i) {
    if (c.cameraLogs[i] == kUntouched) {
      EXPECT_THAT(CameraLog(i), ::testing::MatchesRegex("fwcam-emulator ready [0-9.]+\n"));
    } else {
      EXPECT_THAT(CameraLog(i), HasSubstr(c.cameraLogs[i]));
    }
  }
  // What the camera received is the package's image, whole and in order.
  for (std::size_t i = 0; i < c.cameras.size(); ++i) logs += CameraLog(i);
  const auto crc = emulator::Crc32(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
  if (std::count(c.lines.begin(), c.lines.end(), "Update success.") != 0) {
    EXPECT_THAT(logs, HasSubstr(fmt::format("file Firmware closed size={} crc32={:08x}\n", image.size(), crc)));
  }
}

const char* kBackAt2 = "back version=2.0.0";
// A terminal title, a bell, a line of its own and a byte that is no UTF-8.
const char* kUnprintableName = "e2e-\x1b]0;owned\x07\n[Dev  9] x\xff.guf";
const Lines kUnextractable = Error("Invalid Zipfile() failed to mz_zip_reader_extract_file_to_heap()");
const std::string kNotIdentified = "Updated device not identified : 02:5e:c1:00:00:02 serial number EMU002, found ";
const Lines kRefused = Preview() + Lines{""} + kBegin;
const Lines kInvalidPattern = Preview() + Error(RegexError("2.(0"));
const std::string kNotTheTarget = "Connected device is not the target : expected 02:5e:c1:00:00:02 serial number EMU002, found ";
const Lines kNoAnswer =
    Preview() + Lines{"", kQuestion} + Error("No answer to the confirmation question; update not started");

INSTANTIATE_TEST_SUITE_P(
    Update, UpdateRun,
    ::testing::Values(
        Row("NoPrompt", 0, Preview() + Lines{""} + Steps() + Success(), {kBackAt2}),
        Row("Silent", 0, Preview() + Result(), {kBackAt2}, [](UpdateCase& c) { c.options = {"PKG", "--silent"}; }),
        // A file name is outside text too: "PKG" here stands for the path escaped, the raw one never shows.
        Row("PackageNameShownAsText", 0, Preview() + Lines{""} + Steps() + Success(), {kBackAt2},
            [](UpdateCase& c) { c.packageName = kUnprintableName; }),
        // Standard error, collected here, carries none of it either.
        Row("PackageNameKeptOffStandardError", 1, {"Error : Cannot write standard output: No space left on device"},
            {kUntouched}, [](UpdateCase& c) {
              c.packageName = kUnprintableName;
              c.setup.fullStandardOutput = true;
            }),
        // "yes" is no answer: the question comes again; the whole reset delay is slept.
        Row("YesThenY", 0, Preview() + Lines{"", std::string(kQuestion) + kQuestion} + Steps("3", "2") + Success(),
            {kBackAt2}, [](UpdateCase& c) {
              Prompting(c).answer = "yes\nY\n";
              c.update.resetDelayMs = 2500; c.atLeast = milliseconds(2500);
            }),
        Row("AnswerNoLeavesTheCameraAlone", 0, Preview() + Lines{"", kQuestion}, {kUntouched},
            [](UpdateCase& c) { Prompting(c).answer = "n\n"; }),
        Row("EndOfInputAtTheQuestion", 1, kNoAnswer, {kUntouched}, [](UpdateCase& c) { Prompting(c); }),
        // Started without standard input: nothing of the tool's own (the pattern matcher's
        // socket) may be read in its place.
        Row("ClosedInputIsNoAnswer", 1, kNoAnswer, {kUntouched},
            [](UpdateCase& c) { Prompting(c).setup.closedInput = true; c.below = std::chrono::seconds(10); }),
        // An answer nobody types: read with a cap, in flat memory, and no answer at all.
        Row("EndlessWordIsNoAnswer", 1, kNoAnswer, {kUntouched}, [](UpdateCase& c) {
          Prompting(c).setup.inputFile = "/dev/zero";
          c.below = std::chrono::seconds(10); c.maxRssKiB = 64 * 1024;
        }),
        Row("OverlongWordIsAWrongAnswer", 0, Preview() + Lines{"", std::string(kQuestion) + kQuestion}, {kUntouched},
            [](UpdateCase& c) { Prompting(c).answer = std::string(300, 'y') + "\nn\n"; }),
        Row("FeatureReadOverConnectionDoesNotFit", 1, kRefused + Error(kNotThisDevice), {kUntouched},
            [](UpdateCase& c) { c.update.conditions["DeviceUserID"] = "line-1"; }),
        Row("CameraOfAnotherMaker", 1,
            kRefused + Error("The specified connction_id is invalid. Is supports only VELMORA camera."), {kUntouched},
            [](UpdateCase& c) { c.cameras[0].mac = "00:11:22:33:44:55"; c.update = UpdateSpec{}; }),
        // Polls a second apart until the time-out: the wait is bounded, not endless.
        Row("CommandNeverCompletes", 1,
            Preview() + Lines{""} + Steps("2") + Error("Device version mismatch : camera(1.0.0) expect(2\\.0\\.0)"), {},
            [](UpdateCase& c) {
              c.cameras[0].neverDone = true;
              c.update.executeTimeoutMs = 2000; c.atLeast = milliseconds(2000);
            }),
        Row("CameraNeverComesBack", 1,
            Preview() + Lines{""} + Steps("3", "1", 1) +
                Error("Failed to find device within 1 sec : 02:5e:c1:00:00:02"),
            {}, [](UpdateCase& c) { c.cameras[0].neverBack = true; }),
        // While the question waits, the target moves to another address and another camera
        // takes its own: the camera now at the address is let go untouched, whoever it is.
        Row("AddressesChangedWhileTheQuestionWaits", 1,
            Preview() + Lines{"", kQuestion} + kBegin + Error(kNotTheTarget + "02:5e:c1:00:00:03 serial number EMU003"),
            {kUntouched, kUntouched}, [](UpdateCase& c) {
              Prompting(c).answer = "y\n";
              c.cameras.push_back(Cam("127.0.0.3"));
              c.atQuestion = [](EmulatorLauncher& cameras) {
                EmulatedCameraSpec target = Cam("127.0.0.4", "EMU002"), other = Cam("127.0.0.2", "EMU003");
                other.mac = "02:5e:c1:00:00:03";
                cameras.Restart(0, target);
                cameras.Restart(1, other);
              };
            }),
        Row("CameraOfAnotherModelTookTheTargetsAddress", 1,
            Preview() + Lines{"", kQuestion} + kBegin + Error(kNotTheTarget + "02:5e:c1:00:00:09 serial number EMU009"),
            {kUntouched}, [](UpdateCase& c) {
              Prompting(c).answer = "y\n";
              c.update = UpdateSpec{};  // conditions on the record alone: the model it names was checked
              c.atQuestion = [](EmulatorLauncher& cameras) {
                EmulatedCameraSpec other = Cam("127.0.0.2", "EMU009");
                other.mac = "02:5e:c1:00:00:09";
                other.model = "FWCAM-9";
                cameras.Restart(0, other);
              };
            }),
        // Either half of the identity alone tells another camera at the target's address.
        Row("TargetsSerialWithAnotherMacTookTheTargetsAddress", 1,
            Preview() + Lines{"", kQuestion} + kBegin + Error(kNotTheTarget + "02:5e:c1:00:00:09 serial number EMU002"),
            {kUntouched}, [](UpdateCase& c) {
              Prompting(c).answer = "y\n";
              c.atQuestion = [](EmulatorLauncher& cameras) {
                EmulatedCameraSpec other = Cam("127.0.0.2", "EMU002");
                other.mac = "02:5e:c1:00:00:09";
                cameras.Restart(0, other);
              };
            }),
        Row("TargetsMacWithAnotherSerialTookTheTargetsAddress", 1,
            Preview() + Lines{"", kQuestion} + kBegin + Error(kNotTheTarget + "02:5e:c1:00:00:02 serial number EMU009"),
            {kUntouched}, [](UpdateCase& c) {
              Prompting(c).answer = "y\n";
              c.atQuestion = [](EmulatorLauncher& cameras) { cameras.Restart(0, Cam("127.0.0.2", "EMU009")); };
            }),
        // The identity is read where discovery read it: a maker that maps "DeviceSerialNumber"
        // to another register or another form of its serial still has its camera updated.
        Row("SerialNumberFeatureMappedElsewhere", 0, Preview() + Lines{""} + Steps() + Success(), {kBackAt2},
            [](UpdateCase& c) { c.cameras[0].extraArguments = {"--serial-feature", "VLM-FWCAM1-000000EMU002"}; }),
        Row("CloneAnswersInsteadOfTheTarget", 1,
            Preview() + Lines{""} + Steps("3", "1", 1) + Error(kNotIdentified + "EMU009"), {" reset", kUntouched},
            [](UpdateCase& c) { c.cameras = {Cam(), Cam("127.0.0.3", "EMU009")}; c.cameras[0].neverBack = true; }),
        Row("CloneAnswersBesideTheTarget", 1,
            Preview() + Lines{""} + Steps("3", "1", 1) + Error(kNotIdentified + "EMU002, EMU009"),
            {kBackAt2, kUntouched}, [](UpdateCase& c) { c.cameras.push_back(Cam("127.0.0.3", "EMU009")); }),
        // The first version check finds the camera before its reset; the second must not pass on
        // that old record while the camera itself is gone and only another one answers.
        Row("SearchFindsOnlyOtherCameras", 1,
            kRefused +
                Lines{"Progress   : Searching device", "Progress   : Validate final device version",
                      "Progress   : Resets the device",
                      "Progress   : Waiting after device reset (Estimated time = 0 Sec.)",
                      "Progress   : Searching device"} +
                Error("NO target device : 02:5e:c1:00:00:02"),
            {}, [](UpdateCase& c) {
              c.cameras[0].neverBack = true;
              c.cameras.push_back(Cam("127.0.0.3"));
              const std::string check = Step(
                  "FeatureAssert", "<AssertPattern>1\\.0\\.0</AssertPattern><FeatureName>DeviceVersion</FeatureName>");
              c.update.procedure =
                  check + Step("DeviceReset", "<DeviceDiscoveryDelayMs>500</DeviceDiscoveryDelayMs>") + check;
            }),
        Row("VersionMismatchAfterReset", 1,
            Preview() + Lines{""} + Steps() + Error("Device version mismatch : camera(2.0.1) expect(2\\.0\\.0)"),
            {"back version=2.0.1"}, [](UpdateCase& c) { c.imageVersion = "2.0.1"; }),
        // While the tool waits, the camera comes back with the installed version on a new address.
        Row("CameraBackOnAnotherAddressIsFoundAgainByItsMac", 0, Preview() + Lines{""} + Steps("3", "4") + Success(),
            {}, [](UpdateCase& c) {
              c.update.resetDelayMs = 4000;
              c.whileRunning = [](EmulatorLauncher& cameras) {
                EXPECT_TRUE(cameras.WaitForOutput(0, "127.0.0.2 reset", std::chrono::seconds(20)));
                EmulatedCameraSpec moved = Cam("127.0.0.4", "EMU002");
                moved.version = "2.0.0";
                const std::string before = cameras.Output(0);
                cameras.Restart(0, moved);
                return before;
              };
            }),
        Row("OnlyTheTargetOfTwoCameras", 0, Preview(1, "EMU003") + Lines{""} + Steps() + Success(1, "EMU003"),
            {kUntouched, kBackAt2}, [](UpdateCase& c) {
              c.cameras.push_back(Cam("127.0.0.3"));
              c.options = {"PKG", "-d", "1", "--no-prompt"};
            }),
        Row("MissingFirmwareRefusedBeforeTheQuestion", 1, Preview() + kUnextractable, {kUntouched}, [](UpdateCase& c) {
          Prompting(c).damage = [](std::string& zip) { RenameEntry(zip, "firmware.img", "firmware.old"); };
        }),
        Row("DamagedFirmwareRefusedBeforeTheQuestion", 1, Preview() + kUnextractable, {kUntouched},
            [](UpdateCase& c) { Prompting(c).damage = [](std::string& zip) { DamageCrc(zip, "firmware.img"); }; }),
        Row("WithoutStepsRefusedBeforeTheQuestion", 1, Preview() + Error("No procedure steps in this update"),
            {kUntouched}, [](UpdateCase& c) { Prompting(c).update.withSteps = false; }),
        // The version check's pattern is used only after the camera was flashed and reset: a pattern
        // that does not compile must stop the update before the question, the camera untouched.
        Row("InvalidAssertPattern", 1, kInvalidPattern, {kUntouched},
            [](UpdateCase& c) { Prompting(c).update.assertPattern = "2.(0"; }),
        Row("InvalidConditionPattern", 1, kInvalidPattern, {kUntouched},
            [](UpdateCase& c) { Prompting(c).update.conditions["DeviceUserID"] = "2.(0"; }),
        // A check that cannot be made, and 6,000 patterns of some milliseconds of compiling each, end
        // before the question; ten digits that are no count or back-reference are no reason to refuse.
        Row("MatcherCannotStart", 1,
            Preview() + Error("Cannot start the pattern matching process: fork: Resource temporarily unavailable"),
            {kUntouched}, [](UpdateCase& c) { Prompting(c).setup.environment = {"QUARX_TEST_REFUSE_MATCHER_START=1"}; }),
        Row("SlowToCompilePatternsEndAtTheCommandsBudget", 1,
            Preview() + Error("Pattern matching used up its budget of 10 s of CPU time for this command"), {kUntouched},
            [](UpdateCase& c) {
              // Some 5 ms of compiling each on a busy machine, less on an idle one: the whole
              // set must outlast the budget by far on any machine.
              for (int i = 0; i < 6000; ++i) {
                Prompting(c).update.conditions["F" + std::to_string(i)] =
                    std::string("(a|b|c|") + static_cast<char>('e' + i % 20) + "){" + std::to_string(4999 - i / 20) + "}";
              }
              c.below = std::chrono::seconds(50);
            }),
        Row("LongNumbersThatAreNoCount", 0, Preview() + Lines{""} + Steps() + Success(), {kBackAt2}, [](UpdateCase& c) {
          c.update.conditions = {{"DeviceModelName", "\\\\1234567890|FWCAM-1"}, {"DeviceVersion", "V1\\.2,1700000000|1\\.0\\.0"}};
          c.update.assertPattern = "x,1234567890|2\\.0\\.0";
        }),
        Row("WithoutVersionCheck", 0,
            Preview() + Lines{""} + Steps("3", "1", 2) +
                Lines{"Success    : Update OK", "", kRule, "", "Update success."},
            {"install succeeded version=2.0.0"}, [](UpdateCase& c) { c.update.withAssert = false; }),
        // The package does not exist: the device number is checked first. One number per MAC address.
        Row("DeviceNumberPastTheList", 1, Error("Invalid device idx: 1"), {kUntouched, kUntouched}, [](UpdateCase& c) {
          c.cameras.push_back(Cam("127.0.0.3", "EMU009"));
          c.options = {"missing.guf", "-d", "1", "--no-prompt"};
        }),
        Row("DeviceNumberPastSixteenBits", 2, Error("Invalid operation option(Device idx) value(65536)"), {kUntouched},
            [](UpdateCase& c) { c.options = {"PKG", "-d", "65536", "--no-prompt"}; })),
    [](const auto& info) { return std::string(info.param.name); });

// The reader goes away during the upload of an update that then fails: the error line, written
// once the update has ended, is lost like the progress before it, and the status stays 1 rather
// than turning into SIGPIPE's 141.
TEST_F(UpdateCameraTest, AReaderGoneBeforeTheErrorLineLeavesTheStatusOfTheFailure) {
  Start({Cam()});
  WriteUpdatePackage(package_.str(), {Fits()}, "2.0.1");
  const auto program = Update({"PKG", "--no-prompt"});
  ASSERT_TRUE(program->WaitForOutput("Progress   : Upload update binary", std::chrono::seconds(20)));
  program->CloseOutput();
  const ProgramRun run = Finish(*program);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_THAT(CameraLog(), HasSubstr("back version=2.0.1"));
}

// The last progress line and the error line; log lines on the console left out.
std::string Ending(Lines lines) {
  lines.erase(std::remove_if(lines.begin(), lines.end(), [](auto& line) { return line.rfind("[quarx]", 0) == 0; }),
              lines.end());
  return lines.size() < 3 ? "" : lines[lines.size() - 3] + "\n" + lines.back();
}

std::string Interrupted(const std::string& step, const std::string& signal) {
  return "Progress   : " + step + "\n Error : Update interrupted by signal " + signal + " in step : " + step + " ";
}

// A stop ends the tool within a second (UpdateInterruption::kStopLimit), five for a busy machine.
constexpr milliseconds kStopBound{5000};

struct StopCase {
  const char* name;
  bool duringUpload;  // else during the install wait
  int signal;  // 0: none
  int exitStatus;
  std::string ending;
  std::string closed;  // what the camera reports of its file; nothing when it is left open
  const char* resumeOn = nullptr;  // a stalled camera resumes after this output (at once: "")
  // A camera that never stalls but completes each 4 KiB write this long after it was given;
  // the signal comes once the first write has begun.
  std::uint32_t writeMs = 0;
  bool twice = false;  // the signal comes twice, as a hang-up does from the kernel and the shell
};

void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class StoppedUpdate : public UpdateCameraTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StoppedUpdate, EndsWithItsErrorLineClosingTheFileWithoutResettingTheCamera) {
  const StopCase& c = GetParam();
  EmulatedCameraSpec camera = Cam();
  camera.installMs = 20000;
  if (c.writeMs != 0) {
    camera.extraArguments = {"--write-ms", std::to_string(c.writeMs)};
  } else if (c.duringUpload) {
    // The camera stops answering once its file holds this much: within the first piece the tool writes.
    camera.extraArguments = {"--stall-after", "8192"};
  }
  Start({camera});
  UpdateSpec spec;
  spec.executeTimeoutMs = 30000;
  // More than one piece of the upload, so that a stop lands while the file is open.
  WriteUpdatePackage(package_.str(), {spec}, "2.0.0", 200 * 1024);
  RunOptions logOnConsole;
  logOnConsole.config = "[log]\nlevel = \"error\"\n";
  const bool waitsForLog = c.resumeOn != nullptr && *c.resumeOn != '\0';
  auto program = Update({"PKG", "--no-prompt"}, waitsForLog ? logOnConsole : RunOptions{});
  constexpr std::chrono::seconds kReach{20};
  ASSERT_TRUE(c.writeMs != 0     ? cameras_->WaitForOutput(0, "slow write offset=0 ", kReach)
              : c.duringUpload ? cameras_->WaitForOutput(0, "stalled size=8192", kReach)
                               : program->WaitForOutput("Progress   : Execute update process", kReach))
      << CameraLog();
  program->Signal(c.signal);
  if (c.twice) {
    program->Signal(c.signal);
  }
  const auto signalled = std::chrono::steady_clock::now();
  if (c.resumeOn != nullptr) {
    ASSERT_TRUE(!waitsForLog || program->WaitForOutput(c.resumeOn, std::chrono::seconds(20)));
    kill(cameras_->Pid(0), SIGCONT);
  }
  const ProgramRun run = Finish(*program);
  if (run.exitStatus == kCannotPrepare) {
    GTEST_SKIP() << kNoMountNamespace;
  }
  EXPECT_TRUE(c.signal == 0 || std::chrono::steady_clock::now() - signalled < kStopBound);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.out;
  EXPECT_EQ(Ending(run.Lines()), c.ending) << run.out;
  EXPECT_THAT(CameraLog(), HasSubstr(c.closed));
  EXPECT_THAT(CameraLog(), Not(HasSubstr(" reset")));
}

const std::string kUpload = "Upload update binary";
const std::string kInstall = "Execute update process (Estimated time = 30 Sec.)";

INSTANTIATE_TEST_SUITE_P(
    UpdateStop, StoppedUpdate,
    ::testing::Values(
        // The camera comes back once the tool has given up on the write: the close still reaches it.
        StopCase{"CameraHangsMidUpload", true, 0, 1,
                 "Progress   : " + kUpload + "\n Error : <Write> Failed to write file(Firmware) mode(write) ",
                 "file Firmware closed size=8192 ", "<Wrire> Result("},
        StopCase{"SigintDuringUpload", true, SIGINT, 130, Interrupted(kUpload, "SIGINT"), "file Firmware closed size=",
                 ""},
        StopCase{"SigtermDuringInstallWait", false, SIGTERM, 143, Interrupted(kInstall, "SIGTERM"),
                 "file Firmware closed size="},
        // A dropped session: its hang-up stops the update as SIGTERM does, the second one included.
        StopCase{"SighupTwiceDuringUpload", true, SIGHUP, 129, Interrupted(kUpload, "SIGHUP"),
                 "file Firmware closed size=", "", 0, true},
        // A camera that keeps answering is waited for however slowly it writes: about a second
        // per 64 KiB piece, and a single write that takes twice the time the tool gives a silent one.
        StopCase{"SigintDuringUploadToASlowCamera", true, SIGINT, 130, Interrupted(kUpload, "SIGINT"),
                 "file Firmware closed size=", nullptr, 60},
        StopCase{"SigintWhileOneWriteOutlastsTheStopLimit", true, SIGINT, 130, Interrupted(kUpload, "SIGINT"),
                 "file Firmware closed size=", nullptr, 1500}),
    [](const auto& info) { return std::string(info.param.name); });

// SIGINT at offsets spread over whole updates, one camera and one run each, side by side: after
// the first progress line through every step and a search of 20 s, and after the camera hung in
// the middle of the upload, never to answer again. Each run ends within kStopBound of its
// signal with status 130 and the error line naming the step it stopped in.
TEST_F(UpdateCameraTest, SigintAtAnyMomentEndsTheUpdateWithinASecond) {
  const struct {
    bool stalled;
    std::vector<int> offsetsMs;
  } kSweeps[] = {{false, {0, 200, 400, 600, 800, 1000, 1200, 1400}},
                 {false, {1600, 1800, 2000, 2200, 2400, 2600, 2800, 6000}},
                 {true, {0, 400, 1000, 2000, 2600, 3500, 5500, 8000}}};
  WriteUpdatePackage(package_.str(), {UpdateSpec{}}, "2.0.0", 200 * 1024);
  for (const auto& sweep : kSweeps) {
    std::vector<EmulatedCameraSpec> specs(sweep.offsetsMs.size(), Cam());
    for (std::size_t i = 0; i < specs.size(); ++i) {
      specs[i].address = "127.0.0." + std::to_string(2 + i);
      specs[i].extraArguments = {"--stall-after", sweep.stalled ? "8192" : "4294967295"};
    }
    cameras_.reset();  // the cameras of the last sweep hold the same addresses
    Start(specs);
    std::vector<ProgramRun> runs(specs.size());
    std::vector<milliseconds> took(specs.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < specs.size(); ++i) {
      threads.emplace_back([&, i] {
        const auto program =
            Update({"PKG", "-d", std::to_string(i), "--no-prompt"}, {}, sweep.stalled ? kDiscoveryMs : "20000");
        EXPECT_TRUE(sweep.stalled ? cameras_->WaitForOutput(i, "stalled size=", kRunLimit)
                                  : program->WaitForOutput("Progress   : CheckPreconditions", kRunLimit));
        std::this_thread::sleep_for(milliseconds(sweep.offsetsMs[i]));
        program->Signal(SIGINT);
        const auto signalled = std::chrono::steady_clock::now();
        runs[i] = Finish(*program);
        took[i] = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - signalled);
        kill(cameras_->Pid(i), SIGCONT);  // a stalled camera ends only once it runs again
      });
    }
    for (auto& thread : threads) {
      thread.join();
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
      const Lines lines = runs[i].Lines();
      const std::string step = lines.size() < 3 ? "" : lines[lines.size() - 3].substr(13);  // after "Progress   : "
      SCOPED_TRACE(std::to_string(sweep.offsetsMs[i]) + " ms in, ended " + std::to_string(took[i].count()) +
                   " ms after the signal in: " + step);
      EXPECT_EQ(runs[i].exitStatus, 130);
      EXPECT_EQ(Ending(lines), Interrupted(step, "SIGINT")) << runs[i].out;
      EXPECT_LT(took[i], kStopBound);
    }
  }
}

}  // namespace
}  // namespace quarx::test::e2e
