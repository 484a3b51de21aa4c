// The handle of a GigE Vision camera.
#include "core/device_gev.h"

#include "util/quarxlog.h"

namespace quarx::core {

namespace {

spdlog::logger& Log() { return *util::Log::GetInstance("").logger_; }

}  // namespace

DeviceGEV::DeviceGEV(const std::string& connectionId) : DeviceGEV(std::make_shared<DeviceGEVImpl>(connectionId)) {}

DeviceGEV::DeviceGEV(std::shared_ptr<DeviceGEVImpl> impl) : Device(std::move(impl)) {}

DeviceGEVImpl& DeviceGEV::Gev() const {
  // Both constructors hand the base a DeviceGEVImpl.
  return static_cast<DeviceGEVImpl&>(*Impl());
}

void DeviceGEV::Connect() {
  Log().info("<{}> (AccessTypeEnum::Control)", "Connect");
  Gev().Connect(quarx::AccessTypeEnum::Control);
}

void DeviceGEV::Connect(quarx::AccessTypeEnum access) {
  Log().info("<{}> (AccessType({}))", "Connect", static_cast<int>(access));
  Gev().Connect(access);
}

std::string DeviceGEV::GetIPAddress() const {
  std::string address = Gev().GetIPAddress();
  Log().info("<{}> ipaddress({}))", "GetIPAddress", address);
  return address;
}

std::string DeviceGEV::GetMACAddress() const {
  std::string address = Gev().GetMACAddress();
  Log().info("<{}> mac address({}))", "GetMACAddress", address);
  return address;
}

}  // namespace quarx::core
