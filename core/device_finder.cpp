// The finder the tool uses: a real SDK system behind the implementation.
#include "core/device_finder.h"

#include "core/device_finder_impl.h"
#include "sdkadaptor/src/system.h"

namespace quarx::core {

DeviceFinder::DeviceFinder()
    : impl_(std::make_unique<DeviceFinderImpl>(std::make_unique<quarx::sdkadaptor::System>())) {}

DeviceFinder::~DeviceFinder() = default;

std::vector<std::unique_ptr<FoundDeviceInfo>> DeviceFinder::Find(unsigned int timeout_ms) {
  return impl_->Find(timeout_ms);
}

std::vector<std::unique_ptr<FoundDeviceInfo>> DeviceFinder::Find(const std::string& connection_id,
                                                                 unsigned int timeout_ms) {
  return impl_->Find(connection_id, timeout_ms);
}

void DeviceFinder::SetSubnetBroadcastEnabled(bool enabled) const { impl_->SetSubnetBroadcastEnabled(enabled); }

bool DeviceFinder::GetSubnetBroadcastEnabled() const { return impl_->GetSubnetBroadcastEnabled(); }

}  // namespace quarx::core
