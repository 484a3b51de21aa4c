// Applicability of an update to a camera: conditions over the discovery record or over
// features read through a temporary connection.
#include "core/libstatic_fwupdate/update_checker.h"

#include <fmt/format.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "core/exception_core.h"
#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "util/quarxlog.h"

namespace quarx::core::fwupdate {
namespace {

constexpr const char* kVendorNameFeature = "DeviceVendorName";
constexpr const char* kModelNameFeature = "DeviceModelName";
constexpr const char* kVersionFeature = "DeviceVersion";

// Refused like a pattern that does not compile, but saying why.
class PatternTooLong : public std::regex_error {
 public:
  explicit PatternTooLong(std::size_t size)
      : std::regex_error(std::regex_constants::error_complexity),
        message_(fmt::format("Regular expression too long ({} bytes, at most {})", size, kMaxPatternBytes)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

std::shared_ptr<spdlog::logger>& Logger() { return util::Log::GetInstance("").logger_; }

void LogMismatch(const std::string& name, const std::string& value, const std::string& pattern) {
  Logger()->error("({}) from camera({}) and expect({}) is mismatch)", name, value, pattern);
}

// What the matching child reports through its pipe: one of these, then for kFailed the text.
constexpr char kMatched = '1';
constexpr char kNotMatched = '0';
constexpr char kFailed = 'e';
// One atomic pipe write carries the whole report.
constexpr std::size_t kMaxReportBytes = 256;

[[noreturn]] void MatchChild(const std::string& value, const std::regex& pattern, int report) {
  // A stack overflow must end this child, whatever handler the tool (or a sanitizer) installed.
  struct sigaction fatal {};
  fatal.sa_handler = SIG_DFL;
  sigaction(SIGSEGV, &fatal, nullptr);
  sigaction(SIGBUS, &fatal, nullptr);
  // Never outlive the tool or the budget, should the tool itself be killed meanwhile.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  const rlimit cpu{kMatchBudgetMs / 1000 + 2, kMatchBudgetMs / 1000 + 3};
  setrlimit(RLIMIT_CPU, &cpu);
  std::string answer;
  try {
    answer = std::regex_match(value, pattern) ? kMatched : kNotMatched;
  } catch (const std::exception& e) {
    answer = std::string(1, kFailed) + e.what();
  }
  answer.resize(std::min(answer.size(), kMaxReportBytes));
  [[maybe_unused]] const ssize_t written = write(report, answer.data(), answer.size());
  _exit(0);
}

// Reaps the child, killing it first when it is still running.
int Reap(pid_t child, bool kill) {
  if (kill) ::kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

bool MatchInChild(const std::string& value, const std::regex& pattern) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    throw std::system_error(errno, std::generic_category(), "regex_match: pipe");
  }
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    MatchChild(value, pattern, pipeEnds[1]);
  }
  const int savedErrno = errno;
  close(pipeEnds[1]);
  if (child < 0) {
    close(pipeEnds[0]);
    throw std::system_error(savedErrno, std::generic_category(), "regex_match: fork");
  }

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMatchBudgetMs);
  pollfd readable{pipeEnds[0], POLLIN, 0};
  int ready = 0;
  do {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    ready = poll(&readable, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
  } while (ready < 0 && errno == EINTR);
  std::string report;
  if (ready > 0) {
    char buffer[kMaxReportBytes];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) < 0 && errno == EINTR) {
    }
    if (got > 0) report.assign(buffer, static_cast<std::size_t>(got));
  }
  close(pipeEnds[0]);
  const int status = Reap(child, report.empty());

  if (report.empty()) {
    if (ready == 0) {
      throw std::runtime_error(fmt::format("regex_match exceeded its time limit of {} ms", kMatchBudgetMs));
    }
    throw std::runtime_error(WIFSIGNALED(status)
                                 ? fmt::format("regex_match ran out of resources (signal {})", WTERMSIG(status))
                                 : std::string("regex_match gave no answer"));
  }
  if (report[0] == kFailed) {
    throw std::runtime_error(report.substr(1));
  }
  return report[0] == kMatched;
}

// libstdc++'s compiler reads the number of a back-reference or of a counted repetition into a
// long without an overflow check and then narrows it to an int: nineteen digits are undefined
// behaviour inside it, ten can wrap into another, small count. No number of ten digits names a
// group or makes a count that the compiler's state limit would allow, so such a number is refused
// as the compiler refuses one out of range.
void RefuseOverlongNumbers(const std::string& pattern) {
  constexpr std::size_t kMaxNumberDigits = 9;
  std::size_t digits = 0;
  char before = '\0';
  for (std::size_t i = 0; i <= pattern.size(); ++i) {
    if (i < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i])) != 0) {
      if (digits++ == 0) before = i > 0 ? pattern[i - 1] : '\0';
      continue;
    }
    if (digits > kMaxNumberDigits && (before == '\\' || before == '{' || before == ',')) {
      throw std::regex_error(before == '\\' ? std::regex_constants::error_backref
                                            : std::regex_constants::error_badbrace);
    }
    digits = 0;
  }
}

}  // namespace

