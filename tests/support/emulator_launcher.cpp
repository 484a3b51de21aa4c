// fork/exec of the emulator with its output in a memory file: the emulator never blocks on a
// full pipe, no thread has to drain one, and the output stays readable after the camera ends.
#include "tests/support/emulator_launcher.h"

#include <arpa/inet.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <utility>

#include "tests/support/camera_namespace.h"

#ifndef FWCAM_EMULATOR_PATH
#define FWCAM_EMULATOR_PATH ""
#endif

namespace quarx::test {
namespace {

constexpr std::chrono::milliseconds kReadyTimeout{15000};
constexpr std::chrono::milliseconds kStopTimeout{3000};
constexpr std::chrono::milliseconds kPoll{2};
constexpr int kExecFailed = 127;

// The emulator's command line, program first.
std::vector<std::string> CommandLine(const EmulatedCameraSpec& spec) {
  std::vector<std::string> args = {FWCAM_EMULATOR_PATH};
  const std::pair<const char*, std::string> texts[] = {
      {"--address", spec.address},
      {"--mac", spec.mac},
      {"--model", spec.model},
      {"--version", spec.version},
      {"--serial", spec.serial},
      {"--user-name", spec.userName},
      {"--install-ms", std::to_string(spec.installMs)},
      {"--reset-ms", std::to_string(spec.resetMs)},
      {"--sources", spec.sources ? std::to_string(*spec.sources) : ""}};
  for (const auto& [option, value] : texts) {
    if (!value.empty()) {
      args.insert(args.end(), {option, value});
    }
  }
  const std::pair<const char*, bool> switches[] = {
      {"--fail-open", spec.failOpen},       {"--fail-write", spec.failWrite}, {"--fail-close", spec.failClose},
      {"--fail-install", spec.failInstall}, {"--never-done", spec.neverDone}, {"--never-back", spec.neverBack}};
  for (const auto& [option, on] : switches) {
    if (on) {
      args.push_back(option);
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

// Whether the process has ended, without reaping it (Stop wants its status).
bool Ended(pid_t pid) {
  siginfo_t info{};
  return pid == 0 ||
         (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0);
}

}  // namespace

std::string EmulatedCameraSpec::MacAddress() const {
  std::string text = mac;
  if (text.empty()) {
    in_addr parsed{};
    inet_pton(AF_INET, address.c_str(), &parsed);
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "02:5e:c1:00:00:%02x", ntohl(parsed.s_addr) & 0xFFu);
    text = fallback;
  }
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

EmulatorLauncher::EmulatorLauncher(std::vector<EmulatedCameraSpec> cameras) {
  if (const std::string problem = CameraNamespaceProblem(); !problem.empty()) {
    throw std::runtime_error("refusing to start emulated cameras outside a loopback-only network namespace: " +
                             problem);
  }
  for (EmulatedCameraSpec& spec : cameras) {
    cameras_.push_back({std::move(spec)});
  }
  try {
    for (Camera& camera : cameras_) {
      Start(camera);
    }
  } catch (...) {
    StopAll();
    throw;
  }
}

EmulatorLauncher::~EmulatorLauncher() { StopAll(); }

void EmulatorLauncher::StopAll() {
  for (std::size_t i = 0; i < cameras_.size(); ++i) {
    Stop(i);
    if (cameras_[i].output >= 0) {
      close(cameras_[i].output);
      cameras_[i].output = -1;
    }
  }
}

const EmulatedCameraSpec& EmulatorLauncher::Spec(std::size_t index) const { return cameras_.at(index).spec; }

pid_t EmulatorLauncher::Pid(std::size_t index) const { return cameras_.at(index).pid; }

void EmulatorLauncher::Start(Camera& camera) {
  if (std::strlen(FWCAM_EMULATOR_PATH) == 0) {
    throw std::runtime_error("the tests were built without the emulator (FWCAM_EMULATOR_PATH is not set)");
  }
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
  if (camera.output < 0) {
    throw std::runtime_error(std::string("cannot make the emulator's output file: ") + std::strerror(errno));
  }
  const pid_t parent = getpid();
  const pid_t pid = fork();
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
    execv(argv[0], argv.data());
    static const char kMessage[] = "cannot execute the emulator\n";
    (void)!write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(kExecFailed);
  }
  camera.pid = pid;
  if (!WaitFor(camera, "fwcam-emulator ready " + camera.spec.address + "\n", kReadyTimeout)) {
    throw std::runtime_error("the emulated camera on " + camera.spec.address +
                             (Ended(pid) ? " ended before it was ready" : " was not ready in time") +
                             "; it printed:\n" + ReadAll(camera.output));
  }
}

int EmulatorLauncher::Stop(std::size_t index) {
  Camera& camera = cameras_.at(index);
  if (camera.pid == 0) {
    return -1;
  }
  kill(camera.pid, SIGTERM);
  int status = 0;
  pid_t waited = 0;
  const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
  while ((waited = waitpid(camera.pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kPoll);
  }
  if (waited == 0) {
    kill(camera.pid, SIGKILL);
    waitpid(camera.pid, &status, 0);
  }
  camera.pid = 0;
  return status;
}

void EmulatorLauncher::Restart(std::size_t index, EmulatedCameraSpec spec) {
  Stop(index);
  cameras_.at(index).spec = std::move(spec);
  Start(cameras_.at(index));
}

std::string EmulatorLauncher::Output(std::size_t index) const { return ReadAll(cameras_.at(index).output); }

bool EmulatorLauncher::WaitForOutput(std::size_t index, const std::string& text,
                                     std::chrono::milliseconds timeout) const {
  return WaitFor(cameras_.at(index), text, timeout);
}

bool EmulatorLauncher::WaitFor(const Camera& camera, const std::string& text, std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    // Ended first: output read after it holds everything an ended camera printed.
    const bool ended = Ended(camera.pid);
    if (ReadAll(camera.output).find(text) != std::string::npos) {
      return true;
    }
    if (ended || std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

}  // namespace quarx::test
