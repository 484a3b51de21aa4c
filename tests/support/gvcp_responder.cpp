// Written from the acknowledge layout alone (bootstrap registers 0x00-0xF7), independent of the
// code under test.
#include "tests/support/gvcp_responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

namespace quarx::test {
namespace {

constexpr std::uint16_t kGvcpPort = 3956;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kPayloadSize = 0xF8;
constexpr int kPollMs = 20;

// Cut to the field; a text that fills it goes without a NUL, as cameras send it.
void PutText(std::uint8_t* payload, std::size_t offset, std::size_t size, const std::string& text) {
  std::memcpy(payload + offset, text.data(), text.size() < size ? text.size() : size);
}

}  // namespace

std::vector<std::uint8_t> EncodeDiscoveryAck(const DiscoveryAnswer& identity, std::uint16_t requestId) {
  std::vector<std::uint8_t> datagram(kHeaderSize + kPayloadSize, 0);
  datagram[3] = 0x03;  // DISCOVERY_ACK, status success
  datagram[4] = static_cast<std::uint8_t>(kPayloadSize >> 8);
  datagram[5] = static_cast<std::uint8_t>(kPayloadSize & 0xFF);
  datagram[6] = static_cast<std::uint8_t>(requestId >> 8);
  datagram[7] = static_cast<std::uint8_t>(requestId & 0xFF);
  std::uint8_t* payload = datagram.data() + kHeaderSize;
  unsigned mac[6] = {};
  std::sscanf(identity.mac.c_str(), "%x:%x:%x:%x:%x:%x", &mac[0], &mac[1], &mac[2], &mac[3], &mac[4], &mac[5]);
  for (std::size_t i = 0; i < 6; ++i) {
    payload[0x0A + i] = static_cast<std::uint8_t>(mac[i]);
  }
  inet_pton(AF_INET, identity.ip.c_str(), payload + 0x24);  // in network byte order, as the acknowledge has it
  PutText(payload, 0x48, 32, identity.vendor);
  PutText(payload, 0x68, 32, identity.model);
  PutText(payload, 0x88, 32, identity.version);
  PutText(payload, 0xD8, 16, identity.serial);
  PutText(payload, 0xE8, 16, identity.userName);
  return datagram;
}

GvcpResponder::GvcpResponder(Script script, ReplyTo replyTo, bool flood)
    : script_(std::move(script)), replyTo_(replyTo), flood_(flood) {
  fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  // Without a device the kernel has no route for the limited broadcast: the namespace has no default route.
  setsockopt(fd_, SOL_SOCKET, SO_BINDTODEVICE, "lo", 3);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(kGvcpPort);
  bound_ = fd_ >= 0 && bind(fd_, reinterpret_cast<const sockaddr*>(&any), sizeof any) == 0;
  if (bound_) {
    thread_ = std::thread([this] { Serve(); });
  }
}

GvcpResponder::~GvcpResponder() {
  stop_ = true;
  if (thread_.joinable()) {
    thread_.join();
  }
  if (fd_ >= 0) {
    close(fd_);
  }
}

void GvcpResponder::Serve() {
  sockaddr_in to{};
  std::uint16_t requestId = 0;
  bool answering = false;  // a flood goes on between commands
  while (!stop_) {
    pollfd waiting{fd_, POLLIN, 0};
    std::array<std::uint8_t, 64> command{};
    sockaddr_in from{};
    socklen_t size = sizeof from;
    if (poll(&waiting, 1, answering ? 0 : kPollMs) > 0 &&
        recvfrom(fd_, command.data(), command.size(), 0, reinterpret_cast<sockaddr*>(&from), &size) ==
            static_cast<ssize_t>(kHeaderSize) &&
        command[0] == 0x42 && command[3] == 0x02) {
      to = from;
      if (replyTo_ == ReplyTo::Broadcast) {
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
      }
      requestId = static_cast<std::uint16_t>(command[6] << 8 | command[7]);
      answering = true;
    }
    for (const auto& datagram : answering ? script_(requestId) : std::vector<std::vector<std::uint8_t>>{}) {
      sendto(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    answering = answering && flood_;
  }
}

bool AnswersDiscovery(const std::string& address, std::chrono::milliseconds wait) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(kGvcpPort);
  const std::array<std::uint8_t, 8> command = {0x42, 0x11, 0x00, 0x02, 0x00, 0x00, 0x12, 0x34};
  std::array<std::uint8_t, 1500> answer{};
  pollfd waiting{fd, POLLIN, 0};
  // A DISCOVERY_ACK: answer code 0x0003 after the status word.
  const bool answered =
      fd >= 0 && inet_pton(AF_INET, "127.0.0.1", &local.sin_addr) == 1 &&
      inet_pton(AF_INET, address.c_str(), &target.sin_addr) == 1 &&
      bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0 &&
      sendto(fd, command.data(), command.size(), 0, reinterpret_cast<const sockaddr*>(&target), sizeof target) > 0 &&
      poll(&waiting, 1, static_cast<int>(wait.count())) > 0 &&
      recv(fd, answer.data(), answer.size(), 0) >= static_cast<ssize_t>(kHeaderSize) && answer[3] == 0x03;
  close(fd);
  return answered;
}

}  // namespace quarx::test
