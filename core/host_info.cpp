// Copies what the core keeps of a host interface.
#include "core/host_info.h"

#include "sdkadaptor/src/host_interface.h"

namespace quarx::core {

HostInfo::HostInfo(const std::unique_ptr<quarx::sdkadaptor::InterfaceHostInterface>& host) {
  if (!host) {
    return;
  }
  display_id_ = host->GetDisplayId();
  unique_id_ = host->GetUniqueId();
}

}  // namespace quarx::core
