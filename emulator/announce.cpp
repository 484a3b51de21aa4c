// One mutex keeps the lines of different threads whole.
#include "emulator/announce.h"

#include <cstdio>
#include <mutex>

namespace quarx::emulator {

void Announce(const std::string& text) {
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  std::fprintf(stdout, "fwcam-emulator %s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace quarx::emulator
