// The signal handler only records the request (a lock-free atomic) and hands SIGINT and SIGTERM
// back to their default action, so that a second one ends the tool at once; SIGHUP it ignores.
// SIGHUP's and SIGPIPE's old actions are kept past the interruption, until the tool's last write.
#include "app/update_interruption.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
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

// The handler may run on any thread, while an interruption begins or ends on another: what it
// reads must be lock-free atomic to be read there at all.
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler reads these flags");
std::atomic<bool> handled[kSignalCount];

// Not read by the handler. SIGHUP's and SIGPIPE's stay saved from the first interruption until
// ReleaseOutputSignals: a later update finds them ignored by the tool itself, not by whoever
// started it.
struct sigaction previousActions[kSignalCount];
struct sigaction previousPipeAction;
bool outputSignalsTaken = false;

bool HeldToTheLastWrite(int signal) { return signal == SIGHUP; }

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
    if (handled[i].load()) {
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
  // All flags are settled before the first handler is in place: it reads every one of them.
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (outputSignalsTaken && HeldToTheLastWrite(kStopSignals[i])) {
      continue;
    }
    handled[i] =
        sigaction(kStopSignals[i], nullptr, &previousActions[i]) == 0 && previousActions[i].sa_handler != SIG_IGN;
  }
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (handled[i].load()) {
      sigaction(kStopSignals[i], &onStop, nullptr);
    }
  }
  // A write to a reader that went away fails instead; the output is then lost, which the exit
  // status reports, and the update goes on to its end.
  if (!outputSignalsTaken) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previousPipeAction);
    outputSignalsTaken = true;
  }
}

UpdateInterruption::~UpdateInterruption() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
  }
  ended_changed_.notify_all();
  watcher_.join();
  // The error line and the final flush are still to come: a hang-up meanwhile is ignored rather
  // than a kill, and SIGPIPE stays ignored, until ReleaseOutputSignals.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (handled[i].load()) {
      sigaction(kStopSignals[i], HeldToTheLastWrite(kStopSignals[i]) ? &ignore : &previousActions[i], nullptr);
    }
  }
}

void ReleaseOutputSignals() {
  if (!outputSignalsTaken) {
    return;
  }
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (HeldToTheLastWrite(kStopSignals[i]) && handled[i].load()) {
      sigaction(kStopSignals[i], &previousActions[i], nullptr);
    }
  }
  sigaction(SIGPIPE, &previousPipeAction, nullptr);
  outputSignalsTaken = false;
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
