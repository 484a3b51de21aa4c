// fork/exec of the emulator with its output in a memory file: the emulator never blocks on a
// full pipe, no thread has to drain one, and the output stays readable after the camera ends.
#include "tests/support/emulator_launcher.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <utility>

#include "tests/support/camera_namespace.h"
#include "tests/support/foreground_signals.h"

#ifndef FWCAM_EMULATOR_PATH
#define FWCAM_EMULATOR_PATH ""  // execv fails, and the launcher says so
#endif

namespace quarx::test {
namespace {

constexpr std::chrono::milliseconds kReadyTimeout{15000};
constexpr std::chrono::milliseconds kStopTimeout{3000};
constexpr std::chrono::milliseconds kPoll{2};
constexpr int kExecFailed = 127;

// The emulator's command line, program first.
std::vector<std::string> CommandLine(const EmulatedCameraSpec& spec) {
  std::vector<std::string> args = {FWCAM_EMULATOR_PATH, "--install-ms", std::to_string(spec.installMs), "--reset-ms",
                                   std::to_string(spec.resetMs)};
  for (const auto& [option, value] : {std::pair{"--address", spec.address}, {"--mac", spec.mac},
                                      {"--model", spec.model}, {"--version", spec.version},
                                      {"--serial", spec.serial}, {"--user-name", spec.userName}}) {
    if (!value.empty()) {
      args.insert(args.end(), {option, value});
    }
  }
  for (const auto& [flag, on] : {std::pair{"--never-done", spec.neverDone}, {"--never-back", spec.neverBack}}) {
    if (on) {
      args.push_back(flag);
    }
  }
  args.insert(args.end(), spec.extraArguments.begin(), spec.extraArguments.end());
  return args;
}

std::string ReadAll(int file) {
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = pread(file, chunk, sizeof chunk, static_cast<off_t>(text.size()))) > 0;) {
    text.append(chunk, static_cast<std::size_t>(n));
  }
  return text;
}

// Whether the process has ended, without reaping it.
bool Ended(pid_t pid) {
  siginfo_t info{};
  return pid == 0 ||
         (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0);
}

}  // namespace

EmulatorLauncher::EmulatorLauncher(std::vector<EmulatedCameraSpec> cameras) {
  if (const std::string problem = CameraNamespaceProblem(); !problem.empty()) {
    throw std::runtime_error("refusing to start emulated cameras outside a loopback-only network namespace: " +
                             problem);
  }
  for (EmulatedCameraSpec& spec : cameras) {
    cameras_.push_back({std::move(spec)});
    Start(cameras_.size() - 1);
  }
}

EmulatorLauncher::~EmulatorLauncher() { StopAll(); }

void EmulatorLauncher::StopAll() {
  for (std::size_t i = 0; i < cameras_.size(); ++i) {
    Stop(i);
    close(cameras_[i].output);
    cameras_[i].output = -1;
  }
}

pid_t EmulatorLauncher::Pid(std::size_t index) const { return cameras_.at(index).pid; }

void EmulatorLauncher::Start(std::size_t index) {
  Camera& camera = cameras_.at(index);
  // Everything the child needs is made before fork: after it, only async-signal-safe calls.
  std::vector<std::string> args = CommandLine(camera.spec);
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  if (camera.output >= 0) {
    close(camera.output);
  }
  camera.output = memfd_create("fwcam-emulator-output", MFD_CLOEXEC);
  const pid_t parent = getpid();
  const pid_t pid = camera.output < 0 ? -1 : fork();
  if (pid < 0) {
    throw std::runtime_error(std::string("cannot start the emulator: ") + std::strerror(errno));
  }
  if (pid == 0) {
    // The camera must not outlive a test binary that dies without running destructors.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
      _exit(kExecFailed);
    }
    dup2(camera.output, STDOUT_FILENO);
    dup2(camera.output, STDERR_FILENO);
    ResetSignalsForCommand();
    execv(argv[0], argv.data());
    static const char kMessage[] = "cannot execute the emulator\n";
    (void)!write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(kExecFailed);
  }
  camera.pid = pid;
  if (!WaitForOutput(index, "fwcam-emulator ready " + camera.spec.address + "\n", kReadyTimeout)) {
    const std::string why = "the emulated camera on " + camera.spec.address +
                            (Ended(pid) ? " ended before it was ready" : " was not ready in time") + "; it printed:\n" +
                            Output(index);
    StopAll();  // cameras started before, too: a failed constructor runs no destructor
    throw std::runtime_error(why);
  }
}

void EmulatorLauncher::Stop(std::size_t index) {
  Camera& camera = cameras_.at(index);
  if (camera.pid == 0) {
    return;
  }
  kill(camera.pid, SIGTERM);
  kill(camera.pid, SIGCONT);  // a stopped camera ends only once it runs again
  const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
  while (waitpid(camera.pid, nullptr, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(camera.pid, SIGKILL);
      waitpid(camera.pid, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(kPoll);
  }
  camera.pid = 0;
}

void EmulatorLauncher::Restart(std::size_t index, EmulatedCameraSpec spec) {
  Stop(index);
  cameras_.at(index).spec = std::move(spec);
  Start(index);
}

std::string EmulatorLauncher::Output(std::size_t index) const { return ReadAll(cameras_.at(index).output); }

bool EmulatorLauncher::WaitForOutput(std::size_t index, const std::string& text,
                                     std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    // Ended first: output read after it holds everything an ended camera printed.
    const bool ended = Ended(cameras_.at(index).pid);
    if (Output(index).find(text) != std::string::npos) {
      return true;
    }
    if (ended || std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

}  // namespace quarx::test
