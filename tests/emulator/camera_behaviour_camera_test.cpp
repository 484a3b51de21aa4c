// What the emulated camera does when driven like the updater drives it: GenICam file access,
// the firmware install with its injected failures, and DeviceReset with its time off the
// network. Each test talks to a real emulator through Aravis, inside a loopback namespace.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/emulator/aravis_camera.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/gvcp_discovery.h"

namespace quarx::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kBufferSize = 4096;
constexpr std::chrono::milliseconds kCommandTimeout{2000};
constexpr std::chrono::milliseconds kDiscoveryWait{200};
constexpr std::chrono::milliseconds kLineTimeout{5000};
constexpr const char* kAddress = "127.0.0.2";

// GenICam file access the way a tool drives it: select, set, execute, wait, read the status.
class FileAccess {
 public:
  explicit FileAccess(AravisCamera& camera) : camera_(camera) {}

  std::string Run(const std::string& operation) {
    camera_.SetEnum("FileOperationSelector", operation);
    camera_.Execute("FileOperationExecute");
    if (!camera_.WaitUntilDone("FileOperationExecuteRegister", kCommandTimeout)) {
      throw std::runtime_error("file operation " + operation + " never completed");
    }
    return camera_.Enum("FileOperationStatus");
  }
  std::int64_t Result() const { return camera_.Integer("FileOperationResult"); }

  // The mode goes straight to its register, so that modes GenICam hides can be tried too.
  std::string Open(const std::string& file, std::int64_t mode) {
    camera_.SetEnum("FileSelector", file);
    camera_.SetInteger("FileOpenModeRegister", mode);
    return Run("Open");
  }
  std::string WriteChunk(std::uint32_t offset, const std::string& bytes) {
    std::vector<std::uint8_t> buffer(kBufferSize, 0);
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    camera_.SetRegister("FileAccessBuffer", buffer);
    camera_.SetInteger("FileAccessOffset", offset);
    camera_.SetInteger("FileAccessLength", static_cast<std::int64_t>(bytes.size()));
    return Run("Write");
  }
  std::string ReadChunk(std::uint32_t offset, std::size_t length, std::string& bytes) {
    camera_.SetInteger("FileAccessOffset", offset);
    camera_.SetInteger("FileAccessLength", static_cast<std::int64_t>(length));
    const std::string status = Run("Read");
    const std::vector<std::uint8_t> buffer = camera_.Register("FileAccessBuffer");
    bytes.assign(buffer.begin(), buffer.begin() + Result());
    return status;
  }

  void Upload(const std::string& file, const std::string& image) {
    ASSERT_EQ(Open(file, kWrite), "Success");
    for (std::size_t offset = 0; offset < image.size(); offset += kBufferSize) {
      const std::string chunk = image.substr(offset, kBufferSize);
      ASSERT_EQ(WriteChunk(static_cast<std::uint32_t>(offset), chunk), "Success");
      ASSERT_EQ(Result(), static_cast<std::int64_t>(chunk.size()));
    }
    ASSERT_EQ(Run("Close"), "Success");
  }
  std::string Download(const std::string& file) {
    std::string all;
    EXPECT_EQ(Open(file, kRead), "Success");
    for (std::string chunk;; all += chunk) {
      EXPECT_EQ(ReadChunk(static_cast<std::uint32_t>(all.size()), kBufferSize, chunk), "Success");
      if (chunk.empty()) {
        break;
      }
    }
    EXPECT_EQ(Run("Close"), "Success");
    return all;
  }

  static constexpr std::int64_t kRead = 0;
  static constexpr std::int64_t kWrite = 1;
  static constexpr std::int64_t kReadWrite = 2;

 private:
  AravisCamera& camera_;
};

std::string RandomBytes(std::size_t size) {
  std::mt19937 generator(12345);
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(generator() & 0xFF);
  }
  return bytes;
}

