#pragma once
// The core's copy of the host interface a camera was discovered on.

#include <memory>
#include <string>

namespace quarx::sdkadaptor {
class InterfaceHostInterface;
}

namespace quarx::core {

class HostInfo {
 public:
  // Copies display id and unique id; an empty pointer leaves both empty.
  explicit HostInfo(const std::unique_ptr<quarx::sdkadaptor::InterfaceHostInterface>& host);

  std::wstring GetDisplayId() const { return display_id_; }
  // The host record keeps no address: both read empty.
  std::string GetIPAddress() const { return std::string(); }
  std::string GetMacAddress() const { return std::string(); }

 private:
  std::wstring display_id_;
  std::string unique_id_;
};

}  // namespace quarx::core
