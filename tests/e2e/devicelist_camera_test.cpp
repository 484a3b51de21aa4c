// `fwupdate -l` end to end: the real program against emulated cameras on loopback.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace {

using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using Clock = std::chrono::steady_clock;

struct ProgramRun {
  std::string out;
  int exit_status = -1;
  std::chrono::milliseconds elapsed{0};
};

// Runs the program with `args` after its name, standard input at end of file, and collects what it prints.
ProgramRun RunFwupdate(const std::vector<std::string>& args) {
  std::vector<std::string> argv_text = {FWUPDATE_PATH};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_text) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);

  int out_pipe[2];
  if (pipe(out_pipe) != 0) {
    ADD_FAILURE() << "pipe failed";
    return {};
  }
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null_in = open("/dev/null", O_RDONLY);
    dup2(null_in, STDIN_FILENO);
    dup2(out_pipe[1], STDOUT_FILENO);
    dup2(out_pipe[1], STDERR_FILENO);
    close(out_pipe[0]);
    close(out_pipe[1]);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out_pipe[1]);
  ProgramRun run;
  char buffer[4096];
  for (ssize_t got; (got = read(out_pipe[0], buffer, sizeof(buffer))) != 0;) {
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      break;
    }
    run.out.append(buffer, static_cast<std::size_t>(got));
  }
  close(out_pipe[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

EmulatedCameraSpec Camera(const std::string& address, const std::string& model, const std::string& serial,
                          const std::string& user_name, const std::string& version) {
  EmulatedCameraSpec spec;
  spec.address = address;
  spec.model = model;
  spec.serial = serial;
  spec.userName = user_name;
  spec.version = version;
  return spec;
}

class DeviceListProgram : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }
};

// Started in reverse order: the list follows the connection ids, not who answered first.
const std::vector<EmulatedCameraSpec> kTwoCameras = {
    Camera("127.0.0.3", "FWCAM-3", "SN0003", "", "1.0.0"),
    Camera("127.0.0.2", "FWCAM-2", "SN0002", "line-2", "1.2.0"),
};

const char kTwoCamerasListed[] =
    "[Dev  0] FWCAM-2\n"
    "    VenderName          : Velmora\n"
    "    SerialNumber        : SN0002\n"
    "    UserDefinedName     : line-2\n"
    "    Version             : 1.2.0\n"
    "    IPAddress           : 127.0.0.2\n"
    "    MACAddress          : 02:5e:c1:00:00:02\n"
    "[Dev  1] FWCAM-3\n"
    "    VenderName          : Velmora\n"
    "    SerialNumber        : SN0003\n"
    "    UserDefinedName     : \n"
    "    Version             : 1.0.0\n"
    "    IPAddress           : 127.0.0.3\n"
    "    MACAddress          : 02:5e:c1:00:00:03\n";

TEST_F(DeviceListProgram, ListsTwoCamerasByConnectionIdWithinTheDiscoveryTime) {
  EmulatorLauncher cameras(kTwoCameras);
  const ProgramRun run = RunFwupdate({"-l", "--timeout", "500"});
  EXPECT_EQ(run.out, kTwoCamerasListed);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_GE(run.elapsed.count(), 500);
  EXPECT_LT(run.elapsed.count(), 900);
}

TEST_F(DeviceListProgram, AcceptsAndIgnoresTheOptionsOfOtherOperations) {
  EmulatorLauncher cameras(kTwoCameras);
  const ProgramRun run =
      RunFwupdate({"-d", "1", "--silent", "--device-list", "--no-prompt", "--no-test", "--timeout", "300"});
  EXPECT_EQ(run.out, kTwoCamerasListed);
  EXPECT_EQ(run.exit_status, 0);
}

TEST_F(DeviceListProgram, NoCameraPrintsNothingAndSucceeds) {
  const ProgramRun run = RunFwupdate({"--device-list", "--timeout", "200"});
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_LT(run.elapsed.count(), 600);
}

}  // namespace
