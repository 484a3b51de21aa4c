#pragma once
// Discovery of GigE Vision and USB3 Vision cameras over every host interface.

#include <cstdint>
#include <memory>

#include "camerasdk/PvDeviceInfo.h"
#include "camerasdk/PvInterface.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/PvString.h"

namespace camerasdk {
class DiscoveryBackend;
struct DiscoveryResult;
}  // namespace camerasdk

class PvSystem {
 public:
  // Discovers on the host: GigE Vision over every IPv4 interface that is up, USB3 Vision over USB.
  PvSystem();
  // Discovers through the given backend; tests use it to script what the cameras answer.
  explicit PvSystem(std::unique_ptr<camerasdk::DiscoveryBackend> backend);
  ~PvSystem();
  PvSystem(const PvSystem&) = delete;
  PvSystem& operator=(const PvSystem&) = delete;

  // One discovery lasting the detection time. Records and interfaces of the previous discovery
  // are released: pointers to them become invalid.
  PvResult Find();
  // Looks up one camera by connection id (an IPv4 address: unicast; otherwise connection id or
  // MAC address among all answers). The record stays valid until the next FindDevice.
  PvResult FindDevice(const PvString& connection_id, const PvDeviceInfo** device_info);

  std::uint32_t GetInterfaceCount() const;
  const PvInterface* GetInterface(std::uint32_t index) const;  // null past the end
  std::uint32_t GetDeviceCount() const;
  const PvDeviceInfo* GetDeviceInfo(std::uint32_t index) const;  // null past the end

  std::uint32_t GetDetectionTimeout() const { return detection_timeout_ms_; }
  void SetDetectionTimeout(std::uint32_t timeout_ms) { detection_timeout_ms_ = timeout_ms; }
  bool GetSubnetBroadcastEnabled() const { return subnet_broadcast_; }
  void SetSubnetBroadcastEnabled(bool enabled) { subnet_broadcast_ = enabled; }

  // Versions of the two standards the discovery speaks: major in the upper, minor in the lower 16 bits.
  std::uint32_t GetGEVSupportedVersion() const;
  std::uint32_t GetU3VSupportedVersion() const;

 private:
  std::unique_ptr<camerasdk::DiscoveryBackend> backend_;
  std::unique_ptr<camerasdk::DiscoveryResult> found_;
  std::unique_ptr<camerasdk::DiscoveryResult> looked_up_;
  std::uint32_t detection_timeout_ms_;
  bool subnet_broadcast_ = false;
};
