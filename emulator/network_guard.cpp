// Lists the interfaces with getifaddrs, which also shows links that carry no address.
#include "emulator/network_guard.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <cerrno>
#include <cstring>

namespace quarx::emulator {

std::string NonLoopbackInterfaceProblem() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    return std::string("cannot list the network interfaces: ") + std::strerror(errno);
  }
  std::string problem;
  for (const ifaddrs* entry = list; entry != nullptr && problem.empty(); entry = entry->ifa_next) {
    const bool loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0 && std::strcmp(entry->ifa_name, "lo") == 0;
    if (!loopback) {
      problem = std::string("interface ") + entry->ifa_name + " is not loopback";
    }
  }
  freeifaddrs(list);
  return problem;
}

}  // namespace quarx::emulator
