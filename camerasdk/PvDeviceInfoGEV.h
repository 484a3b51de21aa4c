#pragma once
// A GigE Vision camera as its discovery acknowledge described it.

#include <string>

#include "camerasdk/PvDeviceInfo.h"

// Address texts in dotted-quad form; the MAC lower-case and colon-separated ("02:5e:c1:12:34:56").
// The IP address is the one the camera reports in its acknowledge, not the datagram's source.
struct PvGEVAddresses {
  std::string ip_address;
  std::string mac_address;
  std::string subnet_mask;
  std::string default_gateway;
};

class PvDeviceInfoGEV : public PvDeviceInfo {
 public:
  PvDeviceInfoGEV(const PvDeviceIdentity& identity, const PvGEVAddresses& addresses,
                  const PvInterface* host_interface);

  PvString GetIPAddress() const { return PvString(addresses_.ip_address); }
  PvString GetMACAddress() const { return PvString(addresses_.mac_address); }
  PvString GetSubnetMask() const { return PvString(addresses_.subnet_mask); }
  PvString GetDefaultGateway() const { return PvString(addresses_.default_gateway); }

 private:
  PvGEVAddresses addresses_;
};
