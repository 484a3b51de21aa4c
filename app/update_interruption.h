#pragma once
// Ctrl-C (SIGINT), SIGTERM and a hang-up (SIGHUP) during an update: instead of killing the tool
// with the camera's file open and the camera in update mode, they stop the update at its next
// safe point.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace fwupdate {

// The update ended early on a signal; the tool exits with 128 + the signal, as shells report it.
class UpdateInterrupted : public std::runtime_error {
 public:
  UpdateInterrupted(int signal, const std::string& step);
  int ExitStatus() const { return kSignalExitBase + signal_; }

 private:
  static constexpr int kSignalExitBase = 128;
  int signal_;
};

// While it lives, SIGINT, SIGTERM and SIGHUP only ask for a stop (util/stop_request.h), which the
// layers below heed between two file-access transfers and in their waits. After the first one a
// second SIGINT or SIGTERM ends the tool at once, while SIGHUP is ignored from then on: a hang-up
// often comes twice (from the kernel and from the shell) and must not turn the stop into a kill.
// SIGPIPE is ignored too: a reader of the output that went away must not kill the tool while it
// writes to the camera. A signal ignored when the tool started stays ignored. One at a time.
//
// When it ends, SIGINT and SIGTERM get their old actions back, but SIGHUP is ignored and SIGPIPE
// stays ignored until ReleaseOutputSignals: the update's error line and the final flush of the
// output come later, and a hang-up or a reader gone by then must not turn the status the update
// ended with into 129 or 141.
//
// A camera that keeps answering is waited for, however slowly it works: its file is closed and
// its connection released. A request to a camera that no longer answers cannot be cut short:
// the camera library retries it for seconds, and the file close and disconnect after it would
// wait as long again. So once kStopLimit has passed since the later of the stop request and the
// camera's last answer, a watching thread ends the tool with the same error line and exit
// status, leaving the silent camera's file and connection as they are.
class UpdateInterruption {
 public:
  static constexpr std::chrono::milliseconds kStopLimit{750};

  UpdateInterruption();
  // Gives SIGINT and SIGTERM back the actions they had; SIGHUP and SIGPIPE stay ignored.
  ~UpdateInterruption();
  UpdateInterruption(const UpdateInterruption&) = delete;
  UpdateInterruption& operator=(const UpdateInterruption&) = delete;

  // Runs one stage of the update named by its progress text. When a stop has been asked for by
  // the time it ends, however it ends, throws UpdateInterrupted naming the stage.
  template <class Work>
  void Run(const std::string& step, const Work& work) const {
    Enter(step);
    try {
      work();
    } catch (...) {
      ThrowIfRequested(step);
      throw;
    }
    ThrowIfRequested(step);
  }

 private:
  void Enter(const std::string& step) const;
  static void ThrowIfRequested(const std::string& step);
  // The watching thread: waits for a stop, then for the update to end before the camera has
  // been silent for kStopLimit.
  void Watch();
  // Ends the tool with the stop's error line and status; called with the lock held.
  [[noreturn]] void EndWithoutTheCamera() const;

  mutable std::mutex mutex_;
  std::condition_variable ended_changed_;
  bool ended_ = false;
  mutable std::string step_;
  std::thread watcher_;
};

// Gives SIGHUP and SIGPIPE back the actions they had before the first UpdateInterruption; called
// once the tool has written its last, never while an interruption lives. Does nothing when no
// interruption took them.
void ReleaseOutputSignals();

}  // namespace fwupdate
