// fork/exec of the emulator with its output on a pipe that a thread drains, so that the
// emulator never blocks on a full pipe and tests can wait for its lines.
#include "tests/support/emulator_launcher.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "tests/support/camera_namespace.h"

#ifndef FWCAM_EMULATOR_PATH
#define FWCAM_EMULATOR_PATH ""
#endif

namespace quarx::test {
namespace {

constexpr std::chrono::milliseconds kStopPoll{2};
constexpr std::size_t kReadChunk = 4096;
constexpr int kExecFailed = 127;

void AddText(std::vector<std::string>& args, const char* option, const std::string& value) {
  if (!value.empty()) {
    args.push_back(option);
    args.push_back(value);
  }
}

void AddSwitch(std::vector<std::string>& args, const char* option, bool on) {
  if (on) {
    args.push_back(option);
  }
}

std::string Lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

}  // namespace

std::vector<std::string> EmulatedCameraSpec::Arguments() const {
  std::vector<std::string> args;
  AddText(args, "--address", address);
  AddText(args, "--mac", mac);
  AddText(args, "--vendor", vendor);
  AddText(args, "--model", model);
  AddText(args, "--version", version);
  AddText(args, "--serial", serial);
  AddText(args, "--user-name", userName);
  AddText(args, "--manufacturer-info", manufacturerInfo);
  AddText(args, "--netmask", netmask);
  AddText(args, "--gateway", gateway);
  AddText(args, "--install-ms", std::to_string(installMs));
  AddText(args, "--reset-ms", std::to_string(resetMs));
  if (sources) {
    AddText(args, "--sources", std::to_string(*sources));
  }
  AddSwitch(args, "--fail-open", failOpen);
  AddSwitch(args, "--fail-write", failWrite);
  AddSwitch(args, "--fail-close", failClose);
  AddSwitch(args, "--fail-install", failInstall);
  AddSwitch(args, "--never-done", neverDone);
  AddSwitch(args, "--never-back", neverBack);
  args.insert(args.end(), extraArguments.begin(), extraArguments.end());
  return args;
}

std::string EmulatedCameraSpec::MacAddress() const {
  if (!mac.empty()) {
    return Lower(mac);
  }
  in_addr parsed{};
  inet_pton(AF_INET, address.c_str(), &parsed);
  char text[32];
  std::snprintf(text, sizeof text, "02:5e:c1:00:00:%02x", ntohl(parsed.s_addr) & 0xFFu);
  return text;
}

struct EmulatorLauncher::Process {
  EmulatedCameraSpec spec;
  pid_t pid = 0;
  int output = -1;  // read end of the pipe
  std::thread reader;
  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  std::string text;
  bool ended = false;  // the pipe reached its end: the process is gone
};

EmulatorLauncher::EmulatorLauncher(std::vector<EmulatedCameraSpec> cameras) {
  if (const std::string problem = CameraNamespaceProblem(); !problem.empty()) {
    throw std::runtime_error("refusing to start emulated cameras outside a loopback-only network namespace: " +
                             problem);
  }
  for (EmulatedCameraSpec& spec : cameras) {
    processes_.push_back(std::make_unique<Process>());
    processes_.back()->spec = std::move(spec);
  }
  try {
    for (auto& process : processes_) {
      Start(*process);
    }
  } catch (...) {
    for (std::size_t i = 0; i < processes_.size(); ++i) {
      Stop(i);
    }
    throw;
  }
}

EmulatorLauncher::~EmulatorLauncher() {
  for (std::size_t i = 0; i < processes_.size(); ++i) {
    Stop(i);
  }
}

std::size_t EmulatorLauncher::Size() const { return processes_.size(); }

const EmulatedCameraSpec& EmulatorLauncher::Spec(std::size_t index) const { return processes_.at(index)->spec; }

pid_t EmulatorLauncher::Pid(std::size_t index) const { return processes_.at(index)->pid; }

bool EmulatorLauncher::IsRunning(std::size_t index) const {
  const Process& process = *processes_.at(index);
  std::lock_guard<std::mutex> lock(process.mutex);
  return process.pid != 0 && !process.ended;
}

void EmulatorLauncher::Start(Process& process) {
  const std::string program = FWCAM_EMULATOR_PATH;
  if (program.empty()) {
    throw std::runtime_error("the tests were built without the emulator (FWCAM_EMULATOR_PATH is not set)");
  }
  // Everything the child needs is made before fork: after it, only async-signal-safe calls.
  std::vector<std::string> args = process.spec.Arguments();
  args.insert(args.begin(), program);
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);

  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    throw std::runtime_error(std::string("cannot make a pipe for the emulator: ") + std::strerror(errno));
  }
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    const std::string reason = std::strerror(errno);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    throw std::runtime_error("cannot start the emulator: " + reason);
  }
  if (pid == 0) {
    // The camera must not outlive a test binary that dies without running destructors.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
      _exit(kExecFailed);
    }
    dup2(pipeEnds[1], STDOUT_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    execv(argv[0], argv.data());
    static const char kMessage[] = "cannot execute the emulator\n";
    (void)!write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(kExecFailed);
  }
  close(pipeEnds[1]);
  {
    std::lock_guard<std::mutex> lock(process.mutex);
    process.pid = pid;
    process.output = pipeEnds[0];
    process.text.clear();
    process.ended = false;
  }
  process.reader = std::thread([&process] {
    char chunk[kReadChunk];
    for (;;) {
      const ssize_t n = read(process.output, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      std::lock_guard<std::mutex> lock(process.mutex);
      if (n <= 0) {
        process.ended = true;
        process.changed.notify_all();
        return;
      }
      process.text.append(chunk, static_cast<std::size_t>(n));
      process.changed.notify_all();
    }
  });

  const std::string ready = "fwcam-emulator ready " + process.spec.address + "\n";
  std::unique_lock<std::mutex> lock(process.mutex);
  const bool up = process.changed.wait_for(lock, kReadyTimeout, [&process, &ready] {
    return process.text.find(ready) != std::string::npos || process.ended;
  });
  if (!up || process.text.find(ready) == std::string::npos) {
    const std::string output = process.text;
    lock.unlock();
    throw std::runtime_error("the emulated camera on " + process.spec.address +
                             (up ? " ended before it was ready" : " was not ready in time") + "; it printed:\n" +
                             output);
  }
}

