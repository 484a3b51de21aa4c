#pragma once
// Asks a camera on a loopback address, by a unicast GVCP discovery, whether it answers yet.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace quarx::emulator {

// True once a discovery acknowledge carrying `mac` comes back from `address` within `timeout`.
bool AnswersDiscovery(const std::string& address, const std::vector<std::uint8_t>& mac,
                      std::chrono::milliseconds timeout);

}  // namespace quarx::emulator
