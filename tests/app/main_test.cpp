// The real fwupdate program: help, exit statuses and the error lines users see.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/expected_help.h"

extern char** environ;

namespace fwupdate {
namespace {

struct ProgramRun {
  int exitStatus = -1;
  std::string out;
};

// Runs the program with exactly `argv` (program name included, if any) and standard input at end of file.
ProgramRun RunProgram(const std::vector<std::string>& argv, bool withHome = true) {
  std::vector<std::string> words = argv;
  std::vector<char*> args;
  for (auto& word : words) {
    args.push_back(word.data());
  }
  args.push_back(nullptr);
  std::vector<std::string> envWords;
  for (char** e = environ; *e != nullptr; ++e) {
    if (withHome || std::string(*e).rfind("HOME=", 0) != 0) {
      envWords.emplace_back(*e);
    }
  }
  std::vector<char*> env;
  for (auto& word : envWords) {
    env.push_back(word.data());
  }
  env.push_back(nullptr);

  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    ADD_FAILURE() << "pipe failed";
    return {};
  }
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, STDIN_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execve(FWUPDATE_PATH, args.data(), env.data());
    _exit(127);
  }
  close(pipeFds[1]);
  ProgramRun run;
  char buffer[4096];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
    run.out.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

std::vector<std::string> Line(std::vector<std::string> args) {
  args.insert(args.begin(), FWUPDATE_PATH);
  return args;
}

TEST(FwupdateProgram, WithoutArgumentsPrintsHelpAndSucceeds) {
  const ProgramRun run = RunProgram(Line({}));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, test::ExpectedHelp(FWUPDATE_PATH));
}

TEST(FwupdateProgram, HelpOperationPrintsHelpAndSucceeds) {
  for (const char* word : {"-h", "--help"}) {
    const ProgramRun run = RunProgram(Line({word}));
    EXPECT_EQ(run.exitStatus, 0) << word;
    EXPECT_EQ(run.out, test::ExpectedHelp(FWUPDATE_PATH)) << word;
  }
}

TEST(FwupdateProgram, EmptyArgumentVectorPrintsHelpNamedFwupdate) {
  const ProgramRun run = RunProgram({});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, test::ExpectedHelp("fwupdate"));
}

TEST(FwupdateProgram, RunsWithoutHome) {
  const ProgramRun run = RunProgram(Line({"-h"}), false);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, test::ExpectedHelp(FWUPDATE_PATH));
}

struct CommandLineErrorCase {
  std::vector<std::string> args;
  std::string error;
  bool printedByParser;
};

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
    ::testing::Values(CommandLineErrorCase{{"--no-prompt"}, "Invalid arguments: --no-prompt", false},
                      CommandLineErrorCase{{"foo"}, "Invalid arguments: foo", false},
                      CommandLineErrorCase{{"-h", "extra"}, "Operation(--help) Invalid argument: extra", true},
                      CommandLineErrorCase{{"-u", "pkg", "-l"}, "Operation(--device-list) Invalid argument: -u, pkg",
                                           true},
                      CommandLineErrorCase{{"-u", "--silent"}, "The update operation must set guf filename.", true},
                      CommandLineErrorCase{{"-f"}, "The file info operation must set guf filename.", true},
                      CommandLineErrorCase{{"-d", "-u", "pkg"}, "The device option must set devNo.", true},
                      CommandLineErrorCase{{"-l", "--timeout"}, "The timeout option must set millisec.", true},
                      CommandLineErrorCase{{"-l", "--timeout", "abc"}, "Invalid timeout value: abc", true},
                      CommandLineErrorCase{{"-l", "--timeout", "-5"}, "The timeout option must set millisec.", true},
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

TEST_F(FwupdateOperationInNetns, DeviceNumberThatIsNoNumberIsACommandLineError) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-u", "pkg.guf", "-d", "abc"}, "Invalid operation option(Device idx) value(abc)"},
      {{"-u", "pkg.guf", "-d", "99999999999"}, "Invalid operation option(Device idx) value(99999999999)"},
      {{"-f", "pkg.guf", "--device", "x"}, "Invalid operation option(Device idx) value(x)"},
  };
  for (const auto& [args, error] : cases) {
    const ProgramRun run = RunProgram(Line(args));
    EXPECT_EQ(run.exitStatus, 2) << error;
    EXPECT_EQ(run.out, "\n Error : " + error + " \n");
  }
}

TEST_F(FwupdateOperationInNetns, FailedOperationEndsInTheOneErrorLineWithStatus1) {
  const ProgramRun run = RunProgram(Line({"-u", "/nonexistent/pkg.guf", "--no-prompt", "--timeout", "100"}));
  EXPECT_EQ(run.exitStatus, 1);
  const std::string prefix = "\n Error : ";
  ASSERT_GE(run.out.size(), prefix.size());
  EXPECT_EQ(run.out.substr(run.out.size() - 2), " \n") << run.out;
  EXPECT_NE(run.out.find(prefix), std::string::npos) << run.out;
}

}  // namespace
}  // namespace fwupdate
