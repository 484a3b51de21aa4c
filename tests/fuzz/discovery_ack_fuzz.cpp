// Fuzzes the parser of GigE Vision discovery acknowledges: any datagram from the network. The
// first two bytes are the request id the answer has to carry, the rest is the datagram.
#include "camerasdk/gvcp_discovery.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const auto requestId = static_cast<std::uint16_t>(data[0] << 8 | data[1]);
  const auto ack = camerasdk::ParseDiscoveryAck(data + 2, size - 2, requestId);
  if (ack) {
    camerasdk::FormatMacAddress(ack->mac_address);
    camerasdk::FormatIPv4(ack->ip_address);
  }
  return 0;
}
