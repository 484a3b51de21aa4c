// The discovery round against a scripted responder on loopback: what it keeps of odd, repeated and
// malformed answers, whether they come back to the asking socket or by broadcast.
#include "camerasdk/gvcp_discovery.h"

#include <vector>

#include <gtest/gtest.h>

#include "tests/support/camera_namespace.h"
#include "tests/support/gvcp_responder.h"

namespace camerasdk {
namespace {

using Clock = std::chrono::steady_clock;
using quarx::test::GvcpResponder;

// Junk, a stale ack, and then two cameras, the first one twice alike (as on two host addresses).
std::vector<std::vector<std::uint8_t>> Script(std::uint16_t requestId) {
  const auto ack = [](const char* mac, const char* ip, std::uint16_t id) {
    return quarx::test::EncodeDiscoveryAck({mac, ip, "", "", "", "", ""}, id);
  };
  return {{0x00, 0x00, 0x00, 0x03},                                                               // truncated
          ack("02:5e:c1:00:00:99", "10.0.0.99", static_cast<std::uint16_t>(requestId ^ 0xFF00)),  // another request's
          ack("02:5e:c1:00:00:01", "10.1.2.3", requestId),
          ack("02:5e:c1:00:00:01", "10.1.2.3", requestId),  // same camera again: dropped
          ack("02:5e:c1:00:00:02", "10.1.2.5", requestId)};
}

// A discovery round opened on every host address, answered back to the asker and by broadcast.
TEST(GvcpDiscoveryCamera, KeepsOneWellFormedAnswerPerCameraWithTheAddressFromThePayload) {
  REQUIRE_CAMERA_NAMESPACE();
  for (const auto replyTo : {GvcpResponder::ReplyTo::Sender, GvcpResponder::ReplyTo::Broadcast}) {
    SCOPED_TRACE(replyTo == GvcpResponder::ReplyTo::Sender ? "to the asker" : "by broadcast");
    const GvcpResponder responder(Script, replyTo);
    ASSERT_TRUE(responder.Bound());
    std::vector<HostAddress> hosts;
    ASSERT_TRUE(ListHostAddresses(hosts).IsOK());
    GvcpDiscovery gvcp;
    ASSERT_TRUE(gvcp.Open(hosts).IsOK());
    gvcp.SendBroadcast(false);
    const auto start = Clock::now();
    const auto answers = gvcp.Collect(start + std::chrono::milliseconds(200));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(200));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(FormatMacAddress(answers[0].ack.mac_address), "02:5e:c1:00:00:01");
    EXPECT_EQ(FormatIPv4(answers[0].ack.ip_address), "10.1.2.3");
    EXPECT_EQ(FormatMacAddress(answers[1].ack.mac_address), "02:5e:c1:00:00:02");
    for (const GvcpAnswer& answer : answers) {
      ASSERT_LT(answer.host_index, gvcp.Hosts().size());
      EXPECT_EQ(gvcp.Hosts()[answer.host_index].interface_name, "lo");
    }
  }
}

}  // namespace
}  // namespace camerasdk
