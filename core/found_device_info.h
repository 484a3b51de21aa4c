#pragma once
// The core's value copy of one discovered camera; holds nothing of the adaptor once built.

#include <memory>
#include <string>

#include "core/host_info.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::sdkadaptor {
class InterfaceDeviceInfo;
}

namespace quarx::core {

class FoundDeviceInfo {
 public:
  // Copies every text of the adaptor record and its host interface; the record stays with the caller.
  explicit FoundDeviceInfo(const std::unique_ptr<quarx::sdkadaptor::InterfaceDeviceInfo>& info);
  // A record that knows only how to reach the camera: every text empty, no host information.
  FoundDeviceInfo(const std::string& connection_id, quarx::DeviceInterfaceTypeEnum type);
  virtual ~FoundDeviceInfo();
  FoundDeviceInfo(const FoundDeviceInfo&) = delete;
  FoundDeviceInfo& operator=(const FoundDeviceInfo&) = delete;

  std::string& GetConnectionId() { return connection_id_; }
  std::string& GetDisplayId() { return display_id_; }
  std::string& GetManufactureInfo() { return manufacture_info_; }
  std::string& GetModelName() { return model_name_; }
  std::string& GetSerialNumber() { return serial_number_; }
  std::string& GetUniqueId() { return unique_id_; }
  std::string& GetUserDefinedName() { return user_defined_name_; }
  std::string& GetVenderName() { return vender_name_; }
  std::string& GetVersion() { return version_; }
  // Read-only views of the same texts, for callers that hold the record as const.
  const std::string& GetConnectionId() const { return connection_id_; }
  const std::string& GetDisplayId() const { return display_id_; }
  const std::string& GetManufactureInfo() const { return manufacture_info_; }
  const std::string& GetModelName() const { return model_name_; }
  const std::string& GetSerialNumber() const { return serial_number_; }
  const std::string& GetUniqueId() const { return unique_id_; }
  const std::string& GetUserDefinedName() const { return user_defined_name_; }
  const std::string& GetVenderName() const { return vender_name_; }
  const std::string& GetVersion() const { return version_; }
  // 0 for a FoundDeviceInfoGEV, 1 for a FoundDeviceInfoU3V; tells which down-cast is safe.
  quarx::DeviceInterfaceTypeEnum GetDeviceType() const { return device_type_; }
  std::unique_ptr<HostInfo>& GetHostInfo() { return host_info_; }

 private:
  std::string connection_id_;
  std::string display_id_;
  std::string manufacture_info_;
  std::string model_name_;
  std::string serial_number_;
  std::string unique_id_;
  std::string user_defined_name_;
  std::string vender_name_;
  std::string version_;
  quarx::DeviceInterfaceTypeEnum device_type_ = quarx::DeviceInterfaceTypeEnum::Other;
  std::unique_ptr<HostInfo> host_info_;
};

}  // namespace quarx::core
