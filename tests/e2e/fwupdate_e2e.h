#pragma once
// Runs the real fwupdate program as users and scripts do (talked to while it runs, without HOME,
// with a configuration file of its own, an unwritable or closed standard output, a closed or
// endless standard input); writes update packages.

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/foreground_signals.h"
#include "tests/support/package_builder.h"

extern char** environ;

namespace quarx::test::e2e {

// Discovery time given to every run: the cameras answer on loopback within milliseconds.
constexpr const char* kDiscoveryMs = "300";
constexpr std::chrono::seconds kRunLimit{60};
// Exit status of a child that could not place the configuration file (not the program's own).
constexpr int kCannotPrepare = 77;
constexpr const char* kNoMountNamespace = "needs a private mount namespace to place the configuration file";

using Lines = std::vector<std::string>;

inline Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct ProgramRun {
  int exitStatus = -1;
  std::string out;
  std::chrono::milliseconds elapsed{0};
  long maxRssKiB = 0;  // the program's peak resident memory

  e2e::Lines Lines() const {
    e2e::Lines lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
    }
    return lines;
  }
};

struct RunOptions {
  bool keepInputOpen = false;  // else standard input is at its end from the start
  std::optional<std::string> inputFile = std::nullopt;  // standard input read from this file instead
  bool closedInput = false;   // started without standard input (`<&-`)
  bool closedOutput = false;  // started without standard output (`>&-`); standard error is collected
  bool withHome = true;
  // The program reads its configuration from one fixed path: the child mounts an empty file system
  // over /opt in a mount namespace of its own and writes the file there; HOME (/opt/home) is made inside it too.
  std::optional<std::string> config = std::nullopt;
  bool fullStandardOutput = false;  // standard output is /dev/full; standard error is collected
  std::optional<std::vector<std::string>> argv = std::nullopt;  // the exact argument vector, program name included
  std::vector<std::string> environment = {};                     // added "NAME=value" entries
  std::optional<std::string> program = std::nullopt;  // another program, started the same way (with `argv`)
};

