#pragma once
// A GigE Vision camera: connect with an access type, its addresses, packet-size
// negotiation, stream destination and heartbeat.

#include <cstdint>
#include <string>

#include "sdkadaptor/src/device.h"

class PvDeviceGEV;

namespace quarx::sdkadaptor {

class InterfaceDeviceGEV : public virtual InterfaceDevice {
 public:
  using InterfaceDevice::Connect;
  virtual void Connect(const std::string& connectionId, quarx::AccessTypeEnum access) = 0;
  virtual std::string GetIPAddress() const = 0;
  virtual std::string GetMACAddress() const = 0;
  virtual void NegotiatePacketSize(unsigned int channel) = 0;
  virtual void SetStreamDestination(const std::string& ipAddress, uint16_t port, unsigned int channel) = 0;
  virtual void ExtendHeartbeatTimeout() const = 0;
};

class DeviceGEV : public Device, public InterfaceDeviceGEV {
 public:
  // A new, unconnected SDK device.
  DeviceGEV();
  // Takes ownership of an existing SDK device.
  explicit DeviceGEV(PvDeviceGEV* device);

  using Device::Connect;
  void Connect(const std::string& connectionId, quarx::AccessTypeEnum access) override;
  quarx::DeviceInterfaceTypeEnum GetType() const override;
  std::string GetIPAddress() const override;
  std::string GetMACAddress() const override;
  void NegotiatePacketSize(unsigned int channel) override;
  void SetStreamDestination(const std::string& ipAddress, uint16_t port, unsigned int channel) override;
  void ExtendHeartbeatTimeout() const override;

 private:
  PvDeviceGEV& Gev() const;
};

}  // namespace quarx::sdkadaptor