int EmulatorLauncher::Stop(std::size_t index) {
  Process& process = *processes_.at(index);
  if (process.pid == 0) {
    return -1;
  }
  kill(process.pid, SIGTERM);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
  pid_t waited = 0;
  while ((waited = waitpid(process.pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kStopPoll);
  }
  if (waited == 0) {
    kill(process.pid, SIGKILL);
    waitpid(process.pid, &status, 0);
  }
  if (process.reader.joinable()) {
    process.reader.join();
  }
  close(process.output);
  std::lock_guard<std::mutex> lock(process.mutex);
  process.output = -1;
  process.pid = 0;
  process.ended = true;
  return status;
}

void EmulatorLauncher::Restart(std::size_t index) {
  Process& process = *processes_.at(index);
  Stop(index);
  Start(process);
}

void EmulatorLauncher::Restart(std::size_t index, EmulatedCameraSpec spec) {
  Stop(index);
  processes_.at(index)->spec = std::move(spec);
  Start(*processes_.at(index));
}

std::string EmulatorLauncher::Output(std::size_t index) const {
  const Process& process = *processes_.at(index);
  std::lock_guard<std::mutex> lock(process.mutex);
  return process.text;
}

bool EmulatorLauncher::WaitForOutput(std::size_t index, const std::string& text,
                                     std::chrono::milliseconds timeout) const {
  const Process& process = *processes_.at(index);
  std::unique_lock<std::mutex> lock(process.mutex);
  process.changed.wait_for(lock, timeout,
                           [&process, &text] { return process.text.find(text) != std::string::npos || process.ended; });
  return process.text.find(text) != std::string::npos;
}

}  // namespace quarx::test
