// The real fwupdate program: help, exit statuses and the error lines users see.
#include <cstdlib>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include <gtest/gtest.h>

#include "tests/app/expected_help.h"
#include "tests/app/program_run.h"

namespace fwupdate {
namespace {

using test::kCannotPrepare;
using test::kNoMountNamespace;
using test::Line;
using test::ProgramRun;
using test::RunProgram;
using test::RunWithConfiguration;

struct HelpCase {
  const char* name;
  std::vector<std::string> argv;  // program name included, if any
  bool withHome;
  std::string programName;
};

void PrintTo(const HelpCase& c, std::ostream* os) { *os << c.name; }

class FwupdateHelp : public ::testing::TestWithParam<HelpCase> {};

TEST_P(FwupdateHelp, PrintsHelpAndSucceeds) {
  const HelpCase& c = GetParam();
  const ProgramRun run = RunProgram(c.argv, c.withHome);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, test::ExpectedHelp(c.programName));
}

INSTANTIATE_TEST_SUITE_P(
    Help, FwupdateHelp,
    ::testing::Values(HelpCase{"NoArguments", Line({}), true, FWUPDATE_PATH},
                      HelpCase{"ShortOption", Line({"-h"}), true, FWUPDATE_PATH},
                      HelpCase{"LongOption", Line({"--help"}), true, FWUPDATE_PATH},
                      HelpCase{"WithoutHome", Line({"-h"}), false, FWUPDATE_PATH},
                      // An empty argument vector names no program: the help calls it fwupdate.
                      HelpCase{"EmptyArgumentVector", {}, true, "fwupdate"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FwupdateWithConfiguration, LogFileThatCannotBeOpenedIsReportedWithStatus1) {
  const ProgramRun run = RunWithConfiguration({"-h"}, "[log]\nlevel = \"info\"\nfilename = \"\"\n");
  if (run.exitStatus == kCannotPrepare) {
    GTEST_SKIP() << kNoMountNamespace;
  }
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_THAT(run.out, ::testing::MatchesRegex("\n Error : Failed opening file /opt/home/\\.quarx/log/ for writing.* \n"));
}

TEST(FwupdateWithConfiguration, LoggerComesFirstAndLogsMainAtDebugLevel) {
  const ProgramRun run = RunWithConfiguration({"-h"}, "[log]\nlevel = \"debug\"\n");
  if (run.exitStatus == kCannotPrepare) {
    GTEST_SKIP() << kNoMountNamespace;
  }
  EXPECT_EQ(run.exitStatus, 0);
  const std::string help = test::ExpectedHelp(FWUPDATE_PATH);
  ASSERT_GT(run.out.size(), help.size());
  EXPECT_THAT(run.out.substr(0, run.out.size() - help.size()),
              ::testing::MatchesRegex("\\[quarx\\]\\[[0-9]{6}\\.[0-9]{9}\\]\\[debug\\] main\n"));
  EXPECT_EQ(run.out.substr(run.out.size() - help.size()), help);
}

TEST(FwupdateWithConfiguration, CommandLineErrorIsAlsoLoggedAtErrorLevel) {
  const ProgramRun run = RunWithConfiguration({"foo"}, "[log]\nlevel = \"error\"\n");
  if (run.exitStatus == kCannotPrepare) {
    GTEST_SKIP() << kNoMountNamespace;
  }
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_THAT(run.out, ::testing::MatchesRegex(
                           "\n Error : Invalid arguments: foo \n"
                           "\\[quarx\\]\\[[0-9]{6}\\.[0-9]{9}\\]\\[error\\] Invalid arguments: foo\n"));
}

struct CommandLineErrorCase {
  std::vector<std::string> args;
  std::string error;
  bool printedByParser;
};

void PrintTo(const CommandLineErrorCase& c, std::ostream* os) {
  for (const auto& arg : c.args) {
    *os << " '" << arg << "'";
  }
}

class FwupdateCommandLineError : public ::testing::TestWithParam<CommandLineErrorCase> {};

TEST_P(FwupdateCommandLineError, PrintsTheErrorAndExitsWithStatus2) {
  const CommandLineErrorCase& c = GetParam();
  const ProgramRun run = RunProgram(Line(c.args));
  EXPECT_EQ(run.exitStatus, 2);
  const std::string byMain = "\n Error : " + c.error + " \n";
  EXPECT_EQ(run.out, (c.printedByParser ? "Error : " + c.error : "") + byMain);
}

INSTANTIATE_TEST_SUITE_P(
    Parse, FwupdateCommandLineError,
    // Every text is pinned by the parser's tests; here one error of each printing kind and status 2.
    ::testing::Values(CommandLineErrorCase{{"--no-prompt"}, "Invalid arguments: --no-prompt", false},
                      CommandLineErrorCase{{"-h", "extra"}, "Operation(--help) Invalid argument: extra", true},
                      CommandLineErrorCase{{"-l", "--timeout", "99999999999"}, "stoi", true}));

// These command lines name an operation that discovers cameras once it runs, so they run only inside the
// private loopback namespace of the test command, in case a fault lets the operation start.
class FwupdateOperationInNetns : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* netns = std::getenv("QUARX_NETNS");
    if (netns == nullptr || std::string(netns) != "1") {
      GTEST_SKIP() << "needs the private network namespace (run through scripts/in-netns.sh)";
    }
  }
};

// The conversion's texts are pinned by the settings tests; here the status that the program ends with.
// Before the timeout check, " -5" passed the parser and wrapped into a discovery of about 49 days.
TEST_F(FwupdateOperationInNetns, OptionValueThatOperationCannotUseIsACommandLineError) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-u", "pkg.guf", "-d", "abc"}, "Invalid operation option(Device idx) value(abc)"},
      {{"-f", "pkg.guf", "--device", "x"}, "Invalid operation option(Device idx) value(x)"},
      {{"-l", "--timeout", " -5"}, "Invalid operation option(Timeout) value( -5)"},
      {{"-f", "pkg.guf", "--timeout", " -5"}, "Invalid operation option(Timeout) value( -5)"},
      {{"-u", "pkg.guf", "--timeout", " -5"}, "Invalid operation option(Timeout) value( -5)"},
  };
  for (const auto& [args, error] : cases) {
    const ProgramRun run = RunProgram(Line(args));
    EXPECT_EQ(run.exitStatus, 2) << error;
    EXPECT_EQ(run.out, "\n Error : " + error + " \n");
  }
}

}  // namespace
}  // namespace fwupdate
