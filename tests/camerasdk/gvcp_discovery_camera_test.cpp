// The discovery round against a scripted responder on loopback: what it keeps of odd, repeated and
// malformed answers, whether they come back to the asking socket or by broadcast.
#include "camerasdk/gvcp_discovery.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/camera_namespace.h"
#include "tests/support/gvcp_responder.h"

namespace camerasdk {
namespace {

using Clock = std::chrono::steady_clock;
using quarx::test::GvcpResponder;

quarx::test::DiscoveryAnswer Camera(const std::string& mac, const std::string& ip) {
  quarx::test::DiscoveryAnswer camera;
  camera.mac = mac;
  camera.ip = ip;
  return camera;
}

// Junk, a stale ack, and then two cameras, the first one twice under different addresses.
std::vector<std::vector<std::uint8_t>> Script(std::uint16_t requestId) {
  return {{0x00, 0x00, 0x00, 0x03},  // truncated
          EncodeDiscoveryAck(Camera("02:5e:c1:00:00:99", "10.0.0.99"), requestId ^ 0xFF00),  // another request's
          EncodeDiscoveryAck(Camera("02:5e:c1:00:00:01", "10.1.2.3"), requestId),
          EncodeDiscoveryAck(Camera("02:5e:c1:00:00:01", "10.1.2.4"), requestId),  // same camera again: dropped
          EncodeDiscoveryAck(Camera("02:5e:c1:00:00:02", "10.1.2.5"), requestId)};
}

// A discovery round opened on every host address, with the scripted responder listening.
class GvcpDiscoveryCamera : public ::testing::TestWithParam<GvcpResponder::ReplyTo> {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    responder_ = std::make_unique<GvcpResponder>(Script, GetParam());
    ASSERT_TRUE(responder_->Bound());
    std::vector<HostAddress> hosts;
    ASSERT_TRUE(ListHostAddresses(hosts).IsOK());
    ASSERT_TRUE(gvcp_.Open(hosts).IsOK());
  }

  std::unique_ptr<GvcpResponder> responder_;
  GvcpDiscovery gvcp_;
};

TEST_P(GvcpDiscoveryCamera, KeepsOneWellFormedAnswerPerMacWithTheAddressFromThePayload) {
  gvcp_.SendBroadcast(false);
  const auto start = Clock::now();
  const auto answers = gvcp_.Collect(start + std::chrono::milliseconds(200));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(200));
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(FormatMacAddress(answers[0].ack.mac_address), "02:5e:c1:00:00:01");
  EXPECT_EQ(FormatIPv4(answers[0].ack.ip_address), "10.1.2.3");
  EXPECT_EQ(FormatMacAddress(answers[1].ack.mac_address), "02:5e:c1:00:00:02");
  for (const GvcpAnswer& answer : answers) {
    ASSERT_LT(answer.host_index, gvcp_.Hosts().size());
    EXPECT_EQ(gvcp_.Hosts()[answer.host_index].interface_name, "lo");
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, GvcpDiscoveryCamera,
                         ::testing::Values(GvcpResponder::ReplyTo::Sender, GvcpResponder::ReplyTo::Broadcast),
                         [](const auto& info) {
                           return info.param == GvcpResponder::ReplyTo::Sender ? "ToTheAsker" : "ByBroadcast";
                         });

}  // namespace
}  // namespace camerasdk
