// Reads the emulator's command line and checks every value before anything is started.
#include "emulator/emulator_options.h"

#include <arpa/inet.h>

#include <cctype>
#include <cstdio>
#include <limits>
#include <map>
#include <stdexcept>

#include "emulator/register_map.h"

namespace quarx::emulator {
namespace {

constexpr int kMacBytes = 6;
// Loopback addresses are 127.0.0.0/8; the emulator never serves any other network.
constexpr std::uint32_t kLoopbackNet = 0x7F000000;
constexpr std::uint32_t kLoopbackMask = 0xFF000000;
// Limits that keep a knob from turning a test into a hang.
constexpr std::uint32_t kMaxDelayMs = 3600000;
constexpr std::int64_t kMaxStallAfter = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t kMinSources = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMaxSources = std::numeric_limits<std::int32_t>::max();

std::invalid_argument Bad(const std::string& option, const std::string& value, const std::string& why) {
  return std::invalid_argument("invalid value(" + value + ") for " + option + ": " + why);
}

std::uint32_t ParseIpv4(const std::string& option, const std::string& text) {
  in_addr address{};
  if (inet_pton(AF_INET, text.c_str(), &address) != 1) {
    throw Bad(option, text, "not a dotted IPv4 address");
  }
  return ntohl(address.s_addr);
}

std::int64_t ParseInteger(const std::string& option, const std::string& text, std::int64_t min, std::int64_t max) {
  std::size_t used = 0;
  std::int64_t value = 0;
  try {
    value = std::stoll(text, &used, 10);
  } catch (const std::exception&) {
    throw Bad(option, text, "not a number");
  }
  if (used != text.size()) {
    throw Bad(option, text, "not a number");
  }
  if (value < min || value > max) {
    throw Bad(option, text, "out of range " + std::to_string(min) + ".." + std::to_string(max));
  }
  return value;
}

bool IsMac(const std::string& text) {
  // "xx:xx:xx:xx:xx:xx", hex digits of either case.
  constexpr std::size_t kMacTextLength = 17;
  if (text.size() != kMacTextLength) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (i % 3 == 2 ? c != ':' : std::isxdigit(c) == 0) {
      return false;
    }
  }
  return true;
}

void CheckText(const std::string& option, const std::string& text, std::size_t fieldSize) {
  // The discovery fields are NUL-padded; a text may fill its field but not exceed it.
  if (text.size() > fieldSize) {
    throw Bad(option, text, "longer than its " + std::to_string(fieldSize) + "-byte field");
  }
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c > 0x7E) {
      throw Bad(option, text, "only printable ASCII is allowed");
    }
  }
}

}  // namespace

std::vector<std::uint8_t> MacBytes(const std::string& mac) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < kMacBytes; ++i) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(mac.substr(static_cast<std::size_t>(i) * 3, 2), nullptr, 16)));
  }
  return bytes;
}

