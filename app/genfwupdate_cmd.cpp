// The parsed command and the conversion of its option texts into the values the operations take.
#include "app/genfwupdate_cmd.h"

#include <fmt/format.h>

namespace fwupdate {
namespace {

constexpr const char* kDeviceLabel = "Device idx";
constexpr const char* kTimeoutLabel = "Timeout";

ExceptionCmdParse InvalidOptionValue(const char* label, const std::string& text) {
  return ExceptionCmdParse(fmt::format("Invalid operation option({}) value({})", label, text));
}

// std::stoi semantics on purpose: leading blanks and a sign are accepted and "12abc" reads as 12.
int ConvertOptionValue(const char* label, const std::string& text) {
  try {
    return std::stoi(text);
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  throw InvalidOptionValue(label, text);
}

// The parser refuses a leading '-', but " -5" converts to a negative number, which as an unsigned
// discovery time would wait about 49 days; it is refused like a text that is no number.
std::uint32_t ConvertTimeoutMs(const std::string& text) {
  const int timeoutMs = ConvertOptionValue(kTimeoutLabel, text);
  if (timeoutMs < 0) {
    throw InvalidOptionValue(kTimeoutLabel, text);
  }
  return static_cast<std::uint32_t>(timeoutMs);
}

}  // namespace

GenicamFWUpdateCmd::GenicamFWUpdateCmd(Operation operation) : operation_(operation) {}

GenicamFWUpdateCmd::GenicamFWUpdateCmd(Operation operation, std::string param)
    : operation_(operation), param_(std::move(param)) {}

Operation GenicamFWUpdateCmd::GetOperation() const { return operation_; }

std::string GenicamFWUpdateCmd::GetParam() const { return param_; }

OptionList GenicamFWUpdateCmd::GetOptions() const { return options_; }

void GenicamFWUpdateCmd::SetOptions(const OptionList& options) { options_ = options; }

DeviceListSettings GetDeviceListSettings(const GenicamFWUpdateCmd& cmd) {
  DeviceListSettings settings;
  for (const auto& [option, text] : cmd.GetOptions()) {
    if (option == Option::TimeoutMs) {
      settings.timeoutMs = ConvertTimeoutMs(text);
    }
  }
  return settings;
}

FileInfoSettings GetFileInfoSettings(const GenicamFWUpdateCmd& cmd) {
  FileInfoSettings settings;
  for (const auto& [option, text] : cmd.GetOptions()) {
    switch (option) {
      case Option::Device:
        // Narrowed to 16 bits, so 65535 reads as -1: all cameras.
        settings.deviceNumber = static_cast<std::int16_t>(ConvertOptionValue(kDeviceLabel, text));
        break;
      case Option::NoTest:
        settings.noTest = true;
        break;
      case Option::TimeoutMs:
        settings.timeoutMs = ConvertTimeoutMs(text);
        break;
      default:
        break;
    }
  }
  return settings;
}

UpdateSettings GetUpdateSettings(const GenicamFWUpdateCmd& cmd) {
  UpdateSettings settings;
  for (const auto& [option, text] : cmd.GetOptions()) {
    switch (option) {
      case Option::Device:
        // Taken modulo 65536: 70000 targets device 4464.
        settings.deviceNumber = static_cast<std::uint16_t>(ConvertOptionValue(kDeviceLabel, text));
        break;
      case Option::TimeoutMs:
        settings.timeoutMs = ConvertTimeoutMs(text);
        break;
      case Option::NoPrompt:
        settings.noPrompt = true;
        break;
      case Option::Silent:
        settings.silent = true;
        break;
      default:
        break;
    }
  }
  return settings;
}

}  // namespace fwupdate
