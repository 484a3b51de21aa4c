// The GigE Vision discovery's protocol bytes: acknowledges kept or refused, and MAC texts.
#include "camerasdk/gvcp_discovery.h"

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/gvcp_responder.h"

namespace camerasdk {
namespace {

constexpr std::uint16_t kRequestId = 0x1234;

// Texts that fill their field to the end without a NUL are read through `fwupdate -l`.
std::vector<std::uint8_t> Ack() {
  return quarx::test::EncodeDiscoveryAck({"02:5e:c1:ab:cd:ef", "127.0.0.2", "", "", "", "", ""}, kRequestId);
}

TEST(GvcpDiscovery, RejectsWhatIsNotAFullSuccessfulAckToTheRequest) {
  const struct {
    const char* what;
    std::size_t byte;
    std::uint8_t value;
  } kCases[] = {
      {"error status", 1, 0x01},
      {"another answer", 3, 0x09},
      {"payload length too short", 5, 0xF0},
      {"another request id", 7, 0x35},
  };
  for (const auto& c : kCases) {
    auto d = Ack();
    d[c.byte] = c.value;
    EXPECT_FALSE(ParseDiscoveryAck(d.data(), d.size(), kRequestId).has_value()) << c.what;
  }
  const auto d = Ack();
  EXPECT_FALSE(ParseDiscoveryAck(d.data(), d.size() - 1, kRequestId).has_value()) << "truncated datagram";
  EXPECT_FALSE(ParseDiscoveryAck(d.data(), 0, kRequestId).has_value()) << "empty datagram";
  EXPECT_FALSE(ParseDiscoveryAck(nullptr, d.size(), kRequestId).has_value()) << "no data";
  auto longer = Ack();
  longer.resize(longer.size() + 16, 0xAA);
  longer[4] = 0x01;
  longer[5] = 0x08;  // 0xF8 + 16
  EXPECT_TRUE(ParseDiscoveryAck(longer.data(), longer.size(), kRequestId).has_value()) << "longer ack";
}

TEST(GvcpDiscovery, MacTextsParseInEitherCaseWithColonsOrDashes) {
  const std::array<std::uint8_t, 6> mac = {0x02, 0x5e, 0xc1, 0xab, 0xcd, 0xef};
  EXPECT_EQ(ParseMacAddress("02:5e:c1:ab:cd:ef"), mac);
  EXPECT_EQ(ParseMacAddress("02:5E:C1:AB:CD:EF"), mac);
  EXPECT_EQ(ParseMacAddress("02-5e-c1-ab-cd-ef"), mac);
  for (const char* bad :
       {"", "02:5e:c1:ab:cd", "02:5e:c1:ab:cd:eg", "02:5e:c1:ab:cd:ef:", "025e:c1:ab:cd:ef0", "127.0.0.1"}) {
    EXPECT_FALSE(ParseMacAddress(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace camerasdk
