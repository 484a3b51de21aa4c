#pragma once
// Discovery on the host itself: GigE Vision over the network interfaces, USB3 Vision over USB.

#include <memory>

#include "camerasdk/discovery_backend.h"

namespace camerasdk {

class UsbCameraBus;

class HostDiscoveryBackend : public DiscoveryBackend {
 public:
  // The USB side through Aravis's USB interface.
  HostDiscoveryBackend();
  // The USB side through `usb`; the network side is the host's all the same.
  explicit HostDiscoveryBackend(std::unique_ptr<UsbCameraBus> usb);
  ~HostDiscoveryBackend() override;

  PvResult Discover(const DiscoverySettings& settings, DiscoveryResult& result) override;
  PvResult FindDevice(const std::string& id, const DiscoverySettings& settings, DiscoveryResult& result) override;

 private:
  std::unique_ptr<UsbCameraBus> usb_;
};

}  // namespace camerasdk
