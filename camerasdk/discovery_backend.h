#pragma once
// Where PvSystem's discoveries come from: the host's network and USB, or a script in tests.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "camerasdk/PvDeviceInfo.h"
#include "camerasdk/PvInterface.h"
#include "camerasdk/PvResult.h"

namespace camerasdk {

struct DiscoverySettings {
  std::uint32_t timeout_ms = 0;
  bool subnet_broadcast = false;
};

// What one discovery found. Records point at interfaces of the same result, so the two lists
// live and die together.
struct DiscoveryResult {
  std::vector<std::unique_ptr<PvInterface>> interfaces;
  std::vector<std::unique_ptr<PvDeviceInfo>> devices;
};

class DiscoveryBackend {
 public:
  virtual ~DiscoveryBackend() = default;
  // One discovery of every reachable camera, taking the whole detection time.
  virtual PvResult Discover(const DiscoverySettings& settings, DiscoveryResult& result) = 0;
  // The one camera with that connection id (or, for GigE Vision, MAC address); at most one record.
  virtual PvResult FindDevice(const std::string& id, const DiscoverySettings& settings, DiscoveryResult& result) = 0;
};

}  // namespace camerasdk
