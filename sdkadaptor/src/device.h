#pragma once
// A camera as the core holds it: the abstract device and the implementation common to both
// transports over the SDK device.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sdkadaptor/src/gen_file.h"
#include "sdkadaptor/src/gen_parameters.h"
#include "sdkadaptor/src/quarx_types.h"

class PvDevice;

namespace quarx::sdkadaptor {

class InterfaceDevice {
 public:
  virtual ~InterfaceDevice() = default;

  virtual void Connect(const std::string& connectionId) = 0;
  virtual void DisConnect() = 0;
  virtual std::unique_ptr<InterfaceGenParameters> GetParameters() = 0;
  virtual std::unique_ptr<InterfaceGenParameters> GetCommunicationParameters() = 0;
  virtual bool IsConnected() const = 0;
  virtual unsigned int GetPayloadSize() const = 0;
  virtual void StreamDisable(unsigned int channel) = 0;
  virtual void StreamEnable(unsigned int channel) = 0;
  virtual std::vector<uint8_t> ReadMemory(int64_t address, int64_t size) = 0;
  virtual void WriteMemory(int64_t address, std::vector<uint8_t>& data) = 0;
  virtual quarx::DeviceInterfaceTypeEnum GetType() const = 0;
  virtual unsigned int GetHeartBeatThreadPriority() const = 0;
  virtual unsigned int GetInterruptLinkThreadPriority() const = 0;
  virtual unsigned int GetInterruptQueueThreadPriority() const = 0;
  virtual void SetHeartBeatThreadPriority(unsigned int priority) const = 0;
  virtual void SetInterruptLinkThreadPriority(unsigned int priority) const = 0;
  virtual void SetInterruptQueueThreadPriority(unsigned int priority) const = 0;
  virtual std::unique_ptr<GenFile> GetGenFile() const = 0;
};

class Device : public virtual InterfaceDevice {
 public:
  // Takes ownership of the SDK device; the destructor deletes it without disconnecting.
  explicit Device(PvDevice* device);
  ~Device() override;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // A connected device of the connection id's transport.
  static std::unique_ptr<Device> CreateAndConnect(const std::string& connectionId);

  void Connect(const std::string& connectionId) override;
  void DisConnect() override;
  std::unique_ptr<InterfaceGenParameters> GetParameters() override;
  std::unique_ptr<InterfaceGenParameters> GetCommunicationParameters() override;
  bool IsConnected() const override;
  unsigned int GetPayloadSize() const override;
  void StreamDisable(unsigned int channel) override;
  void StreamEnable(unsigned int channel) override;
  std::vector<uint8_t> ReadMemory(int64_t address, int64_t size) override;
  void WriteMemory(int64_t address, std::vector<uint8_t>& data) override;
  unsigned int GetHeartBeatThreadPriority() const override;
  unsigned int GetInterruptLinkThreadPriority() const override;
  unsigned int GetInterruptQueueThreadPriority() const override;
  void SetHeartBeatThreadPriority(unsigned int priority) const override;
  void SetInterruptLinkThreadPriority(unsigned int priority) const override;
  void SetInterruptQueueThreadPriority(unsigned int priority) const override;
  std::unique_ptr<GenFile> GetGenFile() const override;

 protected:
  std::unique_ptr<PvDevice> device_;
};

}  // namespace quarx::sdkadaptor
