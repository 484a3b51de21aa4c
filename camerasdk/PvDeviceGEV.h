#pragma once
// A GigE Vision camera reached by its IP address: access types, addresses, packet size and
// stream destination.

#include <cstdint>
#include <string>

#include "camerasdk/PvDevice.h"

class PvDeviceGEV : public PvDevice {
 public:
  PvDeviceGEV();
  ~PvDeviceGEV() override;

  // Control access.
  PvResult Connect(const PvString& connectionId) override;
  // Connecting a connected device first releases the earlier connection.
  PvResult Connect(const PvString& connectionId, PvAccessType accessType);

  // As read when connecting; empty while unconnected. MAC: lower case, colon-separated.
  PvString GetIPAddress() const { return PvString(ip_address_); }
  PvString GetMACAddress() const { return PvString(mac_address_); }

  // The largest packet that reaches the host on that stream channel; when negotiation fails
  // and `defaultPacketSize` is not 0, that size is set instead.
  PvResult NegotiatePacketSize(uint32_t channel, uint32_t defaultPacketSize = 0);
  PvResult SetStreamDestination(const PvString& ipAddress, uint16_t port, uint32_t channel = 0);

 protected:
  PvResult GetStreamChannelCount(uint32_t& count) const override;

 private:
  std::string ip_address_;
  std::string mac_address_;
};
