// The device handle: creation by interface type and the operations common to both transports.
#include "core/device.h"

#include <fmt/format.h>

#include <exception>

#include "core/device_gev.h"
#include "core/device_u3v.h"
#include "core/exception_connect_impl.h"
#include "core/exception_core_impl.h"
#include "util/quarxlog.h"

namespace quarx::core {

namespace {

spdlog::logger& Log() { return *util::Log::GetInstance("").logger_; }

}  // namespace

std::shared_ptr<Device> Device::Create(std::unique_ptr<FoundDeviceInfo>& info) {
  if (!info) {
    throw CoreExceptionImpl("Create", RESULT_DEVICE, ERR_INVALID_DEVICE_TYPE, "Invalid device type(no device)");
  }
  switch (info->GetDeviceType()) {
    case quarx::DeviceInterfaceTypeEnum::GEV:
      return std::make_shared<DeviceGEV>(info->GetConnectionId());
    case quarx::DeviceInterfaceTypeEnum::U3V:
      return std::make_shared<DeviceU3V>(info->GetConnectionId());
    default:
      throw CoreExceptionImpl("Create", RESULT_DEVICE, ERR_INVALID_DEVICE_TYPE,
                              fmt::format("Invalid device type({})", static_cast<int>(info->GetDeviceType())));
  }
}

Device::Device(std::shared_ptr<DeviceImpl> impl)
    : impl_(std::move(impl)),
      features_(std::make_shared<Parameters>(impl_->GetFeaturesPointer())),
      communication_parameters_(std::make_shared<Parameters>(impl_->GetCommunicationParametersPointer())) {}

const std::shared_ptr<Parameters>& Device::GetFeatures() const {
  if (!IsConnected()) {
    throw ConnectExceptionImpl("GetFeatures", __LINE__, ERR_NOT_CONNECTED, ConnectExceptionImpl::ERRMSG_NOT_CONNECTED);
  }
  return features_;
}

const std::shared_ptr<Parameters>& Device::GetCommunicationParameters() const { return communication_parameters_; }

std::unique_ptr<GenicamFile> Device::GetGenFile() const {
  Log().info("<{}>", "GetGenFile");
  return impl_->GetGenFile();
}

bool Device::IsConnected() const { return impl_->IsConnected(); }

quarx::DeviceInterfaceTypeEnum Device::GetInterfaceType() const { return impl_->GetInterfaceType(); }

unsigned int Device::GetHeartbeatThreadPriority() const { return impl_->GetHeartbeatThreadPriority(); }

unsigned int Device::GetInterruptLinkThreadPriority() const { return impl_->GetInterruptLinkThreadPriority(); }

unsigned int Device::GetInterruptQueueThreadPriority() const { return impl_->GetInterruptQueueThreadPriority(); }

void Device::SetHeartbeatThreadPriority(unsigned int priority) { impl_->SetHeartbeatThreadPriority(priority); }

void Device::SetInterruptLinkThreadPriority(unsigned int priority) {
  impl_->SetInterruptLinkThreadPriority(priority);
}

void Device::SetInterruptQueueThreadPriority(unsigned int priority) {
  impl_->SetInterruptQueueThreadPriority(priority);
}

void Device::AcquisitionStop() {
  Log().info("<{}>", "AcquisitionStop");
  impl_->AcquisitionStop();
}

void Device::DisConnect() {
  Log().info("<{}>", "DisConnect");
  try {
    impl_->DisConnect();
  } catch (const quarx::ConnectException&) {
    throw;
  } catch (const std::exception& e) {
    throw ConnectExceptionImpl("DisConnect", __LINE__, ERR_DISCONNECT, e.what());
  }
}

}  // namespace quarx::core
