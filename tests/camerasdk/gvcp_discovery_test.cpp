// The GigE Vision discovery's protocol bytes: acknowledges kept or refused, and MAC texts.
#include "camerasdk/gvcp_discovery.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace camerasdk {
namespace {

constexpr std::uint16_t kRequestId = 0x1234;

void PutU32(std::vector<std::uint8_t>& d, std::size_t at, std::uint32_t v) {
  d[at] = static_cast<std::uint8_t>(v >> 24);
  d[at + 1] = static_cast<std::uint8_t>(v >> 16);
  d[at + 2] = static_cast<std::uint8_t>(v >> 8);
  d[at + 3] = static_cast<std::uint8_t>(v);
}

void PutText(std::vector<std::uint8_t>& d, std::size_t at, const std::string& text) {
  std::memcpy(d.data() + at, text.data(), text.size());
}

// A DISCOVERY_ACK as a camera sends it; register offsets are relative to the payload.
std::vector<std::uint8_t> Ack(std::uint16_t ack_id = kRequestId) {
  std::vector<std::uint8_t> d(kGvcpHeaderSize + kDiscoveryAckPayloadSize, 0);
  d[2] = 0x00;
  d[3] = 0x03;  // DISCOVERY_ACK
  d[4] = 0x00;
  d[5] = 0xF8;
  d[6] = static_cast<std::uint8_t>(ack_id >> 8);
  d[7] = static_cast<std::uint8_t>(ack_id);
  const std::size_t p = kGvcpHeaderSize;
  PutU32(d, p + 0x08, 0x0000025E);
  PutU32(d, p + 0x0C, 0xC1ABCDEF);
  PutText(d, p + 0xD8, "0123456789ABCDEF");  // serial: fills its 16 bytes, no NUL
  PutText(d, p + 0xE8, "user-name-16-chr");  // user name: likewise, and the last field of the payload
  return d;
}

// The fields the device list does not print come back from the emulated camera in the
// discovery camera test; here, texts that fill their field to the end without a NUL.
TEST(GvcpDiscovery, AckYieldsTextsThatFillTheirWholeField) {
  const auto d = Ack();
  const auto ack = ParseDiscoveryAck(d.data(), d.size(), kRequestId);
  ASSERT_TRUE(ack.has_value());
  EXPECT_EQ(FormatMacAddress(ack->mac_address), "02:5e:c1:ab:cd:ef");
  EXPECT_EQ(ack->serial_number, "0123456789ABCDEF");
  EXPECT_EQ(ack->user_defined_name, "user-name-16-chr");
}

TEST(GvcpDiscovery, RejectsWhatIsNotAFullSuccessfulAckToTheRequest) {
  struct Case {
    const char* what;
    std::size_t byte;
    std::uint8_t value;
  };
  const Case cases[] = {
      {"error status", 1, 0x01},
      {"another answer", 3, 0x09},
      {"payload length too short", 5, 0xF0},
      {"another request id", 7, 0x35},
  };
  for (const Case& c : cases) {
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
  longer[5] = 0x08;  // 0xF8 + 16
  longer[4] = 0x01;
  EXPECT_TRUE(ParseDiscoveryAck(longer.data(), longer.size(), kRequestId).has_value()) << "longer ack";
}

TEST(GvcpDiscovery, MacTextsParseInEitherCaseWithColonsOrDashes) {
  const std::array<std::uint8_t, 6> mac = {0x02, 0x5e, 0xc1, 0xab, 0xcd, 0xef};
  EXPECT_EQ(ParseMacAddress("02:5e:c1:ab:cd:ef"), mac);
  EXPECT_EQ(ParseMacAddress("02:5E:C1:AB:CD:EF"), mac);
  EXPECT_EQ(ParseMacAddress("02-5e-c1-ab-cd-ef"), mac);
  for (const char* bad : {"", "02:5e:c1:ab:cd", "02:5e:c1:ab:cd:eg", "02:5e:c1:ab:cd:ef:", "025e:c1:ab:cd:ef0",
                          "127.0.0.1"}) {
    EXPECT_FALSE(ParseMacAddress(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace camerasdk
