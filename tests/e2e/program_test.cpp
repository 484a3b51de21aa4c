// The real fwupdate program without cameras: help, command-line errors, option values an
// operation cannot use and the logger's configuration, each with its exact output and exit status.
#include <signal.h>

#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/fwupdate_e2e.h"
#include "tests/support/camera_namespace.h"

namespace quarx::test::e2e {
namespace {

std::string Help(const std::string& programName) {
  return "Version: 1.1.4\nUsage: " + programName + " 'operation' [options] [args..]\n\nAvailable operation:\n\n"
         "--device-list,  -l   \n    =>show device informations.\n\n"
         "--file-info,    -f   'update_file'       \n"
         "    => show update file informations and matching test with devices\n"
         "      options:\n        --device,     -d  <devNo>   target device to matching test\n\n"
         "--update,       -u   'update_file'       \n    => execute update with <update_file>\n"
         "      options:\n        --device,     -d  <devNo>   target device\n"
         "        --no-prompt,                do not ask for confirmation\n\n"
         "--help          -h \n    => show this message\n";
}

std::string Error(const std::string& text) { return "\n Error : " + text + " \n"; }

TEST(FwupdateProgram, PrintsExactlyItsOutputAndEndsWithItsStatus) {
  // Option values are converted only once an operation runs, which would then discover cameras.
  REQUIRE_CAMERA_NAMESPACE();
  const std::string help = Help(FWUPDATE_PATH);
  const std::string log = "[quarx][T]";
  const struct {
    std::vector<std::string> args;
    int exitStatus;
    std::string out;                                   // the console log's time of day reads T
    std::optional<std::string> config = std::nullopt;  // none: the machine's (absent) configuration
    std::optional<std::vector<std::string>> argv = std::nullopt;  // the whole argument vector, program name included
  } kCases[] = {
      {{}, 0, help},
      {{"-h"}, 0, help},
      {{"--help"}, 0, help},
      {{"--no-prompt"}, 2, Error("Invalid arguments: --no-prompt")},
      // The parser prints its own error first.
      {{"-h", "x"}, 2,
       "Error : Operation(--help) Invalid argument: x" + Error("Operation(--help) Invalid argument: x")},
      {{"-l", "--timeout", "99999999999"}, 2, "Error : stoi" + Error("stoi")},
      {{"-u", "p", "-d", "abc"}, 2, Error("Invalid operation option(Device idx) value(abc)")},
      {{"-f", "p", "--device", "65536"}, 2, Error("Invalid operation option(Device idx) value(65536)")},
      // " -5" passes the parser's '-' check; unchecked it would wrap into a discovery of about 49 days.
      {{"-l", "--timeout", " -5"}, 2, Error("Invalid operation option(Timeout) value( -5)")},
      {{"-f", "p", "--timeout", " -5"}, 2, Error("Invalid operation option(Timeout) value( -5)")},
      {{"-u", "p", "--timeout", " -5"}, 2, Error("Invalid operation option(Timeout) value( -5)")},
      // The logger comes first; a log file that cannot be opened ends the run.
      {{"-h"}, 0, log + "[debug] main\n" + help, "[log]\nlevel = \"debug\"\n"},
      {{"foo"}, 2, Error("Invalid arguments: foo") + log + "[error] Invalid arguments: foo\n",
       "[log]\nlevel = \"error\"\n"},
      {{"-h"}, 1, Error("Failed opening file /opt/home/.quarx/log/ for writing: Is a directory"),
       "[log]\nlevel = \"info\"\nfilename = \"\"\n"},
      // An empty argument vector names no program: the help calls it fwupdate.
      {{}, 0, Help("fwupdate"), std::nullopt, std::vector<std::string>{}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
    RunOptions setup;
    setup.config = c.config;
    setup.argv = c.argv;
    const ProgramRun run = RunFwupdate(c.args, setup);
    if (run.exitStatus == kCannotPrepare) {
      GTEST_SKIP() << kNoMountNamespace;
    }
    EXPECT_EQ(run.exitStatus, c.exitStatus);
    EXPECT_EQ(std::regex_replace(run.out, std::regex(R"(\[quarx\]\[[0-9]{6}\.[0-9]{9}\])"), log), c.out);
  }
}

// The tool keeps ignoring a signal it was started with ignored; a run of the tests under nohup, or
// from a caller that blocks signals, must still start it as a shell starts a command in the foreground.
TEST(FwupdateProgram, IsStartedWithEverySignalAtItsDefaultAndNoneBlocked) {
  const int kSignals[] = {SIGHUP, SIGINT, SIGTERM, SIGPIPE};
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction saved[std::size(kSignals)];
  sigset_t blocked;
  sigset_t savedMask;
  sigemptyset(&blocked);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &ignore, &saved[i]);
    sigaddset(&blocked, kSignals[i]);
  }
  sigaddset(&blocked, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &blocked, &savedMask);
  RunOptions setup;
  setup.program = "/bin/grep";
  setup.argv = Lines{"grep", "^Sig\\(Blk\\|Ign\\):", "/proc/self/status"};
  const ProgramRun run = RunFwupdate({}, setup);
  pthread_sigmask(SIG_SETMASK, &savedMask, nullptr);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &saved[i], nullptr);
  }
  EXPECT_EQ(run.out, "SigBlk:\t0000000000000000\nSigIgn:\t0000000000000000\n");
  EXPECT_EQ(run.exitStatus, 0);
}

}  // namespace
}  // namespace quarx::test::e2e
