// getifaddrs lists every link, also those without an address, so a namespace that only
// holds "lo" is told apart from a host that merely has no addresses on its other links.
#include "tests/support/camera_namespace.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <cerrno>
#include <cstring>

namespace quarx::test {

std::string CameraNamespaceProblem() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    return std::string("cannot list the network interfaces (") + std::strerror(errno) + ")";
  }
  std::string problem;
  bool sawLoopback = false;
  for (const ifaddrs* entry = list; entry != nullptr && problem.empty(); entry = entry->ifa_next) {
    if ((entry->ifa_flags & IFF_LOOPBACK) != 0 && std::strcmp(entry->ifa_name, "lo") == 0) {
      sawLoopback = true;
    } else {
      problem = std::string("network interface ") + entry->ifa_name + " is not loopback";
    }
  }
  freeifaddrs(list);
  if (problem.empty() && !sawLoopback) {
    problem = "no loopback interface is up";
  }
  return problem;
}

}  // namespace quarx::test
