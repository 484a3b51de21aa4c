// Reads a host interface of the SDK.
#include "sdkadaptor/src/host_interface.h"

#include "camerasdk/PvInterface.h"

namespace quarx::sdkadaptor {

HostInterface::HostInterface(const PvInterface* host_interface) : host_interface_(host_interface) {}

std::wstring HostInterface::GetDisplayId() const {
  return host_interface_ == nullptr ? std::wstring() : host_interface_->GetDisplayID().GetUnicode();
}

std::wstring HostInterface::GetName() const {
  return host_interface_ == nullptr ? std::wstring() : host_interface_->GetName().GetUnicode();
}

std::string HostInterface::GetUniqueId() const {
  return host_interface_ == nullptr ? std::string() : host_interface_->GetUniqueID().GetAscii();
}

}  // namespace quarx::sdkadaptor
