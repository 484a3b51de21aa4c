#pragma once
// The core's entry to discovery: finds GigE Vision and USB3 Vision cameras within a discovery time.

#include <memory>
#include <string>
#include <vector>

#include "core/found_device_info.h"

namespace quarx::core {

class DeviceFinderImpl;

class DeviceFinder {
 public:
  DeviceFinder();
  ~DeviceFinder();
  DeviceFinder(const DeviceFinder&) = delete;
  DeviceFinder& operator=(const DeviceFinder&) = delete;

  // One discovery lasting timeout_ms; the caller owns the records. Never throws: a failed
  // discovery gives an empty list.
  std::vector<std::unique_ptr<FoundDeviceInfo>> Find(unsigned int timeout_ms);
  // At most one record, for the camera with that connection id; every failure gives an empty list.
  std::vector<std::unique_ptr<FoundDeviceInfo>> Find(const std::string& connection_id, unsigned int timeout_ms);
  void SetSubnetBroadcastEnabled(bool enabled) const;
  bool GetSubnetBroadcastEnabled() const;

 private:
  std::unique_ptr<DeviceFinderImpl> impl_;
};

}  // namespace quarx::core
