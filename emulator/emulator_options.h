#pragma once
// The emulated camera's identity and behaviour knobs, as read from its command line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarx::emulator {

struct EmulatorOptions {
  // Identity, written into the bootstrap registers that the discovery acknowledge mirrors.
  std::string address;  // loopback IPv4 address the camera serves GVCP on
  std::string mac;      // "02:5e:c1:00:00:NN" by default, NN being the address's last byte
  std::string vendor = "Velmora";
  std::string model = "FWCAM-1";
  std::string version = "1.0.0";
  std::string serial;  // "EMU" and the address's last byte by default
  // What the feature "DeviceSerialNumber" reads, from a register of its own; unset: the feature
  // reads the bootstrap serial register, as discovery does.
  std::optional<std::string> serialFeature;
  std::string userName;
  std::string manufacturerInfo = "fwcam-emulator";
  std::string netmask = "255.0.0.0";
  std::string gateway = "0.0.0.0";

  // Behaviour.
  std::uint32_t installMs = 1000;
  std::uint32_t resetMs = 2000;
  std::optional<std::int32_t> sources;
  bool failOpen = false;
  bool failWrite = false;
  bool failClose = false;
  bool failInstall = false;
  bool neverDone = false;
  bool neverBack = false;
  // A camera that hangs mid-upload: 0 never, else the file size at which it stops once.
  std::uint32_t stallAfter = 0;
  // A camera that writes slowly (to flash, as it goes): each file Write completes this long
  // after it was executed, while GVCP keeps answering.
  std::uint32_t writeMs = 0;

  bool help = false;
};

// The MAC address as six bytes; the text has already been checked by ParseEmulatorOptions.
std::vector<std::uint8_t> MacBytes(const std::string& mac);

// Reads the command line; throws std::invalid_argument with a message naming the option
// and the value at fault.
EmulatorOptions ParseEmulatorOptions(const std::vector<std::string>& args);

std::string EmulatorUsage();

}  // namespace quarx::emulator
