// fwcam-emulator: one emulated GigE Vision camera on a loopback address, until SIGTERM/SIGINT.
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "emulator/announce.h"
#include "emulator/camera_behaviour.h"
#include "emulator/discovery_probe.h"
#include "emulator/emulated_camera.h"
#include "emulator/emulator_options.h"
#include "emulator/network_guard.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitUnsafeNetwork = 3;
constexpr std::chrono::milliseconds kReadyTimeout{5000};

}  // namespace

int main(int argc, char** argv) {
  using namespace quarx::emulator;
  EmulatorOptions options;
  try {
    options = ParseEmulatorOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fwcam-emulator: %s\n%s", e.what(), EmulatorUsage().c_str());
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(EmulatorUsage().c_str(), stdout);
    return 0;
  }
  // The fake camera answers broadcast discovery: on a real network it would show up to every
  // camera tool around. Only a loopback-only namespace keeps it private.
  if (const std::string problem = NonLoopbackInterfaceProblem(); !problem.empty()) {
    std::fprintf(stderr,
                 "fwcam-emulator: refusing to start: %s. Run it inside a private loopback-only network "
                 "namespace (scripts/in-netns.sh).\n",
                 problem.c_str());
    return kExitUnsafeNetwork;
  }

  // Signals are taken by sigwait below; every thread started from here on inherits the mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  try {
    EmulatedCamera camera(options);
    camera.GoOnline();
    if (!AnswersDiscovery(options.address, MacBytes(options.mac), kReadyTimeout)) {
      throw std::runtime_error("the camera on " + options.address + " does not answer discovery");
    }
    CameraBehaviour behaviour(camera, options);
    behaviour.Start();
    Announce("ready " + options.address);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    behaviour.Stop();
    camera.GoOffline();
    Announce("stopped " + options.address);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fwcam-emulator: %s\n", e.what());
    return kExitFailure;
  }
  return 0;
}
