// The update operation: discovery, preview and confirmation, the walk through the update's
// steps with progress lines, the search for the camera after its reset, and the result.
#include "app/fwupdate_execute.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "app/confirmation_answer.h"
#include "app/fwupdate_devicelist.h"
#include "app/update_interruption.h"
#include "core/device_finder.h"
#include "core/found_device_info_gev.h"
#include "core/libstatic_fwupdate/genicam_fwupdate.h"
#include "core/libstatic_fwupdate/update_checker.h"
#include "util/printable_text.h"
#include "util/quarxlog.h"
#include "util/stop_request.h"

namespace fwupdate {
namespace {

using quarx::core::FoundDeviceInfo;
using quarx::core::fwupdate::ProcedureType;
using quarx::util::PrintableText;

constexpr const char* kQuestion = "Do you want to update the device with this update? [y/n] : ";
constexpr const char* kRule = "\n======================================\n";
constexpr unsigned int kMsPerSecond = 1000;

// All console output of the update goes through here and never throws (fmt::print would when
// standard output cannot be written): once the camera is being written, output that is lost must
// not cut the update short. The stream keeps the failure, and main ends with status 1 for it.
// Each piece is flushed: steps can take minutes, and a pipe or a file (a log kept with tee, a
// production-line script) should show the progress as a terminal does.
template <typename... Args>
void Print(fmt::format_string<Args...> format, Args&&... args) {
  const std::string text = fmt::format(format, std::forward<Args>(args)...);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

// Before anything touches the camera, output that cannot be written ends the update: the user
// would not see what is about to happen, nor how it went.
void CheckStandardOutput() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    throw std::runtime_error("Cannot write standard output; update not started");
  }
}

void PrintProgress(bool silent, const std::string& text) {
  if (!silent) {
    Print("{:10s} : {}\n", "Progress", text);
  }
}

void PrintField(const char* label, const std::string& value) {
  Print("{:4s}{:16s} : {}\n", "", label, PrintableText(value));
}

// True for "y"/"Y", false for "n"/"N"; any other word asks again. The question is on the screen
// (or in the pipe) before the tool waits, or the update ends.
bool AskConfirmation() {
  Print("\n{}", kQuestion);
  for (;;) {
    CheckStandardOutput();
    const ConfirmationAnswer answer = ReadConfirmationAnswer(std::cin);
    if (answer.kind == ConfirmationAnswer::Kind::kNone) {
      // Nobody can answer any more: asking again would loop for ever.
      Print("\n");
      throw std::runtime_error("No answer to the confirmation question; update not started");
    }
    if (answer.word == "y" || answer.word == "Y") {
      return true;
    }
    if (answer.word == "n" || answer.word == "N") {
      return false;
    }
    Print("{}", kQuestion);
  }
}

// How the camera is recognised after its reset: a GigE Vision camera by its MAC address (its
// IP address, and with it the connection id, may change), any other by its connection id; and
// by its serial number too, so that another camera answering with that address (a cloned
// configuration, a replaced camera, a spoofing device) is never taken for the one updated.
struct SearchKey {
  bool byMac = false;
  std::string value;
  std::string serialNumber;

