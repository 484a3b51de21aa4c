// The file information operation: the package's updates and the matching test against the cameras found.
#include "app/fwupdate_fileinfo.h"

#include <memory>
#include <vector>

#include <fmt/format.h>

#include "app/fwupdate_devicelist.h"
#include "core/libstatic_fwupdate/guffile_info.h"
#include "core/libstatic_fwupdate/update_checker.h"
#include "util/printable_text.h"
#include "util/quarxlog.h"

namespace fwupdate {
namespace {

using quarx::util::PrintableText;

constexpr short kAllDevicesNumber = -1;

void PrintMatchedDevice(std::size_t number, quarx::core::FoundDeviceInfo& info) {
  fmt::print("{:8s}[Dev {}] {} Version : {}\n", "", number, PrintableText(info.GetModelName()),
             PrintableText(info.GetVersion()));
}

}  // namespace

FWUpdateFileInfo::FWUpdateFileInfo(const std::string& packagePath) : packagePath_(packagePath) {
  quarx::util::Log::GetInstance("").logger_->info("Operation : file-info, guf filename : {}", packagePath_);
}

void FWUpdateFileInfo::DisplayUpdateInfo(short deviceNumber, bool noTest, unsigned int timeoutMs) const {
  quarx::util::Log::GetInstance("").logger_->info(
      "DisplayUpdateInfo device_idx : {}, detection_timeout_ms : {}, no_test : {}", deviceNumber, timeoutMs, noTest);
  const auto guffile = std::make_unique<quarx::core::fwupdate::GuffileInfo>(packagePath_);
  DeviceList deviceList;
  auto devices = deviceList.GetSortedFoundDeviceInfos(timeoutMs);

  quarx::core::fwupdate::UpdateChecker checker;
  auto updates = guffile->GetUpdates();
  for (std::size_t n = 0; n < updates.size(); ++n) {
    auto& update = updates[n];
    fmt::print("[Index {}]\n", n);
    fmt::print("{:4s}{:14s} : {}\n", "", "Version", PrintableText(update->GetInfoEntry("Version")));
    fmt::print("{:4s}{:14s} : {}\n", "", "Description", PrintableText(update->GetInfoEntry("Description")));
    if (noTest) {
      continue;
    }
    fmt::print("{:4s}{:14s} :\n", "", "Matched device");
    if (deviceNumber == kAllDevicesNumber) {
      for (std::size_t i = 0; i < devices.size(); ++i) {
        if (checker.IsUpdatable(update, devices[i])) {
          PrintMatchedDevice(i, *devices[i]);
        }
      }
    } else {
      // A negative number other than "all" becomes a huge index: at() refuses it like any other.
      auto& device = devices.at(static_cast<std::size_t>(deviceNumber));
      if (checker.IsUpdatable(update, device)) {
        PrintMatchedDevice(static_cast<std::size_t>(deviceNumber), *device);
      }
    }
  }
}

}  // namespace fwupdate
