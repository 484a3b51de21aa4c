// The step executor: feature writes, firmware uploads, commands, device resets and the final
// version check, each turned into calls on the device core.
#include "core/libstatic_fwupdate/genicam_fwupdate.h"

#include <chrono>
#include <exception>
#include <stdexcept>
#include <utility>

#include <fmt/format.h>

#include "core/libstatic_fwupdate/device_identity.h"
#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "core/libstatic_fwupdate/pattern_match.h"
#include "util/quarxlog.h"
#include "util/stop_request.h"

namespace quarx::core::fwupdate {
namespace {

constexpr const char* kDeviceResetCommand = "DeviceReset";
// The camera is asked once a second whether a command has finished.
constexpr std::uint64_t kCommandPollIntervalMs = 1000;

std::shared_ptr<spdlog::logger>& Logger() { return util::Log::GetInstance("").logger_; }

}  // namespace

GenICamUpdate::GenICamUpdate(std::unique_ptr<FoundDeviceInfo>& info, std::unique_ptr<GuffileInfo>& guffile,
                             unsigned int reserved)
    : GenICamUpdate(info, guffile, reserved, DeviceFactory(&Device::Create)) {}

GenICamUpdate::GenICamUpdate(std::unique_ptr<FoundDeviceInfo>& info, std::unique_ptr<GuffileInfo>& guffile,
                             unsigned int reserved, DeviceFactory createDevice)
    : info_(info), guffile_(guffile), reserved_(reserved), createDevice_(std::move(createDevice)) {}

GenICamUpdate::~GenICamUpdate() {
  try {
    Logger()->debug("<{}>", "~GenICamUpdate");
    if (device_ && device_->IsConnected()) {
      device_->DisConnect();
    }
  } catch (const std::exception& e) {
    try {
      Logger()->warn("Failed to disConnect.({})", e.what());
    } catch (...) {
    }
  } catch (...) {
    // A destructor must not throw, whatever the layers below do.
  }
  device_.reset();
}

void GenICamUpdate::ConnectCamera() {
  if (device_ && device_->IsConnected()) {
    return;
  }
  device_ = createDevice_(info_);
  device_->Connect();
  try {
    ConfirmDeviceIdentity(*device_, *info_);
  } catch (...) {
    // Another camera answered at the target's address: it is let go as it was found.
    try {
      device_->DisConnect();
    } catch (const std::exception& e) {
      Logger()->warn("Failed to disConnect.({})", e.what());
    }
    device_.reset();
    throw;
  }
}

template <class Work>
auto GenICamUpdate::RunStep(const char* operation, const ProcedureItem& item, ProcedureType kind, Work&& work) {
  try {
    Logger()->info("<{}>", operation);
    if (item.GetProcedureType() != kind) {
      throw std::logic_error("Invalid procedure type");
    }
    return work();
  } catch (const quarx::fwupdate::FWUpdateException&) {
    throw;
  } catch (const std::exception& e) {
    Logger()->error("{}", e.what());
    throw FWUpdateExceptionImpl(operation, __LINE__, ERR_UPDATE_STEP, e.what());
  }
}

Device& GenICamUpdate::RequireDevice() const {
  if (!device_) {
    throw std::logic_error("Not connected to the camera.");
  }
  return *device_;
}

void GenICamUpdate::FeatureWrite(const ProcedureItem& item) {
  constexpr const char* kOperation = "FeatureWrite";
  RunStep(kOperation, item, ProcedureType::FeatureWrite, [&] {
    const std::string value = item.GetValue();
    const std::string featureName = item.GetFeatureName();
    Logger()->debug("<{}> feature({}) value({})", kOperation, featureName, value);
    Device& device = RequireDevice();
    const std::shared_ptr<Feature> feature = device.GetFeatures()->GetFeature(featureName);
    if (!feature) {
      throw FWUpdateExceptionImpl(kOperation, __LINE__, ERR_FEATURE, "");
    }
    feature->FromString(value);
  });
}

void GenICamUpdate::FileUpload(const ProcedureItem& item) {
  constexpr const char* kOperation = "FileUpload";
  RunStep(kOperation, item, ProcedureType::FileUpload, [&] {
    const std::string deviceFileName = item.GetDeviceFileName();
    const std::string fileName = item.GetFileName();
    Logger()->debug("Filename({}) DeviceFilename({})", fileName, deviceFileName);
    // The bytes stay valid until the reader's next GetFile, which is after this upload.
    const auto [data, size] = guffile_->GetFile(fileName);
    Logger()->info("size of update file ({})", size);
    Device& device = RequireDevice();
    const std::unique_ptr<GenicamFile> writer = device.GetGenFile();
    writer->Write(deviceFileName, data, size);
  });
}

void GenICamUpdate::FeatureExecute(const ProcedureItem& item) {
  constexpr const char* kOperation = "FeatureExecute";
  RunStep(kOperation, item, ProcedureType::FeatureExecute, [&] {
    const std::string featureName = item.GetFeatureName();
    const std::uint32_t timeoutMs = item.GetMaximunExecutionTimeoutMs();
    Logger()->info("({}) feature_name({}) maximum_timeout_ms({})", kOperation, featureName, timeoutMs);
    Device& device = RequireDevice();
    const std::unique_ptr<FeatureCommand> command = device.GetFeatures()->GetCommand(featureName);
    if (!command) {
      throw FWUpdateExceptionImpl(kOperation, __LINE__, ERR_FEATURE, "");
    }
    Logger()->info("Execute {}", featureName);
    command->Execute();
    if (timeoutMs == 0) {
      return;
    }
    // 64 bits: a time-out near the 32-bit limit must end the wait, not wrap the count around.
    std::uint64_t elapsedMs = 0;
    do {
      Logger()->debug("<{}> writing({})", kOperation, elapsedMs);
      if (command->IsDone()) {
        Logger()->info("<{}> IsDone({})=>true", kOperation, featureName);
        return;
      }
      // A stop ends the wait, never the command: the camera goes on with it, unreset.
      if (!util::SleepUnlessStopped(std::chrono::milliseconds(kCommandPollIntervalMs))) {
        throw std::runtime_error(fmt::format("Stopped on request while waiting for {}", featureName));
      }
      elapsedMs += kCommandPollIntervalMs;
    } while (elapsedMs < timeoutMs);
    // A command still busy after its time-out ends the step normally: the version check
    // after the reset is what tells whether the update took.
  });
}

void GenICamUpdate::DeviceReset(const ProcedureItem& item) {
  constexpr const char* kOperation = "DeviceReset";
  RunStep(kOperation, item, ProcedureType::DeviceReset, [&] {
    const std::uint32_t delayMs = item.GetDeviceDiscoveryDelayMs();
    // The waiting itself is the update operation's: it owns the sleep before the search.
    Logger()->info("({}) device_discovery_delay_ms({})", kOperation, delayMs);
    Device& device = RequireDevice();
    {
      const std::unique_ptr<FeatureCommand> reset = device.GetFeatures()->GetCommand(kDeviceResetCommand);
      if (!reset) {
        throw FWUpdateExceptionImpl(kOperation, __LINE__, ERR_FEATURE, "");
      }
      reset->Execute();
    }
    device.DisConnect();
    device_.reset();
  });
}

bool GenICamUpdate::FeatureAssert(const ProcedureItem& item, std::unique_ptr<FoundDeviceInfo>& found) {
  constexpr const char* kOperation = "FeatureAssert";
  return RunStep(kOperation, item, ProcedureType::FeatureAssert, [&] {
    const std::string featureName = item.GetFeatureName();
    const std::string pattern = item.GetAssertPattern();
    Logger()->info("({}) feature_name({}) assert_pattern({})", kOperation, featureName, pattern);
    if (!found) {
      throw std::logic_error("No device found again to check its version.");
    }
    // Always the record's device version: the camera is not connected after its reset.
    const std::string version = found->GetVersion();
    PatternMatcher& matcher = VersionCheckPatternMatcher();
    matcher.Compile(pattern);
    if (matcher.Match(version, pattern)) {
      return true;
    }
    Logger()->error("DeviceVersion mismatch, from camera({}) expect({}))", version, pattern);
    return false;
  });
}

}  // namespace quarx::core::fwupdate
