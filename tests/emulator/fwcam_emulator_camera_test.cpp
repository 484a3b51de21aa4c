// The emulator's own behaviour that the product tests lean on without noticing when it breaks:
// file access that fails where a camera would, an install that takes its time, a reset that
// keeps the camera off the network for its time, a prompt stop, its option checks and a quiet
// idle loop. Driven through Aravis alone, so that the stand-in it serves does not check it.
#include <arv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/gvcp_discovery.h"

namespace quarx::test {
namespace {

using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kAddress = "127.0.0.2";
constexpr std::size_t kBufferSize = 4096;
constexpr milliseconds kCommandTimeout{2000};
constexpr milliseconds kLineTimeout{5000};
constexpr std::int64_t kRead = 0;
constexpr std::int64_t kWrite = 1;
constexpr std::int64_t kReadWrite = 2;

// Runs an Aravis call that reports through GError; throws with Aravis's message.
template <typename Call>
auto Checked(const char* what, Call call) {
  GError* error = nullptr;
  auto result = call(&error);
  if (error != nullptr) {
    const std::string message = std::string(what) + ": " + error->message;
    g_error_free(error);
    throw std::runtime_error(message);
  }
  return result;
}

// A control connection by address (never Aravis's broadcast discovery).
class AravisCamera {
 public:
  AravisCamera() {
    GInetAddress* local = g_inet_address_new_from_string("127.0.0.1");
    GInetAddress* remote = g_inet_address_new_from_string(kAddress);
    device_ = Checked("connect", [&](GError** e) { return arv_gv_device_new(local, remote, e); });
    g_object_unref(local);
    g_object_unref(remote);
  }
  ~AravisCamera() { g_object_unref(device_); }
  AravisCamera(const AravisCamera&) = delete;
  AravisCamera& operator=(const AravisCamera&) = delete;

  // Strings and enumeration entries alike.
  std::string Text(const char* name) {
    const char* text = Checked(name, [&](GError** e) { return arv_device_get_string_feature_value(device_, name, e); });
    return text == nullptr ? "" : text;
  }
  std::int64_t Integer(const char* name) {
    return Checked(name, [&](GError** e) { return arv_device_get_integer_feature_value(device_, name, e); });
  }
  void Set(const char* name, const char* entry) {
    Checked(name, [&](GError** e) { return arv_device_set_string_feature_value(device_, name, entry, e), 0; });
  }
  void Set(const char* name, std::int64_t value) {
    Checked(name, [&](GError** e) { return arv_device_set_integer_feature_value(device_, name, value, e), 0; });
  }
  void Execute(const char* name) {
    Checked(name, [&](GError** e) { return arv_device_execute_command(device_, name, e), 0; });
  }
  // A command is done once its register no longer reads back as the command value (1).
  bool WaitUntilDone(const char* registerName, milliseconds timeout) {
    for (const auto deadline = Clock::now() + timeout; Integer(registerName) == 1;) {
      if (Clock::now() >= deadline) {
        return false;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return true;
  }

  // Select, execute, wait, then the camera's status ("Success" or "Failure").
  std::string FileOperation(const char* operation) {
    Set("FileOperationSelector", operation);
    Execute("FileOperationExecute");
    if (!WaitUntilDone("FileOperationExecuteRegister", kCommandTimeout)) {
      throw std::runtime_error(std::string("file operation ") + operation + " never completed");
    }
    return Text("FileOperationStatus");
  }
  // The mode goes straight to its register, so that modes GenICam hides can be tried too.
  std::string Open(const char* file, std::int64_t mode) {
    Set("FileSelector", file);
    Set("FileOpenModeRegister", mode);
    return FileOperation("Open");
  }
  std::string Transfer(const char* operation, std::int64_t offset, std::string bytes) {
    const std::int64_t length = static_cast<std::int64_t>(bytes.size());
    bytes.resize(kBufferSize);
    auto* buffer = ARV_GC_REGISTER(arv_device_get_feature(device_, "FileAccessBuffer"));
    Checked("FileAccessBuffer",
            [&](GError** e) { return arv_gc_register_set(buffer, bytes.data(), kBufferSize, e), 0; });
    Set("FileAccessOffset", offset);
    Set("FileAccessLength", length);
    return FileOperation(operation);
  }

 private:
  ArvDevice* device_ = nullptr;
};

class FwcamEmulator : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }

  void Launch(const EmulatedCameraSpec& spec = {}) {
    camera_.reset();
    cameras_.reset();  // frees the address for the new camera
    cameras_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{spec});
    camera_ = std::make_unique<AravisCamera>();
  }

