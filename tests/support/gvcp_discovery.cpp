// Decodes the acknowledge payload, which mirrors the bootstrap registers 0x00-0xF7.
#include "tests/support/gvcp_discovery.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace quarx::test {
namespace {

constexpr std::uint16_t kGvcpPort = 3956;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kPayloadSize = 0xF8;
constexpr std::uint16_t kDiscoveryAck = 0x0003;

std::uint32_t Word(const std::uint8_t* payload, std::size_t offset) {
  return static_cast<std::uint32_t>(payload[offset]) << 24 | static_cast<std::uint32_t>(payload[offset + 1]) << 16 |
         static_cast<std::uint32_t>(payload[offset + 2]) << 8 | payload[offset + 3];
}

std::string Ip(std::uint32_t value) {
  in_addr address{};
  address.s_addr = htonl(value);
  char text[INET_ADDRSTRLEN];
  inet_ntop(AF_INET, &address, text, sizeof text);
  return text;
}

// NUL-padded, possibly filling the whole field without a NUL.
std::string Text(const std::uint8_t* payload, std::size_t offset, std::size_t size) {
  const char* start = reinterpret_cast<const char*>(payload + offset);
  return std::string(start, strnlen(start, size));
}

DiscoveryAnswer Decode(const std::uint8_t* payload) {
  DiscoveryAnswer answer;
  answer.gvVersion = Word(payload, 0x00);
  answer.deviceMode = Word(payload, 0x04);
  char mac[32];
  std::snprintf(mac, sizeof mac, "%02x:%02x:%02x:%02x:%02x:%02x", payload[0x0A], payload[0x0B], payload[0x0C],
                payload[0x0D], payload[0x0E], payload[0x0F]);
  answer.mac = mac;
  answer.ip = Ip(Word(payload, 0x24));
  answer.subnetMask = Ip(Word(payload, 0x34));
  answer.gateway = Ip(Word(payload, 0x44));
  answer.vendor = Text(payload, 0x48, 32);
  answer.model = Text(payload, 0x68, 32);
  answer.version = Text(payload, 0x88, 32);
  answer.manufacturerInfo = Text(payload, 0xA8, 48);
  answer.serial = Text(payload, 0xD8, 16);
  answer.userName = Text(payload, 0xE8, 16);
  return answer;
}

}  // namespace

std::vector<DiscoveryAnswer> DiscoverCameras(const std::string& from, const std::string& to,
                                             std::chrono::milliseconds wait) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    throw std::runtime_error(std::string("discovery socket: ") + std::strerror(errno));
  }
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(kGvcpPort);
  if (inet_pton(AF_INET, from.c_str(), &local.sin_addr) != 1 || inet_pton(AF_INET, to.c_str(), &target.sin_addr) != 1 ||
      bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    const std::string reason = std::strerror(errno);
    close(fd);
    throw std::runtime_error("discovery from " + from + " to " + to + ": " + reason);
  }
  const std::array<std::uint8_t, 8> command = {0x42, 0x11, 0x00, 0x02, 0x00, 0x00, 0x12, 0x34};
  sendto(fd, command.data(), command.size(), 0, reinterpret_cast<const sockaddr*>(&target), sizeof target);

  std::vector<DiscoveryAnswer> answers;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd waiting{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
      break;
    }
    std::array<std::uint8_t, 1500> packet{};
    sockaddr_in sender{};
    socklen_t senderSize = sizeof sender;
    const ssize_t size =
        recvfrom(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&sender), &senderSize);
    const auto answerCode = static_cast<std::uint16_t>(packet[2] << 8 | packet[3]);
    if (size < static_cast<ssize_t>(kHeaderSize + kPayloadSize) || answerCode != kDiscoveryAck) {
      continue;
    }
    DiscoveryAnswer answer = Decode(packet.data() + kHeaderSize);
    answer.sender = Ip(ntohl(sender.sin_addr.s_addr));
    answers.push_back(answer);
  }
  close(fd);
  return answers;
}

}  // namespace quarx::test
