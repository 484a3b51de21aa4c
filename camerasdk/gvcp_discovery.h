#pragma once
// GigE Vision discovery of our own: DISCOVERY_CMD out of every host address, DISCOVERY_ACKs back,
// whether a camera answers the asking address or, from outside the host's subnets, by broadcast.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "camerasdk/PvResult.h"
#include "camerasdk/gev_registers.h"

namespace camerasdk {

constexpr std::size_t kGvcpHeaderSize = 8;
constexpr std::size_t kDiscoveryAckPayloadSize = 0xF8;  // mirrors bootstrap registers 0x00-0xF7

// Every field of a DISCOVERY_ACK payload. Numbers in host byte order; texts without NUL padding.
struct DiscoveryAck {
  std::uint16_t version_major = 0;
  std::uint16_t version_minor = 0;
  std::uint32_t device_mode = 0;
  std::array<std::uint8_t, 6> mac_address{};
  std::uint32_t ip_config_options = 0;
  std::uint32_t ip_config_current = 0;
  std::uint32_t ip_address = 0;
  std::uint32_t subnet_mask = 0;
  std::uint32_t default_gateway = 0;
  std::string manufacturer_name;
  std::string model_name;
  std::string device_version;
  std::string manufacturer_info;
  std::string serial_number;
  std::string user_defined_name;
};

std::array<std::uint8_t, kGvcpHeaderSize> BuildDiscoveryCommand(std::uint16_t request_id);
// Empty when the datagram is not a successful DISCOVERY_ACK of full size answering request_id.
std::optional<DiscoveryAck> ParseDiscoveryAck(const std::uint8_t* data, std::size_t size, std::uint16_t request_id);
// "02:5e:c1:12:34:56": lower case, colon-separated, the form MAC addresses are compared in.
std::string FormatMacAddress(const std::array<std::uint8_t, 6>& mac);
std::string FormatIPv4(std::uint32_t address);
// Accepts colon- or dash-separated hexadecimal in either case; empty when the text is no MAC address.
std::optional<std::array<std::uint8_t, 6>> ParseMacAddress(const std::string& text);
std::optional<std::uint32_t> ParseIPv4(const std::string& text);

// One IPv4 address of a host interface that is up.
struct HostAddress {
  std::string interface_name;
  unsigned interface_index = 0;  // 0 when unknown
  std::uint32_t address = 0;
  std::uint32_t netmask = 0;
};

PvResult ListHostAddresses(std::vector<HostAddress>& addresses);

struct GvcpAnswer {
  DiscoveryAck ack;
  std::size_t host_index = 0;  // into GvcpDiscovery::Hosts(): where the answer arrived
};

// Cameras kept by one discovery at most: a flood of answers under made-up MAC addresses must not
// grow the tool's memory, time and output without bound.
constexpr std::size_t kMaxCamerasPerDiscovery = 4096;

// The answers of one discovery round as datagrams arrive: well-formed acknowledges of the round's
// request, one per camera (MAC address, IP address and serial number) in arrival order, at most
// `limit` of them.
class DiscoveryAnswers {
 public:
  explicit DiscoveryAnswers(std::uint16_t request_id, std::size_t limit = kMaxCamerasPerDiscovery);

  // True when the datagram is kept as a new camera's answer (then the last of Kept()).
  bool Offer(const std::uint8_t* data, std::size_t size, std::size_t host_index);
  std::vector<GvcpAnswer>& Kept() { return kept_; }
  // Well-formed answers of new cameras that found the limit reached.
  std::size_t Dropped() const { return dropped_; }

 private:
  std::uint16_t request_id_;
  std::size_t limit_;
  std::size_t dropped_ = 0;
  // What tells two answering cameras apart. One camera answers once per host address that reaches
  // it, always alike; two cameras may share a MAC address (a cloned configuration, a replaced
  // camera, a spoofing device), and the search after an update must see both of them.
  using CameraIdentity = std::tuple<std::array<std::uint8_t, 6>, std::uint32_t, std::string>;

  std::vector<GvcpAnswer> kept_;
  std::set<CameraIdentity> seen_;
};

// One discovery round, one socket per host address, open for the object's lifetime. Each socket
// sends from its address but is bound to the wildcard address on a port of its own: Linux
// delivers no broadcast to a socket bound to a unicast address, and a camera that answers by
// broadcast sends to the asking port, so the port still tells which command was answered.
class GvcpDiscovery {
 public:
  GvcpDiscovery();
  ~GvcpDiscovery();
  GvcpDiscovery(const GvcpDiscovery&) = delete;
  GvcpDiscovery& operator=(const GvcpDiscovery&) = delete;

  // Opens one socket per address; an address whose socket cannot be made is left out. Fails only
  // when addresses were given and none could be used.
  PvResult Open(const std::vector<HostAddress>& addresses);
  const std::vector<HostAddress>& Hosts() const { return hosts_; }

  // To 255.255.255.255 from every socket, and to each socket's subnet broadcast when asked.
  void SendBroadcast(bool subnet_broadcast);
  // To one camera, from the sockets on its subnet (from all when none is).
  void SendUnicast(std::uint32_t target);

  // Collects answers (see DiscoveryAnswers) until the deadline, however many datagrams arrive,
  // or until a stop is requested. Returns early once `done` accepts an answer just taken.
  std::vector<GvcpAnswer> Collect(std::chrono::steady_clock::time_point deadline,
                                  const std::function<bool(const GvcpAnswer&)>& done = nullptr);

 private:
  void SendFrom(std::size_t index, std::uint32_t target);
  // The host address of socket `index`'s round that lies on the interface an answer arrived on.
  std::size_t HostArrivedOn(std::size_t index, unsigned interface_index) const;

  std::vector<HostAddress> hosts_;
  std::vector<int> sockets_;
  std::uint16_t request_id_;
};

}  // namespace camerasdk
