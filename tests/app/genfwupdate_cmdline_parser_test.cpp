// Parser tests: which operation and options a command line yields, and the exact error texts.
// The help text, the exit statuses and one error of each printing kind are pinned end to end.
#include "app/genfwupdate_cmdline_parser.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fwupdate {
namespace {

// "<operation> '<file>' <option>=<value>..." for an accepted line, otherwise the error text.
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
  try {
    const GenicamFWUpdateCmd cmd = parser.GetOperationCmd();
    std::string parsed = operations[static_cast<int>(cmd.GetOperation())] + (" '" + cmd.GetParam() + "'");
    for (const auto& [option, value] : cmd.GetOptions()) {
      parsed += std::string(" ") + options[static_cast<int>(option)] + "=" + value;
    }
    return parsed;
  } catch (const ExceptionCmdParse& e) {
    return e.what();
  }
}

TEST(GenicamFWupdateCmdlineParser, YieldsOneOperationWithItsOptionsInStepOrderOrItsError) {
  const struct {
    std::vector<std::string> args;
    const char* parsed;
    bool printedByParser;  // a failed step prints its error itself
  } kCases[] = {
      {{}, "help ''", false},
      {{"--device-list", "--timeout", "500"}, "device-list '' timeout=500", false},
      // Options an operation does not use are still accepted; entries follow the step order, not the line.
      {{"-l", "-d", "3", "--silent", "--no-prompt"}, "device-list '' device=3 no-prompt= silent=", false},
      {{"-u", "pkg.guf", "-d", "1", "-d", "2"}, "update 'pkg.guf' device=1 device=2", false},
      // Options are taken out before the operation, so they may stand between it and its file.
      {{"--update", "-d", "1", "dir/my pkg.guf"}, "update 'dir/my pkg.guf' device=1", false},
      {{"--timeout", "12abc", "--file-info", "pkg.guf", "--no-test"},
       "file-info 'pkg.guf' no-test= timeout=12abc",
       false},
      // The device number stays text here; converting it is the operation's business.
      {{"-d", "", "-u", "p"}, "update 'p' device=", false},
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
      {{"foo", "bar"}, "Invalid arguments: foo, bar", false},
      // Options alone name no operation; nothing is left over, so every argument is named.
      {{"-d", "3", "--silent"}, "Invalid arguments: -d, 3, --silent", false},
      {{"--no-test", "foo"}, "Invalid arguments: foo", false},
  };
  for (const auto& c : kCases) {
    std::string line;
    for (const auto& arg : c.args) {
      line += " '" + arg + "'";
    }
    SCOPED_TRACE(line);
    std::string printed;
    EXPECT_EQ(Parse(c.args, printed), c.parsed);
    EXPECT_EQ(printed, c.printedByParser ? std::string("Error : ") + c.parsed : "");
  }
}

}  // namespace
}  // namespace fwupdate