  // Uploads the image, sets the update mode and executes the update command.
  void StartInstall(const std::string& image, const char* mode = "On") {
    ASSERT_EQ(camera_->Open("Firmware", kWrite), "Success");
    ASSERT_EQ(camera_->Transfer("Write", 0, image), "Success");
    ASSERT_EQ(camera_->FileOperation("Close"), "Success");
    camera_->Set("FirmwareUpdateMode", mode);
    camera_->Execute("FirmwareUpdateExecute");
  }

  // DeviceReset as the updater does it: execute, then let go of the camera.
  void ResetAndDisconnect() {
    camera_->Execute("DeviceReset");
    camera_.reset();
    ASSERT_TRUE(cameras_->WaitForOutput(0, std::string(kAddress) + " reset", kLineTimeout));
  }

  std::unique_ptr<EmulatorLauncher> cameras_;
  std::unique_ptr<AravisCamera> camera_;
};

TEST_F(FwcamEmulator, FileOperationsFailWhereACameraWould) {
  const struct {
    const char* operation;
    const char* file;
    std::int64_t modeOrOffset;
    const char* status;
  } kSteps[] = {
      {"Open", "ReadOnlyFile", kWrite, "Failure"}, {"Open", "ReadOnlyFile", kReadWrite, "Failure"},
      {"Open", "ReadOnlyFile", kRead, "Success"},  {"Open", "Firmware", 7, "Failure"},   // no such mode
      {"Write", "Firmware", 0, "Failure"},         {"Close", "Firmware", 0, "Failure"},  // nothing open
      {"Open", "Firmware", kWrite, "Success"},     {"Write", "Firmware", 1, "Failure"},  // would leave a hole
      {"Read", "Firmware", 0, "Failure"},          {"Write", "Firmware", 0, "Success"},
  };
  Launch();
  for (const auto& step : kSteps) {
    SCOPED_TRACE(std::string(step.operation) + " " + step.file + " " + std::to_string(step.modeOrOffset));
    camera_->Set("FileSelector", step.file);
    const std::string operation = step.operation;
    const std::string status = operation == "Open"    ? camera_->Open(step.file, step.modeOrOffset)
                               : operation == "Close" ? camera_->FileOperation("Close")
                                                      : camera_->Transfer(step.operation, step.modeOrOffset, "bytes");
    EXPECT_EQ(status, step.status);
    EXPECT_EQ(camera_->Integer("FileOperationResult"), status == "Success" && operation == "Write" ? 5 : 0);
  }
}

// Every install takes its time (unless the update mode refuses it at once), and whatever its
// outcome the camera runs the version it has only after a reset, which keeps it off the network
// for the reset time.
TEST_F(FwcamEmulator, InstallTakesItsTimeAndItsOutcomeShowsAfterTheReset) {
  const struct {
    const char* image;
    const char* mode;
    bool failInstall;
    const char* status;
    const char* line;
    const char* versionAfterReset;
  } kCases[] = {
      {"version=2.0.0\r\nthe image", "On", false, "Success", "install succeeded version=2.0.0", "2.0.0"},
      {"3.1.4\nrest", "On", false, "Success", "install succeeded version=3.1.4", "3.1.4"},
      {"version=4.0", "On", false, "Success", "install succeeded version=4.0", "4.0"},
      {"version=2.0.0\n", "Off", false, "Failure", "install failed: FirmwareUpdateMode is Off", "1.0.0"},
      {"version=2.0.0\n", "On", true, "Failure", "install failed: injected by --fail-install", "1.0.0"},
      {"", "On", false, "Failure", "install failed: the Firmware file is empty", "1.0.0"},
      {"version=123456789012345678901234567890123\n", "On", false, "Failure", "install failed: the first line",
       "1.0.0"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    EmulatedCameraSpec spec;
    spec.installMs = 150;
    spec.resetMs = 300;
    spec.failInstall = c.failInstall;
    Launch(spec);
    const auto started = Clock::now();
    StartInstall(c.image, c.mode);
    if (std::string(c.mode) == "On") {
      // The camera picks the command up within a millisecond or so; earlier the status may be Idle.
      EXPECT_FALSE(camera_->WaitUntilDone("FirmwareUpdateExecuteRegister", milliseconds(50)));
      EXPECT_EQ(camera_->Text("FirmwareUpdateStatus"), "InProgress");
    }
    ASSERT_TRUE(camera_->WaitUntilDone("FirmwareUpdateExecuteRegister", kCommandTimeout));
    EXPECT_GE(Clock::now() - started, milliseconds(std::string(c.mode) == "On" ? 150 : 0));
    EXPECT_EQ(camera_->Text("FirmwareUpdateStatus"), c.status);
    EXPECT_TRUE(cameras_->WaitForOutput(0, c.line, kLineTimeout)) << cameras_->Output(0);
    EXPECT_EQ(camera_->Text("DeviceVersion"), "1.0.0");

    const auto resetAt = Clock::now();
    ResetAndDisconnect();
    EXPECT_TRUE(DiscoverCameras("127.0.0.1", "255.255.255.255", milliseconds(200)).empty())
        << "a resetting camera answers no discovery";
    EXPECT_TRUE(cameras_->WaitForOutput(0, std::string("back version=") + c.versionAfterReset, kLineTimeout))
        << cameras_->Output(0);
    EXPECT_GE(Clock::now() - resetAt, milliseconds(300));
  }
}

TEST_F(FwcamEmulator, StopEndsTheCameraAtOnceEvenOffTheNetworkAndFreesItsAddress) {
  const struct {
    bool reset;
    std::uint32_t resetMs;
    bool neverBack;
  } kCases[] = {{false, 200, false}, {true, 10000, false}, {true, 50, true}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "reset " << c.reset << " for " << c.resetMs << " ms, never back "
                                    << c.neverBack);
    EmulatedCameraSpec spec;
    spec.resetMs = c.resetMs;
    spec.neverBack = c.neverBack;
    Launch(spec);
    if (c.reset) {
      ResetAndDisconnect();
    }
    const auto stopping = Clock::now();
    const int status = cameras_->Stop(0);
    EXPECT_LT(Clock::now() - stopping, std::chrono::seconds(1));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_THAT(cameras_->Output(0), HasSubstr("fwcam-emulator stopped 127.0.0.2"));
  }
  cameras_->Restart(0, cameras_->Spec(0));
}

TEST_F(FwcamEmulator, RefusesBadOptionsAndATakenAddressWithAMessageNamingThem) {
  const EmulatorLauncher first({EmulatedCameraSpec{}});
  const struct {
    const char* address;
    std::vector<std::string> extra;
    const char* message;
  } kCases[] = {
      {"127.0.0.3", {"--bogus"}, "unknown option(--bogus)"},
      {"127.0.0.3", {"--install-ms", "soon"}, "invalid value(soon) for --install-ms"},
      {"127.0.0.3", {"--mac", "02-5e-c1-00-00-02"}, "invalid value(02-5e-c1-00-00-02) for --mac"},
      {"127.0.0.3", {"--serial", "SEVENTEEN-CHARS-X"}, "longer than its 16-byte field"},
      {"127.0.0.3", {"--sources"}, "option --sources needs a value"},
      {"10.0.0.1", {}, "loopback addresses (127.x.x.x) only"},
      {"127.0.0.2", {}, "127.0.0.2"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.message);
    EmulatedCameraSpec spec;
    spec.address = c.address;
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

// User plus system time of the emulator so far (its command name holds no blank).
double CpuSeconds(pid_t pid) {
  unsigned long user = 0;
  unsigned long system = 0;
  FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
  const int read = stat == nullptr ? 0
                                   : std::fscanf(stat, "%*d %*s %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu",
                                                 &user, &system);
  if (stat != nullptr) {
    std::fclose(stat);
  }
  EXPECT_EQ(read, 2) << "cannot read the processor time of process " << pid;
  return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// It may look for commands often while a host drives it, but several run side by side on small
// machines: once the host is quiet (past the 200 ms of close looking after a command), one that
// kept looking every 20 us would use about half of a second, an idle one a hundredth.
TEST_F(FwcamEmulator, AQuietEmulatorCostsNoProcessorTime) {
  Launch();
  ASSERT_EQ(camera_->Open("Firmware", kWrite), "Success");
  ASSERT_EQ(camera_->FileOperation("Close"), "Success");
  std::this_thread::sleep_for(milliseconds(300));
  const double before = CpuSeconds(cameras_->Pid(0));
  std::this_thread::sleep_for(milliseconds(1000));
  const double used = CpuSeconds(cameras_->Pid(0)) - before;
  EXPECT_LT(used, 0.25) << "the emulator used " << used << " s of processor time in a quiet second";
}

}  // namespace
}  // namespace quarx::test