std::regex CompilePattern(const std::string& pattern) {
  if (pattern.size() > kMaxPatternBytes) {
    throw PatternTooLong(pattern.size());
  }
  RefuseOverlongNumbers(pattern);
  return std::regex(pattern, std::regex::ECMAScript);
}

bool MatchWhole(const std::string& value, const std::regex& pattern) {
  if (value.size() > kMaxMatchedValueBytes) {
    return false;
  }
  return MatchInChild(value, pattern);
}

void CheckPatterns(const Update& update) {
  for (const auto& condition : update.GetConditions()) {
    CompilePattern(condition.second);
  }
  for (const ProcedureItem& step : update.GetProceureItems()) {
    if (step.GetProcedureType() == ProcedureType::FeatureAssert) {
      CompilePattern(step.GetAssertPattern());
    }
  }
}

UpdateChecker::UpdateChecker() : UpdateChecker(DeviceFactory(&Device::Create)) {}

UpdateChecker::UpdateChecker(DeviceFactory createDevice) : createDevice_(std::move(createDevice)) {}

bool UpdateChecker::IsUpdatable(std::unique_ptr<Update>& update, std::unique_ptr<FoundDeviceInfo>& info) {
  // std::map keeps the conditions in feature-name order, which is the order they are tested in.
  for (const auto& [name, pattern] : update->GetConditions()) {
    if (!IsMatchFeature(name, pattern, info)) {
      return false;
    }
  }
  return true;
}

bool UpdateChecker::IsMatchFeature(const std::string& name, const std::string& pattern,
                                   std::unique_ptr<FoundDeviceInfo>& info) {
  Logger()->debug("<{}> feature({})", "IsMatchFeature", name);
  try {
    return IsMatchFeatureUsingDiscoverdDeviceInfo(name, pattern, info);
  } catch (const quarx::fwupdate::FWUpdateException&) {
    Logger()->info("Connect to the camera to get feature({})", name);
  }
  return IsMatchFeatureUsingConnectCamera(name, pattern, info);
}

bool UpdateChecker::IsMatchFeatureUsingDiscoverdDeviceInfo(const std::string& name, const std::string& pattern,
                                                           std::unique_ptr<FoundDeviceInfo>& info) const {
  Logger()->debug("<{}> feature({})", "IsMatchFeatureUsingDiscoverdDeviceInfo", name);
  const std::regex expression = CompilePattern(pattern);
  const std::string value = GetFeatureValueFromDiscoveredDeviceInfo(name, info);
  bool matched = false;
  try {
    matched = MatchWhole(value, expression);
  } catch (const std::exception& e) {
    Logger()->error("failed regex_match({})", e.what());
    return false;
  }
  if (!matched) {
    LogMismatch(name, value, pattern);
  }
  return matched;
}

std::string UpdateChecker::GetFeatureValueFromDiscoveredDeviceInfo(const std::string& name,
                                                                   std::unique_ptr<FoundDeviceInfo>& info) const {
  if (name == kVendorNameFeature) {
    return info->GetVenderName();
  }
  if (name == kModelNameFeature) {
    return info->GetModelName();
  }
  if (name == kVersionFeature) {
    return info->GetVersion();
  }
  throw FWUpdateExceptionImpl(
      "GetFeatureValueFromDiscoveredDeviceInfo", __LINE__, ERR_FAILED,
      fmt::format("Cannot get feature({}) from DeviceInfo. Connect to the camera to get feature.", name));
}

bool UpdateChecker::IsMatchFeatureUsingConnectCamera(const std::string& name, const std::string& pattern,
                                                     std::unique_ptr<FoundDeviceInfo>& info) {
  Logger()->debug("<{}> feature({})", "IsMatchFeatureUsingConnectCamera", name);
  // An invalid pattern is the package's fault, not the camera's: it leaves before any connection.
  const std::regex expression = CompilePattern(pattern);

  std::shared_ptr<Device> device;
  try {
    device = createDevice_(info);
    device->Connect();
    bool matched = false;
    bool found = false;
    {
      // The feature borrows the camera's node map: it must be gone before the disconnection.
      const std::shared_ptr<Feature> feature = device->GetFeatures()->GetFeature(name);
      if (feature) {
        found = true;
        matched = MatchWhole(feature->GetValueAsString(), expression);
        if (!matched) {
          LogMismatch(name, feature->GetValueAsString(), pattern);
        }
      }
    }
    if (found) {
      device->DisConnect();
      return matched;
    }
    Logger()->error("Not exist feature({}) at camera({}))", name, info->GetConnectionId());
  } catch (const quarx::CoreException&) {
    Logger()->error("Not exist feature({}) at camera({}))", name, info->GetConnectionId());
  } catch (const std::exception& e) {
    Logger()->error("catch exception({})", e.what());
  }
  if (device && device->IsConnected()) {
    device->DisConnect();
  }
  return false;
}

}  // namespace quarx::core::fwupdate
