// What an emulated camera costs while its host is quiet: it may look for commands often while
// a host drives it, but several run side by side in tests on small machines, so once the host
// goes quiet it must cost no processor time to speak of.
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/emulator/aravis_camera.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace quarx::test {
namespace {

constexpr const char* kAddress = "127.0.0.2";
constexpr std::int64_t kOpenForWriting = 1;
constexpr std::chrono::milliseconds kCommandTimeout{2000};
// Past the time the emulator keeps looking closely after a command (200 ms).
constexpr std::chrono::milliseconds kQuietAfterCommands{300};
constexpr std::chrono::milliseconds kQuietMeasured{1000};
// An emulator that kept looking closely (every 20 us) would use about half of the second, one
// that spins all of it; an idle one uses about a hundredth.
constexpr double kQuietCpuLimitSeconds = 0.25;

// User plus system time of a process so far, from /proc/<pid>/stat.
double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  // The command name in parentheses may hold blanks; the fields after it are plain numbers.
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::vector<std::string> values;
  for (std::string value; fields >> value;) {
    values.push_back(value);
  }
  // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
  constexpr std::size_t kUtime = 11;
  constexpr std::size_t kStime = 12;
  if (values.size() <= kStime) {
    ADD_FAILURE() << "cannot read the processor time of process " << pid << " from: " << line;
    return 0.0;
  }
  return static_cast<double>(std::stoull(values[kUtime]) + std::stoull(values[kStime])) /
         static_cast<double>(sysconf(_SC_CLK_TCK));
}

class CameraBehaviourIdle : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    EmulatedCameraSpec spec;
    spec.address = kAddress;
    cameras_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{spec});
    camera_ = std::make_unique<AravisCamera>(kAddress);
  }

  void Run(const std::string& operation) {
    camera_->SetEnum("FileOperationSelector", operation);
    camera_->Execute("FileOperationExecute");
    EXPECT_TRUE(camera_->WaitUntilDone("FileOperationExecuteRegister", kCommandTimeout))
        << operation << " never completed";
  }

  std::unique_ptr<EmulatorLauncher> cameras_;
  std::unique_ptr<AravisCamera> camera_;
};

TEST_F(CameraBehaviourIdle, AQuietEmulatorCostsNoProcessorTime) {
  camera_->SetEnum("FileSelector", "Firmware");
  camera_->SetInteger("FileOpenModeRegister", kOpenForWriting);
  Run("Open");
  Run("Close");
  std::this_thread::sleep_for(kQuietAfterCommands);
  const pid_t pid = cameras_->Pid(0);
  const double before = CpuSeconds(pid);
  std::this_thread::sleep_for(kQuietMeasured);
  const double used = CpuSeconds(pid) - before;
  EXPECT_LT(used, kQuietCpuLimitSeconds) << "the emulator used " << used << " s of processor time in "
                                         << kQuietMeasured.count() << " ms while its host was quiet";
}

}  // namespace
}  // namespace quarx::test