// The program, started at once; Finish() waits for it (bounded by kRunLimit, then killed).
class RunningProgram {
 public:
  explicit RunningProgram(const std::vector<std::string>& arguments, const RunOptions& setup = {})
      : start_(std::chrono::steady_clock::now()) {
    // Everything the child needs is made before fork: a test may run threads.
    std::vector<std::string> words = setup.argv.value_or(Lines{FWUPDATE_PATH} + arguments);
    std::vector<char*> argv;
    for (auto& word : words) {
      argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const std::string config = setup.config.value_or("");
    const std::string program = setup.program.value_or(FWUPDATE_PATH);
    std::vector<char*> env;
    std::string home = "HOME=/opt/home";
    for (char** entry = environ; *entry != nullptr; ++entry) {
      if (std::string(*entry).rfind("HOME=", 0) != 0 || (setup.withHome && !setup.config)) {
        env.push_back(*entry);
      }
    }
    if (setup.withHome && setup.config) {
      env.push_back(home.data());
    }
    std::vector<std::string> added = setup.environment;
    for (auto& entry : added) env.push_back(entry.data());
    env.push_back(nullptr);
    int in[2];
    int out[2];
    // Close-on-exec: a program started meanwhile by another thread must not hold this one's output open.
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
      ADD_FAILURE() << "pipe failed";
      return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      dup2(setup.inputFile ? open(setup.inputFile->c_str(), O_RDONLY) : in[0], STDIN_FILENO);
      const bool outputOnError = setup.fullStandardOutput || setup.closedOutput;
      dup2(out[1], outputOnError ? STDERR_FILENO : STDOUT_FILENO);
      dup2(open(setup.fullStandardOutput ? "/dev/full" : "/dev/null", O_WRONLY),
           outputOnError ? STDOUT_FILENO : STDERR_FILENO);
      for (int fd : {in[0], in[1], out[0], out[1]}) {
        close(fd);
      }
      if (setup.config && !PlaceConfiguration(config)) {
        _exit(kCannotPrepare);
      }
      // Last: a descriptor opened after this would take the closed one's place.
      if (setup.closedInput) {
        close(STDIN_FILENO);
      }
      if (setup.closedOutput) {
        close(STDOUT_FILENO);
      }
      // The tool keeps ignoring a signal it was started with ignored (as a background job of a
      // script is), SIGHUP under nohup among them.
      ResetSignalsForCommand();
      execve(program.c_str(), argv.data(), env.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    // A program that ended early must fail the test, not kill it.
    signal(SIGPIPE, SIG_IGN);
    in_ = in[1];
    out_ = out[0];
    if (!setup.keepInputOpen) {
      CloseInput();
    }
  }
  ~RunningProgram() {
    if (pid_ > 0 && !finished_) {
      Finish();
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // A few bytes: they fit in the pipe.
  void Answer(const std::string& text) {
    if (!text.empty() && write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
      ADD_FAILURE() << "could not write the program's input";
    }
  }
  void CloseInput() {
    if (in_ >= 0) {
      close(in_);
      in_ = -1;
    }
  }
  // The reader goes away, as `fwupdate ... | head` does once it has its lines.
  void CloseOutput() {
    if (out_ >= 0) {
      close(out_);
      out_ = -1;
      eof_ = true;
    }
  }
  void Signal(int signo) {
    if (pid_ > 0 && !finished_) {
      kill(pid_, signo);
    }
  }

  // Reads the program's output until it holds `text`; false when it does not within `timeout`.
  bool WaitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (out_text_.find(text) == std::string::npos) {
      if (!ReadSome(deadline)) {
        return false;
      }
    }
    return true;
  }

  ProgramRun Finish() {
    finished_ = true;
    CloseInput();
    while (ReadSome(start_ + kRunLimit)) {
    }
    bool timedOut = !eof_;
    if (timedOut) {
      kill(pid_, SIGKILL);
    }
    CloseOutput();
    int status = 0;
    rusage usage{};
    // Without its output pipe, the program's end is waited for (bounded) instead.
    for (siginfo_t ended{}; !timedOut && waitid(P_PID, pid_, &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                            ended.si_pid == 0;) {
      timedOut = std::chrono::steady_clock::now() > start_ + kRunLimit;
      if (timedOut) {
        kill(pid_, SIGKILL);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    wait4(pid_, &status, 0, &usage);
    ProgramRun run;
    run.maxRssKiB = usage.ru_maxrss;
    run.out = out_text_;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    EXPECT_FALSE(timedOut) << "fwupdate did not end within " << kRunLimit.count() << " s; it printed:\n" << run.out;
    return run;
  }

 private:
  // Async-signal-safe calls only: the child of a process that may run threads.
  static bool PlaceConfiguration(const std::string& config) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", "/opt", "tmpfs", 0, "size=1m") != 0 || mkdir("/opt/velmora", 0755) != 0 ||
        mkdir("/opt/velmora/fwupdate", 0755) != 0 || mkdir("/opt/home", 0755) != 0) {
      return false;
    }
    const int fd = open("/opt/velmora/fwupdate/quarx.conf", O_WRONLY | O_CREAT, 0644);
    const bool written = fd >= 0 && write(fd, config.data(), config.size()) == static_cast<ssize_t>(config.size());
    close(fd);
    return written;
  }

  // One read of whatever output is there before `deadline`; false on time-out or end of output.
  bool ReadSome(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd fd{out_, POLLIN, 0};
    if (eof_ || left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
      return false;
    }
    char buffer[4096];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    eof_ = n <= 0;
    out_text_.append(buffer, eof_ ? 0 : static_cast<std::size_t>(n));
    return !eof_;
  }

  std::chrono::steady_clock::time_point start_;
  pid_t pid_ = -1;
  int in_ = -1, out_ = -1;
  std::string out_text_;
  bool eof_ = false, finished_ = false;
};

// Outside texts reached the output as text: no control byte but the line ends, and, when
// `forged` is given, no line that a text's own line feed began (one that starts with it).
inline void ExpectShownAsText(const ProgramRun& run, const std::string& forged = "") {
  EXPECT_EQ(std::count_if(run.out.begin(), run.out.end(),
                          [](unsigned char c) { return c != '\n' && (c < 0x20 || c == 0x7F); }),
            0)
      << run.out;
  for (const std::string& line : run.Lines()) {
    EXPECT_TRUE(forged.empty() || line.rfind(forged, 0) != 0) << run.out;
  }
}

inline ProgramRun RunFwupdate(const std::vector<std::string>& arguments, const RunOptions& setup = {}) {
  return RunningProgram(arguments, setup).Finish();
}

// One update; its procedure has the five step kinds in the order a real package has them,
// unless `procedure` gives the steps' XML.
struct UpdateSpec {
  std::map<std::string, std::string> conditions = {
      {"DeviceVendorName", "Velmora"}, {"DeviceModelName", "FWCAM-1"}, {"DeviceVersion", "1\\.0\\.[0-9]+"}};
  std::optional<std::string> version = std::string("2.0.0"), description = std::string("FWCAM-1 firmware 2.0.0");
  std::uint32_t executeTimeoutMs = 3000, resetDelayMs = 1000;
  std::string assertPattern = "2\\.0\\.0";
  bool withSteps = true, withAssert = true;
  std::optional<std::string> procedure = std::nullopt;
};

inline std::string Step(const std::string& kind, const std::string& inner) {
  return "<" + kind + "><Description Lang=\"en\">step</Description>" + inner + "</" + kind + ">\n";
}

// A package of the given updates, each with its own procedure, and a firmware image whose first
// line names the version the emulated camera installs, at least `minImageSize` bytes long; returns the image.
inline std::string WriteUpdatePackage(const std::string& path, const std::vector<UpdateSpec>& updates,
                                      const std::string& imageVersion = "2.0.0", std::size_t minImageSize = 0,
                                      void (*damage)(std::string& innerZip) = nullptr) {
  std::string rules;
  std::string procedures;
  for (std::size_t i = 0; i < updates.size(); ++i) {
    const UpdateSpec& spec = updates[i];
    const std::string id = "P" + std::to_string(i);
    rules += "<Update ProcedureId=\"" + id + "\">\n";
    for (const auto& [feature, pattern] : spec.conditions) {
      rules += "<Condition Feature=\"" + feature + "\">" + pattern + "</Condition>\n";
    }
    if (spec.version || spec.description) {
      rules += "<Info>" + (spec.version ? "<Entry Key=\"Version\">" + *spec.version + "</Entry>" : "") +
               (spec.description ? "<Entry Key=\"Description\">" + *spec.description + "</Entry>" : "") + "</Info>\n";
    }
    rules += "</Update>\n";
    if (!spec.withSteps) {
      continue;
    }
    procedures += "<Procedure Id=\"" + id + "\">\n";
    procedures += spec.procedure.value_or(
        Step("FeatureWrite", "<Value>On</Value><FeatureName>FirmwareUpdateMode</FeatureName>") +
        Step("FileUpload", "<FileName>firmware.img</FileName><DeviceFileName>Firmware</DeviceFileName>") +
        Step("FeatureExecute", "<MaximumExecutionTimeoutMs>" + std::to_string(spec.executeTimeoutMs) +
                                   "</MaximumExecutionTimeoutMs><FeatureName>FirmwareUpdateExecute</FeatureName>") +
        Step("DeviceReset",
             "<DeviceDiscoveryDelayMs>" + std::to_string(spec.resetDelayMs) + "</DeviceDiscoveryDelayMs>") +
        (spec.withAssert ? Step("FeatureAssert", "<AssertPattern>" + spec.assertPattern +
                                                     "</AssertPattern><FeatureName>DeviceVersion</FeatureName>")
                         : ""));
    procedures += "</Procedure>\n";
  }
  // Several 64 KiB pieces of the upload and a short last one: a piece lost, cut or misplaced shows.
  const std::size_t size = std::max<std::size_t>(200 * 1024 + 123, minImageSize);
  std::string image = "version=" + imageVersion + "\n";
  for (int i = 0; image.size() < size; ++i) {
    image += "image block " + std::to_string(i) + ": test firmware payload\n";
  }
  image.resize(size);
  PackageBuilder builder("<?xml version=\"1.0\"?>\n<GufRuleSet>\n" + rules + procedures + "</GufRuleSet>\n");
  std::string inner = builder.File("firmware.img", image).InnerZip();
  if (damage != nullptr) damage(inner);
  WriteBytes(path, builder.BuildAround(inner));
  return image;
}

}  // namespace quarx::test::e2e
