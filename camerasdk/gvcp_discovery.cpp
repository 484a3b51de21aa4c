// GVCP discovery over plain UDP sockets: the protocol bytes and the socket round.
#include "camerasdk/gvcp_discovery.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "camerasdk/padded_text.h"
#include "util/quarxlog.h"
#include "util/stop_request.h"

namespace camerasdk {
namespace {

constexpr std::uint8_t kGvcpKey = 0x42;
// Acknowledge required, and the camera may answer by broadcast when it sits on another subnet.
constexpr std::uint8_t kDiscoveryFlags = 0x11;
constexpr std::uint16_t kDiscoveryCmd = 0x0002;
constexpr std::uint16_t kDiscoveryAck = 0x0003;
constexpr std::uint16_t kStatusSuccess = 0x0000;
constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFF;
constexpr std::size_t kMaxDatagram = 1500;
constexpr long long kNanosPerSecond = 1000000000LL;

std::uint16_t ReadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

std::uint32_t ReadU32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

std::uint16_t NextRequestId() {
  static std::atomic<std::uint16_t> next{1};
  std::uint16_t id = next.fetch_add(1);
  if (id == 0) {  // 0 is not a valid request id
    id = next.fetch_add(1);
  }
  return id;
}

int HexValue(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (std::isdigit(u) != 0) {
    return c - '0';
  }
  const int lower = std::tolower(u);
  return (lower >= 'a' && lower <= 'f') ? lower - 'a' + 10 : -1;
}

// One datagram and the index of the interface it arrived on (0 when the kernel does not say).
ssize_t Receive(int fd, std::array<std::uint8_t, kMaxDatagram>& buffer, unsigned& interface_index) {
  iovec data{buffer.data(), buffer.size()};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
  msghdr message{};
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof(control);
  const ssize_t got = recvmsg(fd, &message, 0);
  for (cmsghdr* c = got < 0 ? nullptr : CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      in_pktinfo info{};
      std::memcpy(&info, CMSG_DATA(c), sizeof(info));
      interface_index = static_cast<unsigned>(info.ipi_ifindex);
    }
  }
  return got;
}

}  // namespace

std::array<std::uint8_t, kGvcpHeaderSize> BuildDiscoveryCommand(std::uint16_t request_id) {
  return {kGvcpKey,
          kDiscoveryFlags,
          static_cast<std::uint8_t>(kDiscoveryCmd >> 8),
          static_cast<std::uint8_t>(kDiscoveryCmd & 0xFF),
          0,
          0,  // no payload
          static_cast<std::uint8_t>(request_id >> 8),
          static_cast<std::uint8_t>(request_id & 0xFF)};
}

std::optional<DiscoveryAck> ParseDiscoveryAck(const std::uint8_t* data, std::size_t size, std::uint16_t request_id) {
  if (data == nullptr || size < kGvcpHeaderSize + kDiscoveryAckPayloadSize) {
    return std::nullopt;
  }
  if (ReadU16(data) != kStatusSuccess || ReadU16(data + 2) != kDiscoveryAck ||
      ReadU16(data + 4) < kDiscoveryAckPayloadSize || ReadU16(data + 6) != request_id) {
    return std::nullopt;
  }
  const std::uint8_t* p = data + kGvcpHeaderSize;
  DiscoveryAck ack;
  ack.version_major = ReadU16(p + kRegVersion);
  ack.version_minor = ReadU16(p + kRegVersion + 2);
  ack.device_mode = ReadU32(p + kRegDeviceMode);
  ack.mac_address = {p[kRegMacHigh + 2], p[kRegMacHigh + 3], p[kRegMacLow],
                     p[kRegMacLow + 1],  p[kRegMacLow + 2],  p[kRegMacLow + 3]};
  ack.ip_config_options = ReadU32(p + kRegIpConfigOptions);
  ack.ip_config_current = ReadU32(p + kRegIpConfigCurrent);
  ack.ip_address = ReadU32(p + kRegCurrentIp);
  ack.subnet_mask = ReadU32(p + kRegSubnetMask);
  ack.default_gateway = ReadU32(p + kRegDefaultGateway);
  ack.manufacturer_name = ReadPaddedText(p + kRegManufacturerName, kLenManufacturerName);
  ack.model_name = ReadPaddedText(p + kRegModelName, kLenModelName);
  ack.device_version = ReadPaddedText(p + kRegDeviceVersion, kLenDeviceVersion);
  ack.manufacturer_info = ReadPaddedText(p + kRegManufacturerInfo, kLenManufacturerInfo);
  ack.serial_number = ReadPaddedText(p + kRegSerialNumber, kLenSerialNumber);
  ack.user_defined_name = ReadPaddedText(p + kRegUserDefinedName, kLenUserDefinedName);
  return ack;
}

