#pragma once
// Gives life to the emulated camera: a thread that watches the command registers and carries
// out file operations, the firmware install and DeviceReset, as a camera's firmware would.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "emulator/emulated_camera.h"
#include "emulator/emulator_options.h"
#include "emulator/register_map.h"

namespace quarx::emulator {

class CameraBehaviour {
 public:
  // Borrows the camera, which must outlive this object and be online when Start is called.
  CameraBehaviour(EmulatedCamera& camera, const EmulatorOptions& options);
  ~CameraBehaviour();
  CameraBehaviour(const CameraBehaviour&) = delete;
  CameraBehaviour& operator=(const CameraBehaviour&) = delete;

  // Writes the registers' start values and starts the thread.
  void Start();
  // Ends the thread, also in the middle of a reset; the camera may be off the network then.
  void Stop();

 private:
  using Clock = std::chrono::steady_clock;

  struct File {
    std::vector<std::uint8_t> data;
    bool open = false;
    FileOpenMode mode = FileOpenMode::Read;
  };
  struct Outcome {
    FileOperationStatus status;
    std::uint32_t result;
    bool hung = false;  // the camera stalled in the operation and reports nothing of it
  };

  static Outcome Failure();

  void Run();
  // One look at the command registers; true when something was done.
  bool Poll();
  void InitialiseRegisters();

  void RunFileOperation();
  Outcome Open(FileId id, File& file);
  Outcome Close(FileId id, File& file);
  Outcome Read(File& file);
  Outcome Write(File& file);

  void StartInstall();
  void FinishInstall(bool succeeded, const std::string& detail);
  // The version the image in "Firmware" would install, or empty with `why` filled.
  std::string VersionFromImage(std::string& why) const;

  void Reset();
  // Sleeps, or returns false at once when Stop is called.
  bool SleepFor(std::chrono::milliseconds duration);
  bool Stopping();

  EmulatedCamera& camera_;
  const EmulatorOptions options_;
  std::array<File, kFileCount> files_;

  bool installing_ = false;
  Clock::time_point installEnd_;
  bool installWillSucceed_ = false;
  std::string installDetail_;  // the new version, or why the install fails
  bool stalled_ = false;

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace quarx::emulator
