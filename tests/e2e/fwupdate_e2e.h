#pragma once
// Runs the real fwupdate program for end-to-end tests: given standard input, bounded in time,
// with its standard output split into lines; and writes update packages with every step kind
// from a few settings.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/package_builder.h"

extern char** environ;

namespace quarx::test::e2e {

// Discovery time given to every run: the cameras answer on loopback within milliseconds.
constexpr const char* kDiscoveryMs = "300";
constexpr std::chrono::seconds kRunLimit{60};

struct ProgramRun {
  int exitStatus = -1;
  std::string out;
  std::chrono::milliseconds elapsed{0};
  bool timedOut = false;

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
    }
    return lines;
  }
};

// The program, started at once; Finish() waits for it (bounded by kRunLimit, then killed).
class RunningProgram {
 public:
  // `input` is written to the program's standard input, which is then closed (end of input)
  // unless `keepInputOpen`: then Answer() and CloseInput() talk to the program as a user would.
  RunningProgram(const std::vector<std::string>& arguments, const std::string& input, bool keepInputOpen = false)
      : start_(std::chrono::steady_clock::now()) {
    std::vector<std::string> words = arguments;
    words.insert(words.begin(), FWUPDATE_PATH);
    std::vector<char*> argv;
    for (auto& word : words) {
      argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0) {
      ADD_FAILURE() << "pipe failed";
      return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      const int devNull = open("/dev/null", O_WRONLY);
      dup2(devNull, STDERR_FILENO);
      close(in[0]);
      close(in[1]);
      close(out[0]);
      close(out[1]);
      execve(FWUPDATE_PATH, argv.data(), environ);
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    // A program that ended early must fail the test, not kill it.
    signal(SIGPIPE, SIG_IGN);
    // Answers are a few bytes: they fit in the pipe, so writing cannot block.
    in_ = in[1];
    out_ = out[0];
    Answer(input);
    if (!keepInputOpen) {
      CloseInput();
    }
  }

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

  // Reads the program's output until it holds `text`; false when it does not within `timeout`.
  bool WaitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (out_text_.find(text) == std::string::npos) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !ReadSome(left)) {
        return false;
      }
    }
    return true;
  }

  void Signal(int signo) {
    if (pid_ > 0 && !finished_) {
      kill(pid_, signo);
    }
  }

  ~RunningProgram() {
    if (pid_ > 0 && !finished_) {
      Finish();
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  ProgramRun Finish() {
    ProgramRun run;
    finished_ = true;
    CloseInput();
    const auto deadline = start_ + kRunLimit;
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) {
        run.timedOut = true;
        kill(pid_, SIGKILL);
        break;
      }
      if (!ReadSome(left) && eof_) {
        break;
      }
    }
    run.out = out_text_;
    close(out_);
    int status = 0;
    waitpid(pid_, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    EXPECT_FALSE(run.timedOut) << "fwupdate did not end within " << kRunLimit.count() << " s; it printed:\n" << run.out;
    return run;
  }

 private:
  // One read of whatever output is there within `timeout`; false on time-out or end of output.
  bool ReadSome(std::chrono::milliseconds timeout) {
    if (eof_) {
      return false;
    }
    pollfd fd{out_, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(timeout.count())) <= 0) {
      return false;
    }
    char buffer[4096];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0) {
      eof_ = true;
      return false;
    }
    out_text_.append(buffer, static_cast<std::size_t>(n));
    return true;
  }

  std::chrono::steady_clock::time_point start_;
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string out_text_;
  bool eof_ = false;
  bool finished_ = false;
};

inline ProgramRun RunFwupdate(const std::vector<std::string>& arguments, const std::string& input = "") {
  RunningProgram program(arguments, input);
  return program.Finish();
}

