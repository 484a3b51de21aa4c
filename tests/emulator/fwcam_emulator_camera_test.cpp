// The emulator's own behaviour that the product tests lean on without noticing when it breaks:
// file access that fails where a camera's would, and an install that takes its time and shows
// only after a reset that keeps the camera off the network. Driven through Aravis alone, so that the
// stand-in it serves does not check it.
#include <arv.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/gvcp_responder.h"

namespace quarx::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kBufferSize = 4096;
constexpr milliseconds kLineTimeout{5000};
constexpr std::int64_t kWrite = 1;

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

// A control connection to 127.0.0.2 by address (never Aravis's broadcast discovery).
class AravisCamera {
 public:
  AravisCamera() {
    GInetAddress* local = g_inet_address_new_from_string("127.0.0.1");
    GInetAddress* remote = g_inet_address_new_from_string("127.0.0.2");
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
  // Select, execute, wait, then the camera's status ("Success" or "Failure"). The open mode goes
  // straight to its register, so that modes GenICam hides can be tried too; a transfer carries `bytes`.
  std::string FileOperation(const char* operation, const char* file, std::int64_t modeOrOffset = 0,
                            std::string bytes = "bytes") {
    Set("FileSelector", file);
    if (std::string(operation) == "Open") {
      Set("FileOpenModeRegister", modeOrOffset);
    } else if (std::string(operation) != "Close") {
      const auto length = static_cast<std::int64_t>(bytes.size());
      bytes.resize(kBufferSize);
      auto* buffer = ARV_GC_REGISTER(arv_device_get_feature(device_, "FileAccessBuffer"));
      Checked("FileAccessBuffer",
              [&](GError** e) { return arv_gc_register_set(buffer, bytes.data(), kBufferSize, e), 0; });
      Set("FileAccessOffset", modeOrOffset);
      Set("FileAccessLength", length);
    }
    Set("FileOperationSelector", operation);
    Execute("FileOperationExecute");
    if (!WaitUntilDone("FileOperationExecuteRegister", milliseconds(2000))) {
      throw std::runtime_error(std::string("file operation ") + operation + " never completed");
    }
    return Text("FileOperationStatus");
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
  // DeviceReset as the updater does it: execute, then let go of the camera.
  void ResetAndDisconnect() {
    camera_->Execute("DeviceReset");
    camera_.reset();
    ASSERT_TRUE(cameras_->WaitForOutput(0, "127.0.0.2 reset", kLineTimeout));
  }

  std::unique_ptr<EmulatorLauncher> cameras_;
  std::unique_ptr<AravisCamera> camera_;
};

// An install takes its time unless the update mode refuses it at once; whatever its outcome, the
// camera runs the version it has only after a reset, which keeps it off the network for its time.
TEST_F(FwcamEmulator, InstallTakesItsTimeAndItsOutcomeShowsAfterTheReset) {
  const struct {
    const char* mode;
    const char* status;
    const char* line;
    const char* versionAfterReset;
  } kCases[] = {
      {"On", "Success", "install succeeded version=2.0.0", "2.0.0"},
      {"Off", "Failure", "install failed: FirmwareUpdateMode is Off", "1.0.0"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    EmulatedCameraSpec spec;
    spec.installMs = 150;
    spec.resetMs = 300;
    Launch(spec);
    const auto started = Clock::now();
    // File access fails where a camera's would.
    EXPECT_EQ(camera_->FileOperation("Write", "Firmware"), "Failure");  // nothing open
    ASSERT_EQ(camera_->FileOperation("Open", "Firmware", kWrite), "Success");
    EXPECT_EQ(camera_->FileOperation("Write", "Firmware", 1), "Failure");  // would leave a hole
    EXPECT_EQ(camera_->FileOperation("Read", "Firmware"), "Failure");      // opened for writing
    ASSERT_EQ(camera_->FileOperation("Write", "Firmware", 0, "version=2.0.0\r\nthe image"), "Success");
    ASSERT_EQ(camera_->FileOperation("Close", "Firmware"), "Success");
    camera_->Set("FirmwareUpdateMode", c.mode);
    camera_->Execute("FirmwareUpdateExecute");
    ASSERT_TRUE(camera_->WaitUntilDone("FirmwareUpdateExecuteRegister", milliseconds(2000)));
    EXPECT_GE(Clock::now() - started, milliseconds(std::string(c.mode) == "On" ? 150 : 0));
    EXPECT_EQ(camera_->Text("FirmwareUpdateStatus"), c.status);
    EXPECT_TRUE(cameras_->WaitForOutput(0, c.line, kLineTimeout)) << cameras_->Output(0);
    EXPECT_EQ(camera_->Text("DeviceVersion"), "1.0.0");

    const auto resetAt = Clock::now();
    ResetAndDisconnect();
    EXPECT_FALSE(AnswersDiscovery("127.0.0.2", milliseconds(200))) << "a resetting camera answers no discovery";
    EXPECT_TRUE(cameras_->WaitForOutput(0, std::string("back version=") + c.versionAfterReset, kLineTimeout))
        << cameras_->Output(0);
    EXPECT_GE(Clock::now() - resetAt, milliseconds(300));
    EXPECT_TRUE(AnswersDiscovery("127.0.0.2", milliseconds(1000)));
  }
}

// A camera off loopback, or on an address another camera serves, would reach past the test's own
// cameras: the emulator refuses to start and says why.
TEST_F(FwcamEmulator, RefusesAnAddressOffLoopbackOrTaken) {
  Launch();
  for (const auto& [address, reason] :
       {std::pair{"10.0.0.1", "loopback addresses (127.x.x.x) only"}, std::pair{"127.0.0.2", "127.0.0.2"}}) {
    EmulatedCameraSpec spec;
    spec.address = address;
    try {
      EmulatorLauncher refused({spec});
      ADD_FAILURE() << address << ": the emulator started";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace quarx::test
