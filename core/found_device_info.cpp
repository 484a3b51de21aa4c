// Copies one adaptor record into the core's discovery record.
#include "core/found_device_info.h"

#include "sdkadaptor/src/device_info.h"

namespace quarx::core {

FoundDeviceInfo::FoundDeviceInfo(const std::unique_ptr<quarx::sdkadaptor::InterfaceDeviceInfo>& info) {
  if (!info) {
    return;
  }
  connection_id_ = info->GetConnectionId();
  display_id_ = info->GetDisplayId();
  manufacture_info_ = info->GetManufactureInfo();
  model_name_ = info->GetModelName();
  serial_number_ = info->GetSerialNumber();
  unique_id_ = info->GetUniqueId();
  user_defined_name_ = info->GetUserDefinedName();
  vender_name_ = info->GetVenderName();
  version_ = info->GetVersion();
  device_type_ = info->GetType();
  const std::unique_ptr<quarx::sdkadaptor::InterfaceHostInterface> host = info->GetHostInterface();
  host_info_ = std::make_unique<HostInfo>(host);
}

FoundDeviceInfo::FoundDeviceInfo(const std::string& connection_id, quarx::DeviceInterfaceTypeEnum type)
    : connection_id_(connection_id), device_type_(type) {}

FoundDeviceInfo::~FoundDeviceInfo() = default;

}  // namespace quarx::core
