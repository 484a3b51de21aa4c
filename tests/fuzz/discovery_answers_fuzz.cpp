// Fuzzes the collecting of one discovery round's answers: any run of datagrams from the network.
// Bytes 0-1 are the round's request id, byte 2 the number of cameras kept at most, then come the
// datagrams, each after its 2-byte length. Whatever arrives, no MAC address is kept twice and the
// limit holds, but for the camera a lookup waits for (here: MAC addresses ending in 0xEE).
#include <algorithm>
#include <set>

#include "camerasdk/gvcp_discovery.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const auto wanted = [](const camerasdk::GvcpAnswer& answer) { return answer.ack.mac_address[5] == 0xEE; };
  const std::size_t limit = data[2];
  camerasdk::DiscoveryAnswers answers(static_cast<std::uint16_t>(data[0] << 8 | data[1]), limit);
  for (std::size_t at = 3; at + 2 <= size;) {
    const std::size_t length = std::min<std::size_t>(data[at] << 8 | data[at + 1], size - at - 2);
    const std::size_t before = answers.Kept().size();
    const bool kept = answers.Offer(data + at + 2, length, 0, wanted);
    if (answers.Kept().size() != before + (kept ? 1 : 0) ||
        (kept && before >= limit && !wanted(answers.Kept().back()))) {
      __builtin_trap();
    }
    at += 2 + length;
  }
  std::set<std::array<std::uint8_t, 6>> macs;
  for (const camerasdk::GvcpAnswer& answer : answers.Kept()) {
    if (!macs.insert(answer.ack.mac_address).second) __builtin_trap();
  }
  return 0;
}
