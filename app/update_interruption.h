#pragma once
// Ctrl-C (SIGINT) and SIGTERM during an update: instead of killing the tool with the camera's
// file open and the camera in update mode, they stop the update at its next safe point.

#include <stdexcept>
#include <string>

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
class UpdateInterruption {
 public:
  UpdateInterruption();
  // Gives the signals back the actions they had.
  ~UpdateInterruption();
  UpdateInterruption(const UpdateInterruption&) = delete;
  UpdateInterruption& operator=(const UpdateInterruption&) = delete;

  // Runs one stage of the update named by its progress text. When a stop has been asked for by
  // the time it ends, however it ends, throws UpdateInterrupted naming the stage.
  template <class Work>
  void Run(const std::string& step, const Work& work) const {
    try {
      work();
    } catch (...) {
      ThrowIfRequested(step);
      throw;
    }
    ThrowIfRequested(step);
  }

 private:
  static void ThrowIfRequested(const std::string& step);
};

}  // namespace fwupdate
