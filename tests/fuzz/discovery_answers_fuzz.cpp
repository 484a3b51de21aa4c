// Fuzzes the collecting of one discovery round's answers: bytes 0-1 are the round's request id,
// the rest is cut into datagrams of an acknowledge's size. Whatever arrives, no camera (MAC, IP,
// serial number) is kept twice and at most three are, but for the one a lookup waits for (MAC ...:ee).
#include <algorithm>
#include <set>
#include <tuple>

#include "camerasdk/gvcp_discovery.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  constexpr std::size_t kLimit = 3, kDatagram = camerasdk::kGvcpHeaderSize + camerasdk::kDiscoveryAckPayloadSize;
  const auto wanted = [](const camerasdk::GvcpAnswer& answer) { return answer.ack.mac_address[5] == 0xEE; };
  camerasdk::DiscoveryAnswers answers(static_cast<std::uint16_t>(data[0] << 8 | data[1]), kLimit);
  std::set<std::tuple<std::array<std::uint8_t, 6>, std::uint32_t, std::string>> cameras;
  for (std::size_t at = 2; at < size; at += kDatagram) {
    if (answers.Offer(data + at, std::min(kDatagram, size - at), 0, wanted)) {
      const camerasdk::DiscoveryAck& ack = answers.Kept().back().ack;
      if ((answers.Kept().size() > kLimit && !wanted(answers.Kept().back())) ||
          !cameras.insert({ack.mac_address, ack.ip_address, ack.serial_number}).second) {
        __builtin_trap();
      }
    }
  }
  if (cameras.size() != answers.Kept().size()) __builtin_trap();
  return 0;
}
