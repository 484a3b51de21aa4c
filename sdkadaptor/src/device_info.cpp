// Reads the common part of an SDK discovery record.
#include "sdkadaptor/src/device_info.h"

#include "camerasdk/PvDeviceInfo.h"
#include "sdkadaptor/src/device_interface_type_converter.h"

namespace quarx::sdkadaptor {

DeviceInfo::DeviceInfo(const PvDeviceInfo* info) : info_(info) {}

std::string DeviceInfo::GetConnectionId() const {
  return info_ == nullptr ? std::string() : info_->GetConnectionID().GetAscii();
}

std::string DeviceInfo::GetDisplayId() const { return info_ == nullptr ? std::string() : info_->GetDisplayID().GetAscii(); }

std::string DeviceInfo::GetManufactureInfo() const {
  return info_ == nullptr ? std::string() : info_->GetManufacturerInfo().GetAscii();
}

std::string DeviceInfo::GetModelName() const { return info_ == nullptr ? std::string() : info_->GetModelName().GetAscii(); }

std::string DeviceInfo::GetSerialNumber() const {
  return info_ == nullptr ? std::string() : info_->GetSerialNumber().GetAscii();
}

DeviceInterfaceTypeEnum DeviceInfo::GetType() const {
  return info_ == nullptr ? DeviceInterfaceTypeEnum::Other : DeviceInterfaceTypeConverter::ConvertTo(info_->GetType());
}

std::string DeviceInfo::GetUniqueId() const { return info_ == nullptr ? std::string() : info_->GetUniqueID().GetAscii(); }

std::string DeviceInfo::GetUserDefinedName() const {
  return info_ == nullptr ? std::string() : info_->GetUserDefinedName().GetAscii();
}

std::string DeviceInfo::GetVenderName() const { return info_ == nullptr ? std::string() : info_->GetVendorName().GetAscii(); }

std::string DeviceInfo::GetVersion() const { return info_ == nullptr ? std::string() : info_->GetVersion().GetAscii(); }

std::unique_ptr<InterfaceHostInterface> DeviceInfo::GetHostInterface() const {
  return std::make_unique<HostInterface>(info_ == nullptr ? nullptr : info_->GetInterface());
}

}  // namespace quarx::sdkadaptor
