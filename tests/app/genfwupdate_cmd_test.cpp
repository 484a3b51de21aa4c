// Conversion of a command's option texts into the values each operation takes.
#include "app/genfwupdate_cmd.h"

#include <string>

#include <gtest/gtest.h>

namespace fwupdate {
namespace {

// The settings an operation reads from the options, as "device <n> timeout <ms>", or the error.
std::string Settings(Operation operation, const OptionList& options) {
  GenicamFWUpdateCmd cmd(operation, "pkg.guf");
  cmd.SetOptions(options);
  try {
    switch (operation) {
      case Operation::DeviceList:
        return "timeout " + std::to_string(GetDeviceListSettings(cmd).timeoutMs);
      case Operation::FileInfo: {
        const auto settings = GetFileInfoSettings(cmd);
        return "device " + std::to_string(settings.deviceNumber) + " timeout " + std::to_string(settings.timeoutMs);
      }
      default: {
        const auto settings = GetUpdateSettings(cmd);
        return "device " + std::to_string(settings.deviceNumber) + " timeout " + std::to_string(settings.timeoutMs);
      }
    }
  } catch (const ExceptionCmdParse& e) {
    return e.what();
  }
}

TEST(OperationSettings, OptionTextsConvertLikeStoiNarrowedPerOperationOrAreCommandLineErrors) {
  constexpr Operation kList = Operation::DeviceList;
  constexpr Operation kInfo = Operation::FileInfo;
  constexpr Operation kUpdate = Operation::Update;
  const struct {
    Operation operation;
    OptionList options;
    const char* expected;
  } kCases[] = {
      {kList, {}, "timeout 1500"},
      {kInfo, {}, "device -1 timeout 1500"},  // -1: every camera
      {kUpdate, {}, "device 0 timeout 1500"},
      {kUpdate, {{Option::Device, "12abc"}}, "device 12 timeout 1500"},
      {kUpdate, {{Option::Device, "70000"}}, "device 4464 timeout 1500"},                  // taken modulo 65536
      {kInfo, {{Option::Device, "65535"}}, "device -1 timeout 1500"},                      // narrowed to 16 bits
      {kUpdate, {{Option::Device, "1"}, {Option::Device, "2"}}, "device 2 timeout 1500"},  // the last one wins
      {kUpdate, {{Option::TimeoutMs, " 2147483647"}}, "device 0 timeout 2147483647"},
      // The device list reads only the discovery time, so a device text that is no number does not matter.
      {kList, {{Option::Device, "abc"}, {Option::TimeoutMs, "9"}, {Option::TimeoutMs, "12x"}}, "timeout 12"},
      {kUpdate, {{Option::Device, "abc"}}, "Invalid operation option(Device idx) value(abc)"},
      {kUpdate, {{Option::Device, "99999999999"}}, "Invalid operation option(Device idx) value(99999999999)"},
      // An earlier good value does not save a later bad one.
      {kUpdate, {{Option::Device, "1"}, {Option::Device, "x1"}}, "Invalid operation option(Device idx) value(x1)"},
      {kList, {{Option::TimeoutMs, "99999999999"}}, "Invalid operation option(Timeout) value(99999999999)"},
      // A negative time that slipped past the parser's '-' check would wrap into weeks of discovery.
      {kUpdate, {{Option::TimeoutMs, "\t-2147483648"}}, "Invalid operation option(Timeout) value(\t-2147483648)"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(Settings(c.operation, c.options), c.expected);
  }
}

}  // namespace
}  // namespace fwupdate
