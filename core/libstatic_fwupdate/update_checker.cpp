// Applicability of an update to a camera: conditions over the discovery record or over
// features read through a temporary connection.
#include "core/libstatic_fwupdate/update_checker.h"

#include <fmt/format.h>

#include <exception>
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

}  // namespace

std::regex CompilePattern(const std::string& pattern) {
  if (pattern.size() > kMaxPatternBytes) {
    throw PatternTooLong(pattern.size());
  }
  return std::regex(pattern, std::regex::ECMAScript);
}

bool MatchWhole(const std::string& value, const std::regex& pattern) {
  if (value.size() > kMaxMatchedValueBytes) {
    return false;
  }
  return std::regex_match(value, pattern);
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
