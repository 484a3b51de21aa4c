#pragma once
// Discovery over the adaptor's system object, turning its records into the core's discovery records.

#include <memory>
#include <string>
#include <vector>

#include "core/found_device_info.h"
#include "sdkadaptor/src/system.h"

namespace quarx::core {

class DeviceFinderImpl {
 public:
  explicit DeviceFinderImpl(std::unique_ptr<quarx::sdkadaptor::InterfaceSystem> system);

  std::vector<std::unique_ptr<FoundDeviceInfo>> Find(unsigned int timeout_ms);
  std::vector<std::unique_ptr<FoundDeviceInfo>> Find(const std::string& connection_id, unsigned int timeout_ms);
  void SetSubnetBroadcastEnabled(bool enabled) const;
  bool GetSubnetBroadcastEnabled() const;

 private:
  std::unique_ptr<quarx::sdkadaptor::InterfaceSystem> system_;
};

}  // namespace quarx::core
