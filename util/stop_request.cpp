// The stop request is one lock-free atomic: the only kind of shared state a signal handler may
// write while other threads (the camera SDK's among them) read it. The camera's last answer is
// one too, so that noting it costs a request next to nothing.
#include "util/stop_request.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace quarx::util {
namespace {

std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch lock-free atomics");
using Clock = std::chrono::steady_clock;
std::atomic<Clock::rep> lastCameraAnswer{0};
static_assert(std::atomic<Clock::rep>::is_always_lock_free, "noted on every request: no lock");

}  // namespace

void RequestStop(int signal) noexcept {
  int none = 0;
  stopSignal.compare_exchange_strong(none, signal);
}

int StopSignal() noexcept { return stopSignal.load(); }

bool StopRequested() noexcept { return StopSignal() != 0; }

void ClearStopRequest() noexcept { stopSignal.store(0); }

void NoteCameraAnswer() noexcept { lastCameraAnswer.store(Clock::now().time_since_epoch().count()); }

Clock::time_point LastCameraAnswer() noexcept { return Clock::time_point(Clock::duration(lastCameraAnswer.load())); }

bool SleepUnlessStopped(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  for (;;) {
    if (StopRequested()) {
      return false;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) {
      return true;
    }
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(end - now, kStopCheckInterval));
  }
}

}  // namespace quarx::util
