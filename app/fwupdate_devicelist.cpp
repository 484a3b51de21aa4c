// Discovery, ordering and the console listing of cameras.
#include "app/fwupdate_devicelist.h"

#include <map>
#include <set>
#include <string>

#include <fmt/format.h>

#include "core/device_finder.h"
#include "core/found_device_info_gev.h"
#include "core/found_device_info_u3v.h"
#include "util/printable_text.h"
#include "util/quarxlog.h"

namespace fwupdate {
namespace {

using quarx::util::PrintableText;

void PrintField(const char* label, const std::string& value) {
  fmt::print("{:4}{:<20s}: {}\n", "", label, PrintableText(value));
}

}  // namespace

DeviceList::DeviceList() { quarx::util::Log::GetInstance("").logger_->info("Operation : device-list"); }

DeviceList::~DeviceList() = default;

std::vector<std::unique_ptr<quarx::core::FoundDeviceInfo>> DeviceList::Update(unsigned int timeout_ms) const {
  quarx::core::DeviceFinder finder;
  return finder.Find(timeout_ms);
}

std::vector<std::unique_ptr<quarx::core::FoundDeviceInfo>> DeviceList::GetSortedFoundDeviceInfos(
    unsigned int timeout_ms) {
  std::map<std::string, std::unique_ptr<quarx::core::FoundDeviceInfo>> by_connection_id;
  for (auto& info : Update(timeout_ms)) {
    if (!info) {
      continue;
    }
    const std::string key = info->GetConnectionId();
    by_connection_id.emplace(key, std::move(info));
  }
  std::vector<std::unique_ptr<quarx::core::FoundDeviceInfo>> sorted;
  sorted.reserve(by_connection_id.size());
  // Discovery keeps every camera that answers with a MAC address, so that the search after an
  // update sees them all; a device number names one of them only, the same one on every run.
  std::set<std::string> macs;
  for (auto& entry : by_connection_id) {
    const auto* gev = dynamic_cast<const quarx::core::FoundDeviceInfoGEV*>(entry.second.get());
    if (gev == nullptr || macs.insert(gev->GetMACAddress()).second) {
      sorted.push_back(std::move(entry.second));
    }
  }
  return sorted;
}

void DeviceList::DisplayDeviceList(unsigned int timeout_ms) {
  quarx::util::Log::GetInstance("").logger_->info("DisplayDeviceList detection_timeout_ms : {}", timeout_ms);
  const auto infos = GetSortedFoundDeviceInfos(timeout_ms);
  for (std::size_t i = 0; i < infos.size(); ++i) {
    quarx::core::FoundDeviceInfo& info = *infos[i];
    fmt::print("[Dev {:2}] {}\n", i, PrintableText(info.GetModelName()));
    PrintField("VenderName", info.GetVenderName());
    PrintField("SerialNumber", info.GetSerialNumber());
    PrintField("UserDefinedName", info.GetUserDefinedName());
    PrintField("Version", info.GetVersion());
    switch (info.GetDeviceType()) {
      case quarx::DeviceInterfaceTypeEnum::GEV: {
        const auto* gev = dynamic_cast<const quarx::core::FoundDeviceInfoGEV*>(&info);
        PrintField("IPAddress", gev == nullptr ? std::string() : gev->GetIPAddress());
        PrintField("MACAddress", gev == nullptr ? std::string() : gev->GetMACAddress());
        break;
      }
      case quarx::DeviceInterfaceTypeEnum::U3V: {
        const auto* u3v = dynamic_cast<const quarx::core::FoundDeviceInfoU3V*>(&info);
        PrintField("DeviceGUID", u3v == nullptr ? std::string() : u3v->GetDeviceGUID());
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace fwupdate