// One update with the five step kinds in the order a real package has them.
struct UpdateSpec {
  std::map<std::string, std::string> conditions = {
      {"DeviceVendorName", "Velmora"}, {"DeviceModelName", "FWCAM-1"}, {"DeviceVersion", "1\\.0\\.[0-9]+"}};
  std::optional<std::string> version = std::string("2.0.0");
  std::optional<std::string> description = std::string("FWCAM-1 firmware 2.0.0");
  std::uint32_t executeTimeoutMs = 3000;
  std::uint32_t resetDelayMs = 1000;
  std::string assertPattern = "2\\.0\\.0";
  bool withSteps = true;
  bool withAssert = true;
};

inline std::string XmlEscape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    escaped += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  }
  return escaped;
}

inline std::string UpdateXml(const UpdateSpec& spec, const std::string& procedureId) {
  std::string xml = "  <Update ProcedureId=\"" + procedureId + "\">\n";
  for (const auto& [feature, pattern] : spec.conditions) {
    xml += "    <Condition Feature=\"" + feature + "\">" + XmlEscape(pattern) + "</Condition>\n";
  }
  if (spec.version || spec.description) {
    xml += "    <Info>\n";
    if (spec.version) {
      xml += "      <Entry Key=\"Version\">" + XmlEscape(*spec.version) + "</Entry>\n";
    }
    if (spec.description) {
      xml += "      <Entry Key=\"Description\">" + XmlEscape(*spec.description) + "</Entry>\n";
    }
    xml += "    </Info>\n";
  }
  xml += "  </Update>\n";
  return xml;
}

inline std::string ProcedureXml(const UpdateSpec& spec, const std::string& id) {
  if (!spec.withSteps) {
    return "";
  }
  std::string xml = "  <Procedure Id=\"" + id + "\">\n";
  xml +=
      "    <FeatureWrite><Description Lang=\"en\">mode</Description><Value>On</Value>"
      "<FeatureName>FirmwareUpdateMode</FeatureName></FeatureWrite>\n"
      "    <FileUpload><Description Lang=\"en\">image</Description><FileName>firmware.img</FileName>"
      "<DeviceFileName>Firmware</DeviceFileName></FileUpload>\n";
  xml += "    <FeatureExecute><Description Lang=\"en\">install</Description><MaximumExecutionTimeoutMs>" +
         std::to_string(spec.executeTimeoutMs) +
         "</MaximumExecutionTimeoutMs><FeatureName>FirmwareUpdateExecute</FeatureName></FeatureExecute>\n";
  xml += "    <DeviceReset><Description Lang=\"en\">reset</Description><DeviceDiscoveryDelayMs>" +
         std::to_string(spec.resetDelayMs) + "</DeviceDiscoveryDelayMs></DeviceReset>\n";
  if (spec.withAssert) {
    xml += "    <FeatureAssert><Description Lang=\"en\">check</Description><AssertPattern>" +
           XmlEscape(spec.assertPattern) + "</AssertPattern><FeatureName>DeviceVersion</FeatureName></FeatureAssert>\n";
  }
  xml += "  </Procedure>\n";
  return xml;
}

// A package of the given updates, each with its own procedure, and a firmware image whose first
// line names the version the emulated camera installs, at least `minImageSize` bytes long.
inline void WriteUpdatePackage(const std::string& path, const std::vector<UpdateSpec>& updates,
                               const std::string& imageVersion = "2.0.0", std::size_t minImageSize = 0) {
  std::string xml = "<?xml version=\"1.0\"?>\n<GufRuleSet>\n";
  for (std::size_t i = 0; i < updates.size(); ++i) {
    xml += UpdateXml(updates[i], "P" + std::to_string(i));
  }
  for (std::size_t i = 0; i < updates.size(); ++i) {
    xml += ProcedureXml(updates[i], "P" + std::to_string(i));
  }
  xml += "</GufRuleSet>\n";
  std::string image = "version=" + imageVersion + "\n";
  // Enough to span several file-access chunks.
  for (int i = 0; i < 400 || image.size() < minImageSize; ++i) {
    image += "image block " + std::to_string(i) + ": test firmware payload\n";
  }
  WritePackage(path, xml, {{"firmware.img", image}});
}

}  // namespace quarx::test::e2e