  bool Matches(FoundDeviceInfo& info) const {
    if (!byMac) {
      return info.GetConnectionId() == value;
    }
    const auto* gev = dynamic_cast<const quarx::core::FoundDeviceInfoGEV*>(&info);
    return gev != nullptr && gev->GetMACAddress() == value;
  }
};

SearchKey MakeSearchKey(FoundDeviceInfo& target) {
  if (target.GetDeviceType() == quarx::DeviceInterfaceTypeEnum::GEV) {
    const auto* gev = dynamic_cast<const quarx::core::FoundDeviceInfoGEV*>(&target);
    if (gev != nullptr) {
      return {true, gev->GetMACAddress(), target.GetSerialNumber()};
    }
  }
  return {false, target.GetConnectionId(), target.GetSerialNumber()};
}

// One discovery; the one record that carries the key's address and serial number replaces
// `refound`. The target must be among the cameras of this very search: a record kept from an
// earlier search describes the camera before its latest reset, and checking its version would
// pass a camera that is gone. Two answers with the address leave no way to tell which one was
// updated, whatever their serial numbers.
void SearchDevice(const SearchKey& key, unsigned int timeoutMs, std::uint32_t resetDelayMs,
                  std::unique_ptr<FoundDeviceInfo>& refound) {
  quarx::core::DeviceFinder finder;
  auto found = finder.Find(timeoutMs);
  if (found.empty()) {
    throw std::runtime_error(
        fmt::format("Failed to find device within {} sec : {}", resetDelayMs / kMsPerSecond, key.value));
  }
  std::unique_ptr<FoundDeviceInfo>* answer = nullptr;
  std::vector<std::string> serialNumbers;
  for (auto& record : found) {
    if (record && key.Matches(*record)) {
      answer = &record;
      serialNumbers.push_back(record->GetSerialNumber());
    }
  }
  if (answer == nullptr) {
    throw std::runtime_error(fmt::format("NO target device : {}", key.value));
  }
  if (serialNumbers.size() > 1 || serialNumbers.front() != key.serialNumber) {
    std::sort(serialNumbers.begin(), serialNumbers.end());
    throw std::runtime_error(fmt::format("Updated device not identified : {} serial number {}, found {}", key.value,
                                         key.serialNumber, fmt::join(serialNumbers, ", ")));
  }
  refound = std::move(*answer);
}

}  // namespace

FWUpdateExecute::FWUpdateExecute(const std::string& packagePath)
    : guffile_(std::make_unique<quarx::core::fwupdate::GuffileInfo>(packagePath)) {
  quarx::util::Log::GetInstance("").logger_->info("Operation : update, guf filename : {}", packagePath);
}

FWUpdateExecute::~FWUpdateExecute() = default;