class CameraBehaviour : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }

  void Launch(const std::function<void(EmulatedCameraSpec&)>& knobs = {}) {
    EmulatedCameraSpec spec;
    spec.address = kAddress;
    spec.installMs = 150;
    spec.resetMs = 300;
    if (knobs) {
      knobs(spec);
    }
    cameras_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{spec});
    camera_ = std::make_unique<AravisCamera>(kAddress);
  }

  // Uploads the image, enables the update mode and executes the update command.
  void StartInstall(const std::string& image) {
    FileAccess files(*camera_);
    files.Upload("Firmware", image);
    camera_->SetEnum("FirmwareUpdateMode", "On");
    camera_->Execute("FirmwareUpdateExecute");
  }

  bool InstallDone(std::chrono::milliseconds timeout) {
    return camera_->WaitUntilDone("FirmwareUpdateExecuteRegister", timeout);
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

TEST_F(CameraBehaviour, UploadedFileReadsBackIntactWithItsSize) {
  Launch();
  FileAccess files(*camera_);
  const std::string image = RandomBytes(3 * kBufferSize + 123);
  files.Upload("Firmware", image);
  camera_->SetEnum("FileSelector", "Firmware");
  EXPECT_EQ(camera_->Integer("FileSize"), static_cast<std::int64_t>(image.size()));
  EXPECT_TRUE(files.Download("Firmware") == image) << "the bytes read back differ from those written";
  camera_->SetEnum("FileSelector", "FailingFile");
  EXPECT_EQ(camera_->Integer("FileSize"), 0) << "sizes are kept per file";
}

TEST_F(CameraBehaviour, ClosingAWrittenFileAnnouncesItsSizeAndCrc32) {
  Launch();
  FileAccess files(*camera_);
  files.Upload("Firmware", "123456789");  // the CRC-32 check value is cbf43926
  EXPECT_TRUE(cameras_->WaitForOutput(0, "127.0.0.2 file Firmware closed size=9 crc32=cbf43926", kLineTimeout))
      << cameras_->Output(0);
}

TEST_F(CameraBehaviour, FileOperationsReportFailureWhereACameraWould) {
  struct Step {
    const char* operation;  // Open, Write, Read, Close
    const char* file;
    std::int64_t mode;     // for Open
    std::uint32_t offset;  // for Write and Read
    const char* expected;
  };
  const struct {
    const char* name;
    std::function<void(EmulatedCameraSpec&)> knobs;
    std::vector<Step> steps;
  } kCases[] = {
      {"failing file never opens", {}, {{"Open", "FailingFile", FileAccess::kWrite, 0, "Failure"}}},
      {"read-only file refuses writing",
       {},
       {{"Open", "ReadOnlyFile", FileAccess::kWrite, 0, "Failure"},
        {"Open", "ReadOnlyFile", FileAccess::kReadWrite, 0, "Failure"},
        {"Open", "ReadOnlyFile", FileAccess::kRead, 0, "Success"}}},
      {"unknown open mode", {}, {{"Open", "Firmware", 7, 0, "Failure"}}},
      {"write and close need an open file",
       {},
       {{"Write", "Firmware", 0, 0, "Failure"}, {"Close", "Firmware", 0, 0, "Failure"}}},
      {"write may not leave a hole",
       {},
       {{"Open", "Firmware", FileAccess::kWrite, 0, "Success"}, {"Write", "Firmware", 0, 1, "Failure"}}},
      {"reading a file opened for writing",
       {},
       {{"Open", "Firmware", FileAccess::kWrite, 0, "Success"}, {"Read", "Firmware", 0, 0, "Failure"}}},
      {"--fail-open",
       [](EmulatedCameraSpec& s) { s.failOpen = true; },
       {{"Open", "Firmware", FileAccess::kWrite, 0, "Failure"}}},
      {"--fail-write",
       [](EmulatedCameraSpec& s) { s.failWrite = true; },
       {{"Open", "Firmware", FileAccess::kWrite, 0, "Success"}, {"Write", "Firmware", 0, 0, "Failure"}}},
      {"--fail-close",
       [](EmulatedCameraSpec& s) { s.failClose = true; },
       {{"Open", "Firmware", FileAccess::kWrite, 0, "Success"},
        {"Write", "Firmware", 0, 0, "Success"},
        {"Close", "Firmware", 0, 0, "Failure"}}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Launch(c.knobs);
    FileAccess files(*camera_);
    for (const Step& step : c.steps) {
      SCOPED_TRACE(std::string(step.operation) + " " + step.file);
      const std::string operation = step.operation;
      std::string status;
      std::string read;
      camera_->SetEnum("FileSelector", step.file);
      if (operation == "Open") {
        status = files.Open(step.file, step.mode);
      } else if (operation == "Write") {
        status = files.WriteChunk(step.offset, "some bytes");
      } else if (operation == "Read") {
        status = files.ReadChunk(step.offset, 16, read);
      } else {
        status = files.Run(operation);
      }
      EXPECT_EQ(status, step.expected);
      if (status == "Failure") {
        EXPECT_EQ(files.Result(), 0);
      }
    }
    camera_.reset();
    cameras_.reset();
  }
}

TEST_F(CameraBehaviour, InstallTakesItsTimeThenTheVersionShowsAfterAReset) {
  Launch([](EmulatedCameraSpec& s) { s.userName = "before"; });
  camera_->SetString("DeviceUserID", "renamed");
  const std::string image = "version=2.0.0\r\n" + RandomBytes(5000);
  const auto started = Clock::now();
  StartInstall(image);
  // The camera picks the command up within a millisecond or so; reading the status earlier
  // may still give Idle.
  EXPECT_FALSE(InstallDone(std::chrono::milliseconds(50)));
  EXPECT_EQ(camera_->Enum("FirmwareUpdateStatus"), "InProgress");
  ASSERT_TRUE(InstallDone(kCommandTimeout));
  EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(150));
  EXPECT_EQ(camera_->Enum("FirmwareUpdateStatus"), "Success");
  EXPECT_EQ(camera_->String("DeviceVersion"), "1.0.0") << "the new firmware runs only after a reset";
  EXPECT_TRUE(cameras_->WaitForOutput(0, "install succeeded version=2.0.0", kLineTimeout));

  const auto resetAt = Clock::now();
  ResetAndDisconnect();
  EXPECT_TRUE(DiscoverCameras("127.0.0.1", "255.255.255.255", kDiscoveryWait).empty())
      << "a resetting camera answers no discovery";
  EXPECT_TRUE(DiscoverCameras("127.0.0.1", kAddress, kDiscoveryWait).empty());
  ASSERT_TRUE(cameras_->WaitForOutput(0, "127.0.0.2 back version=2.0.0", kLineTimeout)) << cameras_->Output(0);
  EXPECT_GE(Clock::now() - resetAt, std::chrono::milliseconds(300));

  const std::vector<DiscoveryAnswer> answers = DiscoverCameras("127.0.0.1", kAddress, kDiscoveryWait);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].version, "2.0.0");
  EXPECT_EQ(answers[0].userName, "renamed");
  EXPECT_EQ(answers[0].mac, "02:5e:c1:00:00:02");

  AravisCamera back(kAddress);
  EXPECT_EQ(back.String("DeviceVersion"), "2.0.0");
  EXPECT_EQ(back.String("DeviceUserID"), "renamed");
  EXPECT_EQ(back.Enum("FirmwareUpdateStatus"), "Idle");
  EXPECT_EQ(back.Enum("FirmwareUpdateMode"), "Off");
  FileAccess files(back);
  EXPECT_TRUE(files.Download("Firmware") == image) << "files survive the reset";
}

