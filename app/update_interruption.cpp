// The signal handler only records the request (a lock-free atomic) and hands SIGINT and SIGTERM
// back to their default action, so that a second one ends the tool at once; SIGHUP it ignores.
#include "app/update_interruption.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>

#include <fmt/format.h>

#include "util/quarxlog.h"
#include "util/stop_request.h"

namespace fwupdate {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kSignalCount = std::size(kStopSignals);

// Written before the handler is installed and only read by it.
struct sigaction previousActions[kSignalCount];
bool handled[kSignalCount];

struct sigaction previousPipeAction;

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "unknown";
  }
}

extern "C" void OnStopSignal(int signal) {
  const int savedErrno = errno;
  quarx::util::RequestStop(signal);
  // A second hang-up is the same hang-up (the kernel's and the shell's), not an insistence.
  struct sigaction afterwards {};
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (handled[i]) {
      afterwards.sa_handler = kStopSignals[i] == SIGHUP ? SIG_IGN : SIG_DFL;
      sigaction(kStopSignals[i], &afterwards, nullptr);
    }
  }
  errno = savedErrno;
}

}  // namespace

UpdateInterrupted::UpdateInterrupted(int signal, const std::string& step)
    : std::runtime_error(fmt::format("Update interrupted by signal {} in step : {}", SignalName(signal), step)),
      signal_(signal) {}

UpdateInterruption::UpdateInterruption() {
  quarx::util::ClearStopRequest();
  watcher_ = std::thread([this] { Watch(); });
  struct sigaction onStop {};
  onStop.sa_handler = &OnStopSignal;
  sigemptyset(&onStop.sa_mask);
  // Calls in progress go on: the update notices the request at its next safe point.
  onStop.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    handled[i] = false;
    if (sigaction(kStopSignals[i], nullptr, &previousActions[i]) != 0 || previousActions[i].sa_handler == SIG_IGN) {
      continue;
    }
    handled[i] = true;
    sigaction(kStopSignals[i], &onStop, nullptr);
  }
  // A write to a reader that went away fails instead; the output is then lost, which the exit
  // status reports, and the update goes on to its end.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previousPipeAction);
}

UpdateInterruption::~UpdateInterruption() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
  }
  ended_changed_.notify_all();
  watcher_.join();
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (handled[i]) {
      sigaction(kStopSignals[i], &previousActions[i], nullptr);
    }
  }
  sigaction(SIGPIPE, &previousPipeAction, nullptr);
}

void UpdateInterruption::ThrowIfRequested(const std::string& step) {
  const int signal = quarx::util::StopSignal();
  if (signal == 0) {
    return;
  }
  quarx::util::Log::GetInstance("").logger_->warn("Stop requested by signal {} in step : {}", SignalName(signal), step);
  throw UpdateInterrupted(signal, step);
}

void UpdateInterruption::Enter(const std::string& step) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  step_ = step;
}

void UpdateInterruption::Watch() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!ended_ && !quarx::util::StopRequested()) {
    ended_changed_.wait_for(lock, quarx::util::kStopCheckInterval);
  }
  // Counted from the camera's last answer as well: a slow camera that still answers is finishing
  // what it was asked, and the update closes its file once it has.
  const auto stopHeard = std::chrono::steady_clock::now();
  const auto silentUntil = [stopHeard] {
    return std::max(stopHeard, quarx::util::LastCameraAnswer()) + kStopLimit;
  };
  while (!ended_changed_.wait_until(lock, silentUntil(), [this] { return ended_; })) {
    if (std::chrono::steady_clock::now() >= silentUntil()) {
      EndWithoutTheCamera();
    }
  }
}

void UpdateInterruption::EndWithoutTheCamera() const {
  // The update is stuck in a request to a camera that no longer answers. The lock stays held to
  // the end, so the update, should it come free now, cannot report its own ending as well.
  const UpdateInterrupted interrupted(quarx::util::StopSignal(), step_);
  try {
    auto& log = *quarx::util::Log::GetInstance("").logger_;
    log.warn("The camera has not answered for {} ms since the stop request; ending without waiting for it",
             kStopLimit.count());
    fmt::print("\n Error : {} \n", interrupted.what());
    std::fflush(stdout);
    log.error("{}", interrupted.what());
  } catch (...) {
  }
  _exit(interrupted.ExitStatus());
}

}  // namespace fwupdate
