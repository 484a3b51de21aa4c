// The parsed command and the conversion of its option texts into the values the operations take.
#include "app/genfwupdate_cmd.h"

#include <fmt/format.h>

namespace fwupdate {
namespace {

constexpr const char* kDeviceLabel = "Device idx";
constexpr const char* kTimeoutLabel = "Timeout";

// std::stoi semantics on purpose: leading blanks and a sign are accepted and "12abc" reads as 12.
int ConvertOptionValue(const char* label, const std::string& text) {
  try {
    return std::stoi(text);
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  throw ExceptionCmdParse(fmt::format("Invalid operation option({}) value({})", label, text));
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
      settings.timeoutMs = static_cast<std::uint32_t>(ConvertOptionValue(kTimeoutLabel, text));
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
        settings.timeoutMs = static_cast<std::uint32_t>(ConvertOptionValue(kTimeoutLabel, text));
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
        settings.timeoutMs = static_cast<std::uint32_t>(ConvertOptionValue(kTimeoutLabel, text));
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
