#pragma once
// A host interface that discovery ran on: one IPv4 address of a network interface, or the USB bus.

#include <string>

#include "camerasdk/PvString.h"

class PvInterface {
 public:
  // For a network interface: name is the OS interface name ("eth0"), display id "<name> <address>"
  // and unique id the IPv4 address the discovery socket was bound to ("192.168.1.5"), which is the
  // local address to reach cameras found on it. For USB3 Vision: name "USB3 Vision", unique id "usb".
  PvInterface(const std::string& name, const std::string& display_id, const std::string& unique_id);

  PvString GetName() const { return PvString(name_); }
  PvString GetDisplayID() const { return PvString(display_id_); }
  PvString GetUniqueID() const { return PvString(unique_id_); }

 private:
  std::string name_;
  std::string display_id_;
  std::string unique_id_;
};
