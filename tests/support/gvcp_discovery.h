#pragma once
// A raw GigE Vision discovery for tests: sends DISCOVERY_CMD from a loopback address and
// decodes every acknowledge, field by field, independent of the code under test.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace quarx::test {

struct DiscoveryAnswer {
  std::string sender;  // UDP source address of the acknowledge
  std::uint32_t gvVersion = 0;
  std::uint32_t deviceMode = 0;
  std::string mac;  // lower-case, colon-separated
  std::string ip;
  std::string subnetMask;
  std::string gateway;
  std::string vendor;
  std::string model;
  std::string version;
  std::string manufacturerInfo;
  std::string serial;
  std::string userName;
};

// Sends one DISCOVERY_CMD from `from` (a local address) to `to` (a camera's address or
// 255.255.255.255) and collects the acknowledges that arrive within `wait`. Call it only
// inside a loopback-only network namespace.
std::vector<DiscoveryAnswer> DiscoverCameras(const std::string& from, const std::string& to,
                                             std::chrono::milliseconds wait);

}  // namespace quarx::test