std::string FormatMacAddress(const std::array<std::uint8_t, 6>& mac) {
  char text[18];
  std::snprintf(text, sizeof(text), "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4],
                mac[5]);
  return text;
}

std::string FormatIPv4(std::uint32_t address) {
  char text[INET_ADDRSTRLEN];
  const in_addr in{htonl(address)};
  return inet_ntop(AF_INET, &in, text, sizeof(text)) == nullptr ? std::string() : std::string(text);
}

std::optional<std::array<std::uint8_t, 6>> ParseMacAddress(const std::string& text) {
  constexpr std::size_t kMacTextLength = 17;
  if (text.size() != kMacTextLength) {
    return std::nullopt;
  }
  std::array<std::uint8_t, 6> mac{};
  for (std::size_t i = 0; i < mac.size(); ++i) {
    const std::size_t at = i * 3;
    const int high = HexValue(text[at]);
    const int low = HexValue(text[at + 1]);
    if (high < 0 || low < 0 || (i + 1 < mac.size() && text[at + 2] != ':' && text[at + 2] != '-')) {
      return std::nullopt;
    }
    mac[i] = static_cast<std::uint8_t>((high << 4) | low);
  }
  return mac;
}

std::optional<std::uint32_t> ParseIPv4(const std::string& text) {
  in_addr in{};
  if (inet_pton(AF_INET, text.c_str(), &in) != 1) {
    return std::nullopt;
  }
  return ntohl(in.s_addr);
}

PvResult ListHostAddresses(std::vector<HostAddress>& addresses) {
  addresses.clear();
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    return PvResult(PvResult::Code::GENERIC_ERROR, 0,
                    std::string("Cannot list the host's network interfaces: ") + std::strerror(errno));
  }
  for (const ifaddrs* it = list; it != nullptr; it = it->ifa_next) {
    if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET || (it->ifa_flags & IFF_UP) == 0) {
      continue;
    }
    HostAddress host;
    host.interface_name = it->ifa_name == nullptr ? "" : it->ifa_name;
    // An address label ("eth0:1") names its interface before the colon.
    host.interface_index = if_nametoindex(host.interface_name.substr(0, host.interface_name.find(':')).c_str());
    host.address = ntohl(reinterpret_cast<const sockaddr_in*>(it->ifa_addr)->sin_addr.s_addr);
    if (it->ifa_netmask != nullptr) {
      host.netmask = ntohl(reinterpret_cast<const sockaddr_in*>(it->ifa_netmask)->sin_addr.s_addr);
    }
    addresses.push_back(host);
  }
  freeifaddrs(list);
  return PvResult();
}

GvcpDiscovery::GvcpDiscovery() : request_id_(NextRequestId()) {}

GvcpDiscovery::~GvcpDiscovery() {
  for (const int fd : sockets_) {
    close(fd);
  }
}

PvResult GvcpDiscovery::Open(const std::vector<HostAddress>& addresses) {
  std::string last_error;
  for (const HostAddress& host : addresses) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
      last_error = std::string("socket: ") + std::strerror(errno);
      continue;
    }
    const int on = 1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on)) != 0 ||
        setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof(on)) != 0 ||
        bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0) {
      last_error = "Cannot open a discovery socket for " + FormatIPv4(host.address) + ": " + std::strerror(errno);
      close(fd);
      continue;
    }
    hosts_.push_back(host);
    sockets_.push_back(fd);
  }
  if (!addresses.empty() && sockets_.empty()) {
    return PvResult(PvResult::Code::GENERIC_ERROR, 0, "No network interface usable for discovery: " + last_error);
  }
  return PvResult();
}

void GvcpDiscovery::SendFrom(std::size_t index, std::uint32_t target) {
  auto command = BuildDiscoveryCommand(request_id_);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(target);
  to.sin_port = htons(kGvcpPort);
  iovec data{command.data(), command.size()};
  // The source address picks the interface, also for 255.255.255.255, as a socket bound to the
  // address would; no interface is forced, so a unicast still follows the routes.
  in_pktinfo source{};
  source.ipi_spec_dst.s_addr = htonl(hosts_[index].address);
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
  msghdr message{};
  message.msg_name = &to;
  message.msg_namelen = sizeof(to);
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof(control);
  cmsghdr* header = CMSG_FIRSTHDR(&message);
  header->cmsg_level = IPPROTO_IP;
  header->cmsg_type = IP_PKTINFO;
  header->cmsg_len = CMSG_LEN(sizeof(source));
  std::memcpy(CMSG_DATA(header), &source, sizeof(source));
  // A send that fails (no route from this address) only means no camera answers here.
  (void)sendmsg(sockets_[index], &message, 0);
}

