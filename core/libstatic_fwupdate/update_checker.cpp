// Applicability of an update to a camera: conditions over the discovery record or over
// features read through a temporary connection.
#include "core/libstatic_fwupdate/update_checker.h"

#include <fmt/format.h>

#include <exception>
#include <utility>

#include "core/exception_core.h"
#include "core/libstatic_fwupdate/device_identity.h"
#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "core/libstatic_fwupdate/pattern_match.h"
#include "util/quarxlog.h"

namespace quarx::core::fwupdate {
namespace {

constexpr const char* kVendorNameFeature = "DeviceVendorName";
constexpr const char* kModelNameFeature = "DeviceModelName";
constexpr const char* kVersionFeature = "DeviceVersion";

std::shared_ptr<spdlog::logger>& Logger() { return util::Log::GetInstance("").logger_; }

void LogMismatch(const std::string& name, const std::string& value, const std::string& pattern) {
  Logger()->error("({}) from camera({}) and expect({}) is mismatch)", name, value, pattern);
}

}  // namespace

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
  CompilePattern(pattern);
  const std::string value = GetFeatureValueFromDiscoveredDeviceInfo(name, info);
  bool matched = false;
  try {
    matched = MatchWhole(value, pattern);
  } catch (const PatternMatcherError&) {
    throw;
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
  CompilePattern(pattern);

  std::shared_ptr<Device> device;
  // A check that could not be made (a match that could not be run, another camera at the
  // address) leaves the checker once the camera is let go: it is no mismatch.
  std::exception_ptr notChecked;
  try {
    device = createDevice_(info);
    device->Connect();
    ConfirmDeviceIdentity(*device, *info);
    bool matched = false;
    bool found = false;
    {
      // The feature borrows the camera's node map: it must be gone before the disconnection.
      const std::shared_ptr<Feature> feature = device->GetFeatures()->GetFeature(name);
      if (feature) {
        found = true;
        matched = MatchWhole(feature->GetValueAsString(), pattern);
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
  } catch (const PatternMatcherError&) {
    notChecked = std::current_exception();
  } catch (const DeviceIdentityMismatch&) {
    notChecked = std::current_exception();
  } catch (const quarx::CoreException&) {
    Logger()->error("Not exist feature({}) at camera({}))", name, info->GetConnectionId());
  } catch (const std::exception& e) {
    Logger()->error("catch exception({})", e.what());
  }
  if (device && device->IsConnected()) {
    device->DisConnect();
  }
  if (notChecked) {
    std::rethrow_exception(notChecked);
  }
  return false;
}

}  // namespace quarx::core::fwupdate
