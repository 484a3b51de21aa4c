#pragma once
// Ctrl-C (SIGINT) and SIGTERM during an update: instead of killing the tool with the camera's
// file open and the camera in update mode, they stop the update at its next safe point.

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

// While it lives, SIGINT and SIGTERM only ask for a stop (util/stop_request.h), which the layers
// below heed between two file-access pieces and in their waits; a second signal ends the tool at
// once. A signal ignored when the tool started stays ignored. One at a time.
//
// A request to a camera that no longer answers cannot be cut short: the camera library retries
// it for seconds, and the file close and disconnect after it would wait as long again. So a stop
// that has not ended the update within kStopLimit ends the tool from a watching thread, with the
// same error line and exit status, leaving the silent camera's file and connection as they are.
class UpdateInterruption {
 public:
  static constexpr std::chrono::milliseconds kStopLimit{750};

  UpdateInterruption();
  // Gives the signals back the actions they had.
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
  // The watching thread: waits for a stop, then for the update to end within kStopLimit.
  void Watch();

  mutable std::mutex mutex_;
  std::condition_variable ended_changed_;
  bool ended_ = false;
  mutable std::string step_;
  std::thread watcher_;
};

}  // namespace fwupdate
