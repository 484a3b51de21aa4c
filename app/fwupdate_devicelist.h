#pragma once
// The device list: discovers the cameras, puts them in the one order every operation numbers them by,
// and prints them.

#include <memory>
#include <vector>

#include "core/found_device_info.h"

namespace fwupdate {

class DeviceList {
 public:
  DeviceList();
  virtual ~DeviceList();

  // One discovery lasting timeout_ms, in the finder's order. Virtual so that tests can stand in
  // for the cameras. Never throws.
  virtual std::vector<std::unique_ptr<quarx::core::FoundDeviceInfo>> Update(unsigned int timeout_ms) const;
  // Ordered bytewise by connection id, one record per id (the first one discovered stays) and
  // per MAC address (the one of the lowest id stays); a camera's device number is its position here.
  std::vector<std::unique_ptr<quarx::core::FoundDeviceInfo>> GetSortedFoundDeviceInfos(unsigned int timeout_ms);
  // Prints the ordered list to standard output; nothing at all when no camera answers.
  void DisplayDeviceList(unsigned int timeout_ms);
};

}  // namespace fwupdate
