#pragma once
// Starts emulated cameras (fwcam-emulator processes) for camera tests, waits until each one
// answers, and stops them again by process id. Only inside a loopback-only network namespace.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace quarx::test {

// Identity and behaviour of one emulated camera. Empty texts keep the emulator's defaults
// (model "FWCAM-1", version "1.0.0", serial "EMUNNN", empty user name, MAC 02:5e:c1:00:00:NN
// with NN the last byte of the address); other options go in `extraArguments`.
struct EmulatedCameraSpec {
  std::string address = "127.0.0.2";  // 127.0.0.2 ... 127.0.0.9 exist in the test namespace
  std::string mac, model, version, serial, userName;
  std::uint32_t installMs = 100;  // short, so that tests stay fast
  std::uint32_t resetMs = 200;
  bool neverDone = false, neverBack = false;
  std::vector<std::string> extraArguments;
};

// Make it on the thread that outlives the cameras (a test's own thread): the kernel ends a
// camera when the thread that started it ends, so that none outlives a crashed test.
class EmulatorLauncher {
 public:
  // Starts every camera and waits (bounded) for each one's ready line. Throws
  // std::runtime_error, with what the emulator printed, when one fails to come up.
  explicit EmulatorLauncher(std::vector<EmulatedCameraSpec> cameras);
  ~EmulatorLauncher();
  EmulatorLauncher(const EmulatorLauncher&) = delete;
  EmulatorLauncher& operator=(const EmulatorLauncher&) = delete;

  // The process id, or 0 once stopped.
  pid_t Pid(std::size_t index) const;
  // Stops the camera if it runs and starts it again with `spec`.
  void Restart(std::size_t index, EmulatedCameraSpec spec);
  // Everything the camera's process has printed so far, also once it is stopped.
  std::string Output(std::size_t index) const;
  // False when the output does not contain `text` within `timeout` or the camera ends without.
  bool WaitForOutput(std::size_t index, const std::string& text, std::chrono::milliseconds timeout) const;

 private:
  struct Camera {
    EmulatedCameraSpec spec;
    pid_t pid = 0;
    int output = -1;  // memory file that standard output and error both write to
  };
  void Start(std::size_t index);
  // SIGTERM, then SIGKILL when the camera has not ended within 3 s.
  void Stop(std::size_t index);
  void StopAll();

  std::vector<Camera> cameras_;
};

}  // namespace quarx::test
