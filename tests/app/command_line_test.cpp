// The command line as the parser takes it apart and as each operation converts its option texts:
// the operation, the options in step order, the values the operation runs with, or the exact
// error. The help text, the exit statuses and one error of each printing kind are pinned end to end.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/genfwupdate_cmd.h"
#include "app/genfwupdate_cmdline_parser.h"

namespace fwupdate {
namespace {

std::string Values(int device, std::uint32_t timeoutMs) {
  return " | device " + std::to_string(device) + " timeout " + std::to_string(timeoutMs);
}

// "<operation> '<file>' <option>=<value>... | <values>" for an accepted line, otherwise the error text.
std::string Parse(std::vector<std::string> args, std::string& printed) {
  const char* operations[] = {"device-list", "file-info", "update", "help"};
  const char* options[] = {"device", "log", "log-level", "no-prompt", "no-test", "silent", "timeout"};
  args.insert(args.begin(), "fwupdate");
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  testing::internal::CaptureStdout();
  const GenicamFWupdateCmdlineParser parser(static_cast<int>(args.size()), argv.data());
  printed = testing::internal::GetCapturedStdout();
  std::string parsed;
  try {
    const GenicamFWUpdateCmd cmd = parser.GetOperationCmd();
    parsed = operations[static_cast<int>(cmd.GetOperation())] + (" '" + cmd.GetParam() + "'");
    for (const auto& [option, value] : cmd.GetOptions()) {
      parsed += std::string(" ") + options[static_cast<int>(option)] + "=" + value;
    }
    switch (cmd.GetOperation()) {
      case Operation::DeviceList:
        return parsed + " | timeout " + std::to_string(GetDeviceListSettings(cmd).timeoutMs);
      case Operation::FileInfo:
        return parsed + Values(GetFileInfoSettings(cmd).deviceNumber, GetFileInfoSettings(cmd).timeoutMs);
      case Operation::Update:
        return parsed + Values(GetUpdateSettings(cmd).deviceNumber, GetUpdateSettings(cmd).timeoutMs);
      default:
        return parsed;
    }
  } catch (const ExceptionCmdParse& e) {
    return parsed.empty() ? e.what() : parsed + " | " + e.what();
  }
}

TEST(CommandLine, YieldsOneOperationWithItsOptionsInStepOrderAndTheirValuesOrItsError) {
  const struct {
    std::vector<std::string> args;
    std::string parsed;
    bool printedByParser = false;  // a failed step prints its error itself
  } kCases[] = {
      {{}, "help ''"},
      {{"--device-list", "--timeout", "500"}, "device-list '' timeout=500 | timeout 500"},
      // Options an operation does not use are still accepted; entries follow the step order, not the line.
      {{"-l", "-d", "3", "--silent", "--no-prompt"}, "device-list '' device=3 no-prompt= silent= | timeout 1500"},
      // The last one wins.
      {{"-u", "pkg.guf", "-d", "1", "-d", "2"}, "update 'pkg.guf' device=1 device=2" + Values(2, 1500)},
      // Options are taken out before the operation, so they may stand between it and its file.
      {{"--update", "-d", "1", "dir/my pkg.guf"}, "update 'dir/my pkg.guf' device=1" + Values(1, 1500)},
      // Converted like std::stoi; a device number must fit 16 bits, signed or not for file information,
      // where 65535 narrows to -1, every camera; not negative for the update, never wrapped onto another.
      {{"--timeout", "12abc", "--file-info", "p", "--no-test"},
       "file-info 'p' no-test= timeout=12abc" + Values(-1, 12)},
      {{"-u", "p", "-d", "65535", "--timeout", " 2147483647"},
       "update 'p' device=65535 timeout= 2147483647" + Values(65535, 2147483647)},
      {{"-f", "p", "-d", "65535"}, "file-info 'p' device=65535" + Values(-1, 1500)},
      {{"-u", "p", "-d", " -1"}, "update 'p' device= -1 | Invalid operation option(Device idx) value( -1)"},
      // The device list reads only the discovery time, so a device text that is no number does not matter.
      {{"-l", "-d", "abc", "--timeout", "9", "--timeout", "12x"},
       "device-list '' device=abc timeout=9 timeout=12x | timeout 12"},
      {{"-d", "", "-u", "p"}, "update 'p' device= | Invalid operation option(Device idx) value()"},
      {{"-u", "p", "-d", "99999999999"},
       "update 'p' device=99999999999 | Invalid operation option(Device idx) value(99999999999)"},
      // An earlier good value does not save a later bad one.
      {{"-u", "p", "-d", "1", "-d", "x1"},
       "update 'p' device=1 device=x1 | Invalid operation option(Device idx) value(x1)"},
      // A negative time that slipped past the parser's '-' check would wrap into weeks of discovery.
      {{"-u", "p", "--timeout", "\t-2147483648"},
       "update 'p' timeout=\t-2147483648 | Invalid operation option(Timeout) value(\t-2147483648)"},
      // The device list step runs first, so it names itself even when -u came first.
      {{"-u", "pkg", "-l"}, "Operation(--device-list) Invalid argument: -u, pkg", true},
      {{"-f", "pkg", "-u", "pkg2"}, "Operation(--update) Invalid argument: -f, pkg", true},
      {{"-u", "--silent"}, "The update operation must set guf filename.", true},
      {{"--file-info"}, "The file info operation must set guf filename.", true},
      {{"-d", "-u", "pkg"}, "The device option must set devNo.", true},
      {{"-l", "--device", "-1"}, "The device option must set devNo.", true},
      {{"-l", "--timeout"}, "The timeout option must set millisec.", true},
      {{"-l", "--timeout", "-5"}, "The timeout option must set millisec.", true},
      {{"-l", "--timeout", "abc"}, "Invalid timeout value: abc", true},
      {{"foo", "bar"}, "Invalid arguments: foo, bar"},
      // Options alone name no operation; nothing is left over, so every argument is named.
      {{"-d", "3", "--silent"}, "Invalid arguments: -d, 3, --silent"},
      {{"--no-test", "foo"}, "Invalid arguments: foo"},
  };
  for (const auto& c : kCases) {
    std::string line;
    for (const auto& arg : c.args) {
      line += " '" + arg + "'";
    }
    SCOPED_TRACE(line);
    std::string printed;
    EXPECT_EQ(Parse(c.args, printed), c.parsed);
    EXPECT_EQ(printed, c.printedByParser ? "Error : " + c.parsed : "");
  }
}

}  // namespace
}  // namespace fwupdate