EmulatorOptions ParseEmulatorOptions(const std::vector<std::string>& args) {
  EmulatorOptions options;
  const std::map<std::string, std::string*> texts = {
      {"--address", &options.address},    {"--mac", &options.mac},
      {"--vendor", &options.vendor},      {"--model", &options.model},
      {"--version", &options.version},    {"--serial", &options.serial},
      {"--user-name", &options.userName}, {"--manufacturer-info", &options.manufacturerInfo},
      {"--netmask", &options.netmask},    {"--gateway", &options.gateway},
  };
  const std::map<std::string, bool*> switches = {
      {"--fail-open", &options.failOpen},   {"--fail-write", &options.failWrite},
      {"--fail-close", &options.failClose}, {"--fail-install", &options.failInstall},
      {"--never-done", &options.neverDone}, {"--never-back", &options.neverBack},
  };
  bool macGiven = false;
  bool serialGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      return options;
    }
    if (const auto it = switches.find(option); it != switches.end()) {
      *it->second = true;
      continue;
    }
    const bool takesValue = texts.count(option) != 0 || option == "--serial-feature" || option == "--install-ms" ||
                            option == "--reset-ms" || option == "--sources" || option == "--stall-after" ||
                            option == "--write-ms";
    if (!takesValue) {
      throw std::invalid_argument("unknown option(" + option + ")");
    }
    if (i + 1 >= args.size()) {
      throw std::invalid_argument("option " + option + " needs a value");
    }
    const std::string& value = args[++i];
    if (option == "--install-ms") {
      options.installMs = static_cast<std::uint32_t>(ParseInteger(option, value, 0, kMaxDelayMs));
    } else if (option == "--reset-ms") {
      options.resetMs = static_cast<std::uint32_t>(ParseInteger(option, value, 0, kMaxDelayMs));
    } else if (option == "--write-ms") {
      options.writeMs = static_cast<std::uint32_t>(ParseInteger(option, value, 0, kMaxDelayMs));
    } else if (option == "--stall-after") {
      options.stallAfter = static_cast<std::uint32_t>(ParseInteger(option, value, 1, kMaxStallAfter));
    } else if (option == "--serial-feature") {
      options.serialFeature = value;
    } else if (option == "--sources") {
      options.sources = static_cast<std::int32_t>(ParseInteger(option, value, kMinSources, kMaxSources));
    } else {
      *texts.at(option) = value;
      macGiven = macGiven || option == "--mac";
      serialGiven = serialGiven || option == "--serial";
    }
  }

  if (options.address.empty()) {
    throw std::invalid_argument("option --address is required (a loopback address such as 127.0.0.2)");
  }
  const std::uint32_t address = ParseIpv4("--address", options.address);
  if ((address & kLoopbackMask) != kLoopbackNet) {
    throw Bad("--address", options.address, "the emulator serves loopback addresses (127.x.x.x) only");
  }
  ParseIpv4("--netmask", options.netmask);
  ParseIpv4("--gateway", options.gateway);

  const unsigned lastByte = address & 0xFF;
  char fallback[32];
  if (!macGiven) {
    std::snprintf(fallback, sizeof fallback, "02:5e:c1:00:00:%02x", lastByte);
    options.mac = fallback;
  } else if (!IsMac(options.mac)) {
    throw Bad("--mac", options.mac, "expected six hex bytes separated by colons, as 02:5e:c1:00:00:02");
  }
  if (!serialGiven) {
    std::snprintf(fallback, sizeof fallback, "EMU%03u", lastByte);
    options.serial = fallback;
  }

  CheckText("--vendor", options.vendor, bootstrap::kManufacturerNameSize);
  CheckText("--model", options.model, bootstrap::kModelNameSize);
  CheckText("--version", options.version, bootstrap::kDeviceVersionSize);
  CheckText("--manufacturer-info", options.manufacturerInfo, bootstrap::kManufacturerInfoSize);
  CheckText("--serial", options.serial, bootstrap::kSerialNumberSize);
  if (options.serialFeature) {
    CheckText("--serial-feature", *options.serialFeature, reg::kSerialNumberFeatureSize);
  }
  CheckText("--user-name", options.userName, bootstrap::kUserDefinedNameSize);
  return options;
}

std::string EmulatorUsage() {
  return "usage: fwcam-emulator --address 127.0.0.N [options]\n"
         "One emulated GigE Vision camera on a loopback address; run it only inside a private,\n"
         "loopback-only network namespace (scripts/in-netns.sh).\n"
         "Identity:\n"
         "  --address IP            loopback address to serve (required)\n"
         "  --mac MAC               default 02:5e:c1:00:00:NN (NN = last byte of the address)\n"
         "  --vendor TEXT           default Velmora (32 bytes at most)\n"
         "  --model TEXT            default FWCAM-1 (32)\n"
         "  --version TEXT          default 1.0.0 (32)\n"
         "  --serial TEXT           default EMUNNN (16)\n"
         "  --serial-feature TEXT   the feature DeviceSerialNumber reads TEXT (64) from a register\n"
         "                          of its own; the bootstrap serial and discovery keep --serial\n"
         "  --user-name TEXT        default empty (16)\n"
         "  --manufacturer-info T   default fwcam-emulator (48)\n"
         "  --netmask IP            default 255.0.0.0\n"
         "  --gateway IP            default 0.0.0.0\n"
         "Behaviour:\n"
         "  --install-ms MS         firmware install time, default 1000\n"
         "  --reset-ms MS           time off the network after DeviceReset, default 2000\n"
         "  --write-ms MS           each file write completes MS after it was executed, default 0\n"
         "  --sources N             add SourceCount (N) and, for N in 1..64, SourceSelector\n"
         "  --fail-open             every file open fails\n"
         "  --fail-write            every file write fails\n"
         "  --fail-close            every file close fails\n"
         "  --fail-install          the firmware install ends with status Failure\n"
         "  --never-done            the firmware update command never completes\n"
         "  --never-back            after DeviceReset the camera never comes back\n"
         "  --stall-after BYTES     once, when a file written reaches BYTES, the camera stops\n"
         "                          (SIGSTOP) in the middle of that write; SIGCONT resumes it\n";
}

}  // namespace quarx::emulator
