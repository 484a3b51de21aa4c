// The discovery round against a scripted responder on loopback: what it keeps of odd, repeated and
// malformed answers.
#include "camerasdk/gvcp_discovery.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/camera_namespace.h"

namespace camerasdk {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> AckTo(const std::uint8_t* request, std::uint8_t mac_last, std::uint32_t ip) {
  std::vector<std::uint8_t> d(kGvcpHeaderSize + kDiscoveryAckPayloadSize, 0);
  d[3] = 0x03;
  d[5] = 0xF8;
  d[6] = request[6];
  d[7] = request[7];
  std::uint8_t* p = d.data() + kGvcpHeaderSize;
  p[0x0A] = 0x02;
  p[0x0B] = 0x5e;
  p[0x0C] = 0xc1;
  p[0x0F] = mac_last;
  p[0x24] = static_cast<std::uint8_t>(ip >> 24);
  p[0x25] = static_cast<std::uint8_t>(ip >> 16);
  p[0x26] = static_cast<std::uint8_t>(ip >> 8);
  p[0x27] = static_cast<std::uint8_t>(ip);
  return d;
}

// Answers every DISCOVERY_CMD on port 3956 with junk, a stale ack, and then two cameras, the first
// one twice under different addresses.
class ScriptedResponder {
 public:
  ScriptedResponder() {
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(kGvcpPort);
    bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&any), sizeof(any)) == 0;
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedResponder() {
    stop_ = true;
    thread_.join();
    close(fd_);
  }
  bool Bound() const { return bound_; }

 private:
  void Serve() {
    pollfd pfd{fd_, POLLIN, 0};
    while (!stop_) {
      if (poll(&pfd, 1, 20) <= 0) {
        continue;
      }
      std::uint8_t request[64];
      sockaddr_in from{};
      socklen_t from_len = sizeof(from);
      const ssize_t got = recvfrom(fd_, request, sizeof(request), 0, reinterpret_cast<sockaddr*>(&from), &from_len);
      if (got != static_cast<ssize_t>(kGvcpHeaderSize) || request[0] != 0x42) {
        continue;
      }
      auto reply = [&](const std::vector<std::uint8_t>& d) {
        sendto(fd_, d.data(), d.size(), 0, reinterpret_cast<sockaddr*>(&from), from_len);
      };
      reply({0x00, 0x00, 0x00, 0x03});  // truncated
      std::uint8_t stale[kGvcpHeaderSize] = {0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(request[6] ^ 0xFF), request[7]};
      reply(AckTo(stale, 0x99, 0x0A000099));  // answers another request
      reply(AckTo(request, 0x01, 0x0A010203));
      reply(AckTo(request, 0x01, 0x0A010204));  // same camera again, other address: dropped
      reply(AckTo(request, 0x02, 0x0A010205));
    }
  }

  int fd_ = -1;
  bool bound_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A discovery round opened on every host address, with the scripted responder listening.
class GvcpDiscoveryCamera : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    responder_ = std::make_unique<ScriptedResponder>();
    ASSERT_TRUE(responder_->Bound());
    std::vector<HostAddress> hosts;
    ASSERT_TRUE(ListHostAddresses(hosts).IsOK());
    ASSERT_TRUE(gvcp_.Open(hosts).IsOK());
  }

  std::unique_ptr<ScriptedResponder> responder_;
  GvcpDiscovery gvcp_;
};

TEST_F(GvcpDiscoveryCamera, KeepsOneWellFormedAnswerPerMacWithTheAddressFromThePayload) {
  gvcp_.SendBroadcast(false);
  const auto start = Clock::now();
  const auto answers = gvcp_.Collect(start + std::chrono::milliseconds(200));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(200));
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(FormatMacAddress(answers[0].ack.mac_address), "02:5e:c1:00:00:01");
  EXPECT_EQ(FormatIPv4(answers[0].ack.ip_address), "10.1.2.3");
  EXPECT_EQ(FormatMacAddress(answers[1].ack.mac_address), "02:5e:c1:00:00:02");
  EXPECT_LT(answers[0].host_index, gvcp_.Hosts().size());
}

TEST_F(GvcpDiscoveryCamera, CollectStopsAtTheFirstAnswerItIsToldToWaitFor) {
  gvcp_.SendUnicast(0x7F000001);
  const auto start = Clock::now();
  const auto answers = gvcp_.Collect(start + std::chrono::seconds(5), [](const GvcpAnswer& answer) {
    return answer.ack.mac_address[5] == 0x02;
  });
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  ASSERT_EQ(answers.size(), 2u);
}

}  // namespace
}  // namespace camerasdk
