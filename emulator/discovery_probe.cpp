// A GVCP DISCOVERY_CMD resent every few milliseconds until the acknowledge arrives.
#include "emulator/discovery_probe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>

#include "emulator/register_map.h"

namespace quarx::emulator {
namespace {

constexpr std::uint16_t kGvcpPort = 3956;
constexpr std::array<std::uint8_t, 8> kDiscoveryCmd = {0x42, 0x11, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01};
constexpr std::size_t kAckHeaderSize = 8;
constexpr std::uint16_t kAckStatusOk = 0x0000;
constexpr std::uint16_t kDiscoveryAck = 0x0003;
constexpr int kResendMs = 20;

class Socket {
 public:
  Socket() : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
  ~Socket() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

bool AnswersDiscovery(const std::string& address, const std::vector<std::uint8_t>& mac,
                      std::chrono::milliseconds timeout) {
  Socket socket;
  sockaddr_in camera{};
  camera.sin_family = AF_INET;
  camera.sin_port = htons(kGvcpPort);
  if (socket.fd() < 0 || inet_pton(AF_INET, address.c_str(), &camera.sin_addr) != 1) {
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    sendto(socket.fd(), kDiscoveryCmd.data(), kDiscoveryCmd.size(), 0, reinterpret_cast<const sockaddr*>(&camera),
           sizeof camera);
    pollfd waiting{socket.fd(), POLLIN, 0};
    while (poll(&waiting, 1, kResendMs) > 0) {
      std::array<std::uint8_t, 1024> answer{};
      const ssize_t size = recv(socket.fd(), answer.data(), answer.size(), 0);
      if (size < static_cast<ssize_t>(kAckHeaderSize + bootstrap::kDiscoveryDataSize)) {
        continue;
      }
      const std::uint8_t* payload = answer.data() + kAckHeaderSize;
      // MAC: 16 high bits in the low half of the word at 0x08, then the 32 low bits at 0x0C.
      const bool macMatches = std::memcmp(payload + bootstrap::kMacHigh + 2, mac.data(), 2) == 0 &&
                              std::memcmp(payload + bootstrap::kMacLow, mac.data() + 2, 4) == 0;
      const auto status = static_cast<std::uint16_t>(answer[0] << 8 | answer[1]);
      const auto command = static_cast<std::uint16_t>(answer[2] << 8 | answer[3]);
      if (status == kAckStatusOk && command == kDiscoveryAck && macMatches) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace quarx::emulator