void FWUpdateExecute::Execute(unsigned short deviceNumber, unsigned int timeoutMs, bool noPrompt, bool silent) {
  quarx::util::Log::GetInstance("").logger_->info(
      "FWUpdateExecute device_idx : {}, detection_timeout_ms : {}, no_prompt : {}, silent : {}", deviceNumber,
      timeoutMs, noPrompt, silent);

  DeviceList deviceList;
  auto devices = deviceList.GetSortedFoundDeviceInfos(timeoutMs);
  if (deviceNumber >= devices.size()) {
    throw std::runtime_error(fmt::format("Invalid device idx: {}", deviceNumber));
  }
  std::unique_ptr<FoundDeviceInfo>& target = devices[deviceNumber];
  const std::string modelName = target->GetModelName();
  const std::string vendorName = target->GetVenderName();
  const std::string serialNumber = target->GetSerialNumber();
  const std::string userDefinedName = target->GetUserDefinedName();
  const std::string version = target->GetVersion();
  const SearchKey searchKey = MakeSearchKey(*target);

  auto updates = guffile_->GetUpdates();
  std::unique_ptr<quarx::core::fwupdate::Update>& update = updates.at(0);
  const std::string description = update->GetInfoEntry("Description");
  const std::string packageVersion = update->GetInfoEntry("Version");

  Print("Update file : {}\n", PrintableText(guffile_->GetGuffileName()));
  Print("Description  : {}\n", PrintableText(description));
  Print("\nTarget : [Dev {}] {}\n", deviceNumber, PrintableText(modelName));
  PrintField("VenderName", vendorName);
  PrintField("SerialNumber", serialNumber);
  PrintField("UserDefinedName", userDefinedName);
  Print("{:4s}{:16s} : {} => {}\n", "", "Version", PrintableText(version), PrintableText(packageVersion));

  const auto steps = update->GetProceureItems();
  // Without steps nothing would change in the camera, yet the tool would report success.
  if (steps.empty()) {
    throw std::runtime_error("No procedure steps in this update");
  }
  // A pattern that does not compile would otherwise be found only after the camera was written.
  quarx::core::fwupdate::CheckPatterns(*update);
  guffile_->ReadUploadFiles(steps);

  CheckStandardOutput();
  if (!noPrompt && !silent && !AskConfirmation()) {
    return;
  }

  // From here on the camera is touched: a signal stops the update at its next safe point, and
  // the executor, made after, lets the camera go before SIGINT and SIGTERM get their actions back.
  const UpdateInterruption interruption;
  quarx::core::fwupdate::GenICamUpdate executor(target, guffile_, 0);
  if (!silent) {
    Print("{}", kRule);
    Print("{:10s} : {}\n", "Begin", "Update started");
  }
  // One stage per progress line; a stop asked for meanwhile ends the update when it ends.
  const auto stage = [&](const std::string& text, const auto& work) {
    PrintProgress(silent, text);
    interruption.Run(text, work);
  };

  stage("CheckPreconditions", [&] {
    quarx::core::fwupdate::UpdateChecker checker;
    if (!checker.IsUpdatable(update, target)) {
      throw std::runtime_error(fmt::format("{:10s} : Invalid update data to this device : {}", "Error", modelName));
    }
    executor.ConnectCamera();
  });

  std::uint32_t resetDelayMs = 0;
  std::unique_ptr<FoundDeviceInfo> refound;
  for (const auto& step : steps) {
    switch (step.GetProcedureType()) {
      case ProcedureType::FeatureWrite:
        stage("Enable Firmware Update", [&] { executor.FeatureWrite(step); });
        break;
      case ProcedureType::FileUpload:
        stage("Upload update binary", [&] { executor.FileUpload(step); });
        PrintProgress(silent, "FileUpload 100%");
        break;
      case ProcedureType::FeatureExecute:
        stage(fmt::format("Execute update process (Estimated time = {} Sec.)",
                          step.GetMaximunExecutionTimeoutMs() / kMsPerSecond),
              [&] { executor.FeatureExecute(step); });
        break;
      case ProcedureType::DeviceReset:
        resetDelayMs = step.GetDeviceDiscoveryDelayMs();
        stage("Resets the device", [&] { executor.DeviceReset(step); });
        stage(fmt::format("Waiting after device reset (Estimated time = {} Sec.)", resetDelayMs / kMsPerSecond),
              [&] { quarx::util::SleepUnlessStopped(std::chrono::milliseconds(resetDelayMs)); });
        break;
      case ProcedureType::FeatureAssert:
        stage("Searching device", [&] { SearchDevice(searchKey, timeoutMs, resetDelayMs, refound); });
        // Not a stage: the check reads the record found, nothing of the camera, and a stop
        // after it would turn a finished update into a failed one.
        PrintProgress(silent, "Validate final device version");
        if (!executor.FeatureAssert(step, refound)) {
          throw std::runtime_error(fmt::format("Device version mismatch : camera({}) expect({})", refound->GetVersion(),
                                               step.GetAssertPattern()));
        }
        break;
    }
  }

  if (!silent) {
    Print("{:10s} : {}\n", "Success", "Update OK");
    Print("{}", kRule);
  }
  Print("\nUpdate success.\n");
  // Without a version-check step the camera was never found again: there is nothing to show.
  if (refound) {
    Print("\nResult : [Dev {}] {}\n", deviceNumber, PrintableText(refound->GetModelName()));
    PrintField("VenderName", refound->GetVenderName());
    PrintField("SerialNumber", refound->GetSerialNumber());
    PrintField("UserDefinedName", refound->GetUserDefinedName());
    PrintField("Version", refound->GetVersion());
  }
}

std::string FWUpdateExecute::GetFeatureFromDeviceInfo(
    const std::string& name, const std::vector<std::pair<std::string, std::string>>& info) const {
  for (const auto& [key, value] : info) {
    if (key == name) {
      return value;
    }
  }
  return {};
}

}  // namespace fwupdate
