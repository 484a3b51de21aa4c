// The parsed command and the conversion of its option texts into the values the operations take.
#include "app/genfwupdate_cmd.h"

#include <limits>

#include <fmt/format.h>

namespace fwupdate {
namespace {

constexpr const char* kDeviceLabel = "Device idx";
constexpr const char* kTimeoutLabel = "Timeout";

// std::stoi semantics on purpose: leading blanks and a sign are accepted and "12abc" reads as 12.
// A number outside [lowest, highest] is refused like a text that is no number.
int ConvertOptionValue(const char* label, const std::string& text, int lowest, int highest) {
  try {
    const int number = std::stoi(text);
    if (number >= lowest && number <= highest) {
      return number;
    }
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  throw ExceptionCmdParse(fmt::format("Invalid operation option({}) value({})", label, text));
}

// The parser refuses a leading '-', but " -5" converts to a negative number, which as an unsigned
// discovery time would wait about 49 days.
std::uint32_t ConvertTimeoutMs(const std::string& text) {
  return static_cast<std::uint32_t>(ConvertOptionValue(kTimeoutLabel, text, 0, std::numeric_limits<int>::max()));
}

// A device number is read into 16 bits. One that does not fit would wrap onto another number,
// and so onto a camera nobody chose.
int ConvertDeviceNumber(const std::string& text, int lowest) {
  return ConvertOptionValue(kDeviceLabel, text, lowest, std::numeric_limits<std::uint16_t>::max());
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
        // Narrowed to 16 signed bits, so 65535 reads as -1: all cameras.
        settings.deviceNumber =
            static_cast<std::int16_t>(ConvertDeviceNumber(text, std::numeric_limits<std::int16_t>::min()));
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
        settings.deviceNumber = static_cast<std::uint16_t>(ConvertDeviceNumber(text, 0));
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
