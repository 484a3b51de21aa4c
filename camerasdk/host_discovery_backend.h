#pragma once
// Discovery on the host itself: GigE Vision over the network interfaces, USB3 Vision over USB.

#include "camerasdk/discovery_backend.h"

namespace camerasdk {

class HostDiscoveryBackend : public DiscoveryBackend {
 public:
  PvResult Discover(const DiscoverySettings& settings, DiscoveryResult& result) override;
  PvResult FindDevice(const std::string& id, const DiscoverySettings& settings, DiscoveryResult& result) override;
};

}  // namespace camerasdk