TEST_F(CameraBehaviour, InstallOutcomeFollowsTheImageAndTheKnobs) {
  const struct {
    const char* name;
    std::function<void(EmulatedCameraSpec&)> knobs;
    const char* image;
    bool enable;
    const char* status;
    const char* line;
    const char* versionAfterReset;
  } kCases[] = {
      {"plain first line", {}, "3.1.4\nrest", true, "Success", "install succeeded version=3.1.4", "3.1.4"},
      {"single line without line feed", {}, "version=4.0", true, "Success", "install succeeded version=4.0", "4.0"},
      {"update mode off",
       {},
       "version=2.0.0\n",
       false,
       "Failure",
       "install failed: FirmwareUpdateMode is Off",
       "1.0.0"},
      {"--fail-install", [](EmulatedCameraSpec& s) { s.failInstall = true; }, "version=2.0.0\n", true, "Failure",
       "install failed: injected by --fail-install", "1.0.0"},
      {"empty image", {}, "", true, "Failure", "install failed: the Firmware file is empty", "1.0.0"},
      {"over-long version",
       {},
       "version=123456789012345678901234567890123\n",
       true,
       "Failure",
       "install failed: the first line",
       "1.0.0"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Launch(c.knobs);
    FileAccess files(*camera_);
    files.Upload("Firmware", c.image);
    camera_->SetEnum("FirmwareUpdateMode", c.enable ? "On" : "Off");
    camera_->Execute("FirmwareUpdateExecute");
    ASSERT_TRUE(InstallDone(kCommandTimeout));
    EXPECT_EQ(camera_->Enum("FirmwareUpdateStatus"), c.status);
    EXPECT_TRUE(cameras_->WaitForOutput(0, c.line, kLineTimeout)) << cameras_->Output(0);
    ResetAndDisconnect();
    ASSERT_TRUE(cameras_->WaitForOutput(0, std::string("back version=") + c.versionAfterReset, kLineTimeout))
        << cameras_->Output(0);
    cameras_.reset();
  }
}

TEST_F(CameraBehaviour, NeverDoneKeepsTheUpdateCommandRunning) {
  Launch([](EmulatedCameraSpec& s) {
    s.neverDone = true;
    s.installMs = 50;
  });
  StartInstall("version=2.0.0\n");
  EXPECT_FALSE(InstallDone(std::chrono::milliseconds(400)));
  EXPECT_EQ(camera_->Enum("FirmwareUpdateStatus"), "InProgress");
  EXPECT_THAT(cameras_->Output(0), Not(HasSubstr("install")));
}

TEST_F(CameraBehaviour, NeverBackStaysOffTheNetworkYetStopsCleanly) {
  Launch([](EmulatedCameraSpec& s) {
    s.neverBack = true;
    s.resetMs = 50;
  });
  ResetAndDisconnect();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(DiscoverCameras("127.0.0.1", "255.255.255.255", kDiscoveryWait).empty());
  EXPECT_THAT(cameras_->Output(0), Not(HasSubstr(" back ")));
  const auto stopping = Clock::now();
  const int status = cameras_->Stop(0);
  EXPECT_LT(Clock::now() - stopping, std::chrono::seconds(1));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(CameraBehaviour, ResetDropsTheCameraEvenWhileAHostKeepsControl) {
  Launch();
  camera_->Execute("DeviceReset");
  EXPECT_TRUE(cameras_->WaitForOutput(0, "127.0.0.2 reset", std::chrono::milliseconds(1500)));
  EXPECT_TRUE(DiscoverCameras("127.0.0.1", kAddress, kDiscoveryWait).empty());
  // Let go only once the camera is back, so that Aravis's goodbye finds someone to answer.
  EXPECT_TRUE(cameras_->WaitForOutput(0, "127.0.0.2 back", kLineTimeout));
  camera_.reset();
}

TEST_F(CameraBehaviour, StopDuringAResetEndsAtOnce) {
  Launch([](EmulatedCameraSpec& s) { s.resetMs = 10000; });
  ResetAndDisconnect();
  const auto stopping = Clock::now();
  const int status = cameras_->Stop(0);
  EXPECT_LT(Clock::now() - stopping, std::chrono::seconds(1));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace quarx::test
