#pragma once
// Discovery over every host interface: the abstract system the core's finder owns and its SDK form.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sdkadaptor/src/device_info.h"
#include "sdkadaptor/src/host_interface.h"

class PvSystem;

namespace quarx::sdkadaptor {

class InterfaceSystem {
 public:
  virtual ~InterfaceSystem() = default;
  // One discovery; GigE Vision and USB3 Vision cameras only, in the SDK's order. A failed
  // discovery is logged and yields an empty list.
  virtual std::vector<std::unique_ptr<InterfaceDeviceInfo>> Find() = 0;
  // Throws ExceptionSdkAdaptor when the lookup fails twice in a row.
  virtual std::unique_ptr<InterfaceDeviceInfo> FindDevice(const std::string& connection_id) = 0;
  virtual std::vector<std::unique_ptr<InterfaceHostInterface>> GetInterface() = 0;
  virtual unsigned int GetDetectionTimeoutMillisec() const = 0;
  virtual void SetDetectionTimeoutMillisec(unsigned int timeout_ms) = 0;
  virtual bool GetSubnetBroadcastEnabled() const = 0;
  virtual void SetSubnetBroadcastEnabled(bool enabled) = 0;
  // The SDK's 32-bit supported version split in two: first the upper half, then the lower half.
  virtual std::pair<std::uint16_t, std::uint16_t> GetGEVSupportedVersion() const = 0;
  virtual std::pair<std::uint16_t, std::uint16_t> GetU3VSupportedVersion() const = 0;
};

class System : public InterfaceSystem {
 public:
  System();
  // Takes over an SDK system object made elsewhere, such as one whose discovery a test scripts.
  explicit System(std::unique_ptr<PvSystem> system);
  ~System() override;
  System(const System&) = delete;
  System& operator=(const System&) = delete;

  std::vector<std::unique_ptr<InterfaceDeviceInfo>> Find() override;
  std::unique_ptr<InterfaceDeviceInfo> FindDevice(const std::string& connection_id) override;
  std::vector<std::unique_ptr<InterfaceHostInterface>> GetInterface() override;
  unsigned int GetDetectionTimeoutMillisec() const override;
  void SetDetectionTimeoutMillisec(unsigned int timeout_ms) override;
  bool GetSubnetBroadcastEnabled() const override;
  void SetSubnetBroadcastEnabled(bool enabled) override;
  std::pair<std::uint16_t, std::uint16_t> GetGEVSupportedVersion() const override;
  std::pair<std::uint16_t, std::uint16_t> GetU3VSupportedVersion() const override;

 private:
  std::unique_ptr<PvSystem> system_;
};

}  // namespace quarx::sdkadaptor
