#pragma once
// The discovery side of a GigE Vision camera for tests: answers every DISCOVERY_CMD on port 3956
// with scripted datagrams, either back to the asker or, as a camera outside every subnet of the
// host does, to 255.255.255.255. Only inside a loopback-only network namespace.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace quarx::test {

// What a camera announces; the fields it leaves out stay zero.
struct DiscoveryAnswer {
  std::string mac;  // lower-case, colon-separated
  std::string ip, vendor, model, version, serial, userName;
};

// A full DISCOVERY_ACK carrying `identity` for `requestId`.
std::vector<std::uint8_t> EncodeDiscoveryAck(const DiscoveryAnswer& identity, std::uint16_t requestId);

class GvcpResponder {
 public:
  enum class ReplyTo { Sender, Broadcast };
  // The datagrams to send, in order, for one command with the given request id.
  using Script = std::function<std::vector<std::vector<std::uint8_t>>(std::uint16_t requestId)>;

  // A flooding responder sends the script's datagrams again and again after a command, until
  // the next command comes or it ends.
  GvcpResponder(Script script, ReplyTo replyTo, bool flood = false);
  ~GvcpResponder();
  GvcpResponder(const GvcpResponder&) = delete;
  GvcpResponder& operator=(const GvcpResponder&) = delete;

  // False when the port could not be bound: nothing will answer.
  bool Bound() const { return bound_; }

 private:
  void Serve();

  Script script_;
  ReplyTo replyTo_;
  bool flood_;
  int fd_ = -1;
  bool bound_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Sends one DISCOVERY_CMD from 127.0.0.1 to `address` and tells whether an acknowledge arrives
// within `wait`.
bool AnswersDiscovery(const std::string& address, std::chrono::milliseconds wait);

}  // namespace quarx::test
