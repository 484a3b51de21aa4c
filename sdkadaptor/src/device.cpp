// Devices: the operations common to both transports over the SDK device.
#include "sdkadaptor/src/device.h"

#include "camerasdk/PvDevice.h"
#include "camerasdk/PvDeviceGEV.h"
#include "camerasdk/PvDeviceU3V.h"
#include "sdkadaptor/src/device_gev.h"
#include "sdkadaptor/src/device_u3v.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kNotSupported = 26;
constexpr CodeEnum kInternalError = 0x1000002;

}  // namespace

Device::Device(PvDevice* device) : device_(device) {}

Device::~Device() = default;

std::unique_ptr<Device> Device::CreateAndConnect(const std::string& connectionId) {
  PvResult result;
  std::unique_ptr<PvDevice> device(PvDevice::CreateAndConnect(PvString(connectionId), &result));
  Result::ThrowExceptionWhenError(result, __FILE__, __LINE__);
  if (device == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "The SDK connected no device");
  }
  if (device->GetType() == PvDeviceTypeGEV) {
    if (auto* gev = dynamic_cast<PvDeviceGEV*>(device.get())) {
      device.release();
      return std::make_unique<DeviceGEV>(gev);
    }
  } else if (device->GetType() == PvDeviceTypeU3V) {
    if (auto* u3v = dynamic_cast<PvDeviceU3V*>(device.get())) {
      device.release();
      return std::make_unique<DeviceU3V>(u3v);
    }
  }
  device->Disconnect();
  throw ExceptionSdkAdaptor(kNotSupported, "Invalid device type");
}

void Device::Connect(const std::string& connectionId) {
  const PvResult result = device_->Connect(PvString(connectionId));
  ApplyResultRule(result, "Connect", __FILE__, __LINE__);
}

void Device::DisConnect() {
  const PvResult result = device_->Disconnect();
  ApplyResultRule(result, "DisConnect", __FILE__, __LINE__);
}

std::unique_ptr<InterfaceGenParameters> Device::GetParameters() {
  return std::make_unique<GenParameters>(device_->GetParameters());
}

std::unique_ptr<InterfaceGenParameters> Device::GetCommunicationParameters() {
  return std::make_unique<GenParameters>(device_->GetCommunicationParameters());
}

bool Device::IsConnected() const { return device_ != nullptr && device_->IsConnected(); }

unsigned int Device::GetPayloadSize() const { return device_ == nullptr ? 0 : device_->GetPayloadSize(); }

void Device::StreamDisable(unsigned int channel) {
  const PvResult result = device_->StreamDisable(channel);
  ApplyResultRule(result, "StreamDisable", __FILE__, __LINE__);
}

void Device::StreamEnable(unsigned int channel) {
  const PvResult result = device_->StreamEnable(channel);
  ApplyResultRule(result, "StreamEnable", __FILE__, __LINE__);
}

std::vector<uint8_t> Device::ReadMemory(int64_t address, int64_t size) {
  // A negative size reaches the SDK, which refuses it, rather than sizing a vector.
  std::vector<uint8_t> data(size > 0 ? static_cast<size_t>(size) : 0);
  const PvResult result = device_->ReadMemory(data.data(), address, size);
  ApplyResultRule(result, "ReadMemory", __FILE__, __LINE__);
  return data;
}

void Device::WriteMemory(int64_t address, std::vector<uint8_t>& data) {
  const PvResult result = device_->WriteMemory(data.data(), address, static_cast<int64_t>(data.size()));
  ApplyResultRule(result, "WriteMemory", __FILE__, __LINE__);
}

unsigned int Device::GetHeartBeatThreadPriority() const {
  return device_ == nullptr ? 0 : device_->GetHeartbeatThreadPriority();
}

unsigned int Device::GetInterruptLinkThreadPriority() const {
  return device_ == nullptr ? 0 : device_->GetInterruptLinkThreadPriority();
}

unsigned int Device::GetInterruptQueueThreadPriority() const {
  return device_ == nullptr ? 0 : device_->GetInterruptQueueThreadPriority();
}

void Device::SetHeartBeatThreadPriority(unsigned int priority) const {
  const PvResult result = device_->SetHeartbeatThreadPriority(priority);
  ApplyResultRule(result, "SetHeartBeatThreadPriority", __FILE__, __LINE__);
}

void Device::SetInterruptLinkThreadPriority(unsigned int priority) const {
  const PvResult result = device_->SetInterruptLinkThreadPriority(priority);
  ApplyResultRule(result, "SetInterruptLinkThreadPriority", __FILE__, __LINE__);
}

void Device::SetInterruptQueueThreadPriority(unsigned int priority) const {
  const PvResult result = device_->SetInterruptQueueThreadPriority(priority);
  ApplyResultRule(result, "SetInterruptQueueThreadPriority", __FILE__, __LINE__);
}

std::unique_ptr<GenFile> Device::GetGenFile() const { return std::make_unique<GenFile>(device_->GetParameters()); }

}  // namespace quarx::sdkadaptor
