#pragma once
// One discovered camera as the SDK reported it: the abstract record the core copies and its SDK form.

#include <memory>
#include <string>

#include "sdkadaptor/src/host_interface.h"
#include "sdkadaptor/src/quarx_types.h"

class PvDeviceInfo;

namespace quarx::sdkadaptor {

class InterfaceDeviceInfo {
 public:
  virtual ~InterfaceDeviceInfo() = default;
  virtual std::string GetConnectionId() const = 0;
  virtual std::string GetDisplayId() const = 0;
  virtual std::string GetManufactureInfo() const = 0;
  virtual std::string GetModelName() const = 0;
  virtual std::string GetSerialNumber() const = 0;
  virtual DeviceInterfaceTypeEnum GetType() const = 0;
  virtual std::string GetUniqueId() const = 0;
  virtual std::string GetUserDefinedName() const = 0;
  virtual std::string GetVenderName() const = 0;
  virtual std::string GetVersion() const = 0;
  // The host interface the camera answered on; a new object owned by the caller.
  virtual std::unique_ptr<InterfaceHostInterface> GetHostInterface() const = 0;
};

class DeviceInfo : public InterfaceDeviceInfo {
 public:
  // Borrows the SDK's record: it belongs to the SDK system object of the System that found it,
  // so this record is valid only while that System lives. Null reads as empty texts.
  explicit DeviceInfo(const PvDeviceInfo* info);
  ~DeviceInfo() override = default;

  std::string GetConnectionId() const override;
  std::string GetDisplayId() const override;
  std::string GetManufactureInfo() const override;
  std::string GetModelName() const override;
  std::string GetSerialNumber() const override;
  DeviceInterfaceTypeEnum GetType() const override;
  std::string GetUniqueId() const override;
  std::string GetUserDefinedName() const override;
  std::string GetVenderName() const override;
  std::string GetVersion() const override;
  std::unique_ptr<InterfaceHostInterface> GetHostInterface() const override;

 protected:
  const PvDeviceInfo* info_;
};

}  // namespace quarx::sdkadaptor