std::size_t GvcpDiscovery::HostArrivedOn(std::size_t index, unsigned interface_index) const {
  if (interface_index == 0 || hosts_[index].interface_index == interface_index) {
    return index;
  }
  for (std::size_t i = 0; i < hosts_.size(); ++i) {
    if (hosts_[i].interface_index == interface_index) {
      return i;
    }
  }
  return index;
}

void GvcpDiscovery::SendBroadcast(bool subnet_broadcast) {
  for (std::size_t i = 0; i < sockets_.size(); ++i) {
    SendFrom(i, kLimitedBroadcast);
    const HostAddress& host = hosts_[i];
    const std::uint32_t subnet = host.address | ~host.netmask;
    if (subnet_broadcast && host.netmask != 0 && subnet != kLimitedBroadcast) {
      SendFrom(i, subnet);
    }
  }
}

void GvcpDiscovery::SendUnicast(std::uint32_t target) {
  bool sent = false;
  for (std::size_t i = 0; i < sockets_.size(); ++i) {
    const HostAddress& host = hosts_[i];
    if ((host.address & host.netmask) == (target & host.netmask)) {
      SendFrom(i, target);
      sent = true;
    }
  }
  for (std::size_t i = 0; !sent && i < sockets_.size(); ++i) {
    SendFrom(i, target);
  }
}

DiscoveryAnswers::DiscoveryAnswers(std::uint16_t request_id, std::size_t limit)
    : request_id_(request_id), limit_(limit) {}

bool DiscoveryAnswers::Offer(const std::uint8_t* data, std::size_t size, std::size_t host_index) {
  std::optional<DiscoveryAck> ack = ParseDiscoveryAck(data, size, request_id_);
  if (!ack) {
    return false;
  }
  CameraIdentity identity{ack->mac_address, ack->ip_address, ack->serial_number};
  if (seen_.count(identity) != 0) {
    return false;
  }
  if (kept_.size() >= limit_) {
    ++dropped_;
    return false;
  }
  seen_.insert(std::move(identity));
  kept_.push_back(GvcpAnswer{std::move(*ack), host_index});
  return true;
}

std::vector<GvcpAnswer> GvcpDiscovery::Collect(std::chrono::steady_clock::time_point deadline,
                                               const std::function<bool(const GvcpAnswer&)>& done) {
  DiscoveryAnswers answers(request_id_);
  std::vector<pollfd> fds;
  for (const int fd : sockets_) {
    fds.push_back(pollfd{fd, POLLIN, 0});
  }
  std::array<std::uint8_t, kMaxDatagram> buffer{};
  // Ends at the deadline or on a stop request, whatever keeps arriving: each datagram read is
  // followed by a look at both.
  const auto over = [&deadline] {
    return quarx::util::StopRequested() || std::chrono::steady_clock::now() >= deadline;
  };
  bool finished = false;
  while (!finished && !over()) {
    const auto left = std::min<std::chrono::steady_clock::duration>(deadline - std::chrono::steady_clock::now(),
                                                                    quarx::util::kStopCheckInterval);
    const long long left_ns = std::max<long long>(0, std::chrono::nanoseconds(left).count());
    timespec wait{static_cast<time_t>(left_ns / kNanosPerSecond), static_cast<long>(left_ns % kNanosPerSecond)};
    const int ready = ppoll(fds.data(), fds.size(), &wait, nullptr);
    if (ready < 0 && errno != EINTR) {
      break;  // polling itself failed: what arrived so far is the result
    }
    for (std::size_t i = 0; ready > 0 && !finished && i < fds.size(); ++i) {
      if ((fds[i].revents & POLLNVAL) != 0) {
        fds[i].fd = -1;  // ppoll skips negative descriptors
        continue;
      }
      while (fds[i].revents != 0 && !finished && !over()) {
        unsigned arrived_on = 0;
        const ssize_t got = Receive(fds[i].fd, buffer, arrived_on);
        if (got < 0) {
          break;  // drained (EAGAIN), or an ICMP error of an earlier send: nothing to read
        }
        finished = answers.Offer(buffer.data(), static_cast<std::size_t>(got), HostArrivedOn(i, arrived_on)) && done &&
                   done(answers.Kept().back());
      }
    }
  }
  if (answers.Dropped() != 0) {
    quarx::util::Log::GetInstance("").logger_->warn(
        "<{}> Kept the first {} cameras that answered; dropped the answers of {} more", "Collect",
        answers.Kept().size(), answers.Dropped());
  }
  return std::move(answers.Kept());
}

}  // namespace camerasdk
