// The process logger as a whole. Each test builds its logger in a forked child, since the logger is built
// once per process; the child's standard output goes to a file that the test then reads.
#include "util/quarxlog.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/util/scratch_dir.h"

namespace quarx::util {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;

constexpr std::uintmax_t kRotateSize = 52428800;
constexpr int kRotatedFiles = 30;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// Layout of one test: HOME, the working directory and the child's captured standard output.
class LoggerInChild : public ::testing::Test {
 protected:
  LoggerInChild() : home_(dir_.Path() / "home"), cwd_(dir_.Path() / "cwd") {
    fs::create_directories(home_);
    fs::create_directories(cwd_);
  }

  std::string Config(const std::string& content) { return dir_.Write("quarx.conf", content); }
  fs::path LogDir() const { return home_ / ".quarx" / "log"; }

  // Runs `body` in a child process with HOME set (or unset) and returns the child's standard output.
  // An exception out of `body` shows as "EXCEPTION: <text>" and exit status 3.
  std::string RunChild(const std::function<void()>& body, bool withHome = true) {
    const fs::path outPath = dir_.Path() / "stdout.txt";
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
      int code = 0;
      if (chdir(cwd_.c_str()) != 0 || std::freopen(outPath.c_str(), "w", stdout) == nullptr) {
        _exit(4);
      }
      if (withHome) {
        setenv("HOME", home_.c_str(), 1);
      } else {
        unsetenv("HOME");
      }
      try {
        body();
      } catch (const std::exception& e) {
        fmt::print("EXCEPTION: {}\n", e.what());
        code = 3;
      }
      std::fflush(stdout);
      _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return ReadFile(outPath);
  }

  test::ScratchDir dir_;
  fs::path home_;
  fs::path cwd_;
  int exitStatus_ = -1;
};

// One message per level, trace to critical, through the built logger.
void LogAllLevels(const std::string& configPath) {
  auto& log = Log::GetInstance(configPath);
  log.logger_->trace("msg {}", "trace");
  log.logger_->debug("msg {}", "debug");
  log.logger_->info("msg {}", "info");
  log.logger_->warn("msg {}", "warning");
  log.logger_->error("msg {}", "error");
  log.logger_->critical("msg {}", "critical");
  log.logger_->flush();
}

std::vector<std::string> LevelsOf(const std::vector<std::string>& lines) {
  std::vector<std::string> levels;
  const std::regex message(R"(.*\]\[(\w+)\] msg (\w+))");
  for (const auto& line : lines) {
    std::smatch m;
    if (std::regex_match(line, m, message) && m[1] == m[2]) {
      levels.push_back(m[1]);
    }
  }
  return levels;
}

struct LevelCase {
  std::string level;
  std::vector<std::string> shown;
};

void PrintTo(const LevelCase& c, std::ostream* os) { *os << "level '" << c.level << "'"; }

class LoggerLevel : public LoggerInChild, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(LoggerLevel, ShowsMessagesFromTheConfiguredLevelUp) {
  const LevelCase& c = GetParam();
  const std::string conf = Config("[log]\nlevel = \"" + c.level + "\"\n");
  const std::string out = RunChild([&] { LogAllLevels(conf); });
  EXPECT_EQ(exitStatus_, 0) << out;
  EXPECT_EQ(LevelsOf(SplitLines(out)), c.shown) << out;
}

const std::vector<std::string> kFromInfo{"info", "warning", "error", "critical"};

INSTANTIATE_TEST_SUITE_P(
    Levels, LoggerLevel,
    ::testing::Values(LevelCase{"trace", {"trace", "debug", "info", "warning", "error", "critical"}},
                      LevelCase{"debug", {"debug", "info", "warning", "error", "critical"}},
                      LevelCase{"info", kFromInfo}, LevelCase{"warning", {"warning", "error", "critical"}},
                      LevelCase{"error", {"error", "critical"}}, LevelCase{"critical", {"critical"}},
                      LevelCase{"off", {}},
                      // Names the logger does not know give info, even spdlog's own short names.
                      LevelCase{"warn", kFromInfo}, LevelCase{"err", kFromInfo}, LevelCase{"DEBUG", kFromInfo},
                      LevelCase{"", kFromInfo}));

TEST_F(LoggerInChild, WithoutConfigurationFileNothingIsLoggedAnywhere) {
  const std::string out = RunChild([&] { LogAllLevels((dir_.Path() / "absent.conf").string()); });
  EXPECT_EQ(exitStatus_, 0) << out;
  EXPECT_EQ(out, "");
  EXPECT_TRUE(fs::is_empty(cwd_));
  EXPECT_FALSE(fs::exists(home_ / ".quarx"));
}

TEST_F(LoggerInChild, ConsoleLinesFollowTheConsolePattern) {
  const std::string conf = Config("[log]\nlevel = \"debug\"\n");
  const std::string out = RunChild([&] {
    auto& log = Log::GetInstance(conf);
    log.logger_->debug("<{}> status({})", "Open", 7);
    log.logger_->warn("careful");
  });
  EXPECT_THAT(SplitLines(out), ElementsAre(MatchesRegex(R"(\[quarx\]\[[0-9]{6}\.[0-9]{9}\]\[debug\] <Open> status\(7\))"),
                                           MatchesRegex(R"(\[quarx\]\[[0-9]{6}\.[0-9]{9}\]\[warning\] careful)")));
}

TEST_F(LoggerInChild, FileLinesGoUnderHomeInTheFilePattern) {
  const std::string conf = Config("[log]\nlevel = \"info\"\nfilename = \"fw.log\"\n");
  const std::string out = RunChild([&] {
    auto& log = Log::GetInstance(conf);
    log.logger_->debug("hidden");
    log.logger_->info("main {}", 1);
    log.logger_->error("bad");
    log.logger_->flush();
  });
  EXPECT_EQ(out, "");
  EXPECT_THAT(SplitLines(ReadFile(LogDir() / "fw.log")),
              ElementsAre(MatchesRegex(R"(\[[0-9]{8}-[0-9]{6}\.[0-9]{9}\]\[info\] main 1)"),
                          MatchesRegex(R"(\[[0-9]{8}-[0-9]{6}\.[0-9]{9}\]\[error\] bad)")));
}

TEST_F(LoggerInChild, FileWithoutLevelIsCreatedAndStaysEmpty) {
  const std::string conf = Config("[log]\nfilename = \"quiet.log\"\n");
  const std::string out = RunChild([&] { LogAllLevels(conf); });
  EXPECT_EQ(exitStatus_, 0) << out;
  EXPECT_EQ(out, "");
  ASSERT_TRUE(fs::is_regular_file(LogDir() / "quiet.log"));
  EXPECT_EQ(fs::file_size(LogDir() / "quiet.log"), 0u);
}

TEST_F(LoggerInChild, FileNameWithDirectoriesCreatesThem) {
  const std::string conf = Config("[log]\nlevel = \"info\"\nfilename = \"plant/line 3/fw.log\"\n");
  RunChild([&] { LogAllLevels(conf); });
  EXPECT_EQ(exitStatus_, 0);
  EXPECT_EQ(LevelsOf(SplitLines(ReadFile(LogDir() / "plant" / "line 3" / "fw.log"))), kFromInfo);
}

TEST_F(LoggerInChild, ExistingLogFileIsAppendedToNotTruncatedOrRotated) {
  fs::create_directories(LogDir());
  std::ofstream(LogDir() / "fw.log") << "earlier run\n";
  const std::string conf = Config("[log]\nlevel = \"info\"\nfilename = \"fw.log\"\n");
  RunChild([&] { Log::GetInstance(conf).logger_->error("msg error"); });
  const auto lines = SplitLines(ReadFile(LogDir() / "fw.log"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "earlier run");
  EXPECT_THAT(lines[1], HasSubstr("[error] msg error"));
  EXPECT_FALSE(fs::exists(LogDir() / "fw.1.log"));
}

TEST_F(LoggerInChild, WarningsAreFlushedAtOnce) {
  const std::string conf = Config("[log]\nlevel = \"info\"\nfilename = \"fw.log\"\n");
  const fs::path file = LogDir() / "fw.log";
  const std::string out = RunChild([&] {
    auto& log = Log::GetInstance(conf);
    log.logger_->info("buffered");
    fmt::print("after info {}\n", fs::file_size(file));
    log.logger_->warn("flushed");
    fmt::print("after warning {}\n", fs::file_size(file) > 0 ? "written" : "empty");
  });
  EXPECT_EQ(out, "after info 0\nafter warning written\n");
}

TEST_F(LoggerInChild, EmptyFileNameFailsToBuildAndTheNextCallTriesAgain) {
  const std::string broken = Config("[log]\nlevel = \"info\"\nfilename = \"\"\n");
  const std::string good = dir_.Write("good.conf", "[log]\nlevel = \"info\"\n");
  const std::string out = RunChild([&] {
    try {
      Log::GetInstance(broken);
      fmt::print("built\n");
    } catch (const std::exception& e) {
      fmt::print("failed: {}\n", e.what());
    }
    Log::GetInstance(good).logger_->info("second try");
  });
  const auto lines = SplitLines(out);
  ASSERT_EQ(lines.size(), 2u) << out;
  EXPECT_THAT(lines[0], HasSubstr("failed: Failed opening file " + (LogDir() / "").string() + " for writing"));
  EXPECT_THAT(lines[1], HasSubstr("[info] second try"));
}

TEST_F(LoggerInChild, LaterCallsIgnoreTheirPathAndReturnTheSameLogger) {
  const std::string first = Config("[log]\nlevel = \"error\"\n");
  const std::string second = dir_.Write("second.conf", "[log]\nlevel = \"trace\"\nfilename = \"fw.log\"\n");
  const std::string out = RunChild([&] {
    Log& a = Log::GetInstance(first);
    Log& b = Log::GetInstance(second);
    Log& c = Log::GetInstance("");
    fmt::print("same {}\n", &a == &b && &b == &c);
    c.logger_->info("msg info");
    c.logger_->error("msg error");
  });
  const auto lines = SplitLines(out);
  ASSERT_EQ(lines.size(), 2u) << out;
  EXPECT_EQ(lines[0], "same true");
  EXPECT_EQ(LevelsOf(lines), std::vector<std::string>{"error"});
  EXPECT_FALSE(fs::exists(home_ / ".quarx"));
}

// Standard output carries what scripts parse, so the console is no stand-in for the file.
TEST_F(LoggerInChild, WithoutHomeAConfiguredFileLogsNothingEvenAtALevelSetLater) {
  const std::string conf = Config("[log]\nlevel = \"info\"\nfilename = \"fw.log\"\n");
  const std::string out = RunChild(
      [&] {
        LogAllLevels(conf);
        Log::GetInstance("").SetLogLevel("trace");
        LogAllLevels("");
      },
      false);
  EXPECT_EQ(exitStatus_, 0) << out;
  EXPECT_EQ(out, "");
  EXPECT_TRUE(fs::is_empty(cwd_));
  EXPECT_FALSE(fs::exists(home_ / ".quarx"));
}

TEST_F(LoggerInChild, EmptyPathLogsInfoToQuarxLogInTheWorkingDirectory) {
  const std::string out = RunChild([&] { LogAllLevels(""); });
  EXPECT_EQ(out, "");
  EXPECT_EQ(LevelsOf(SplitLines(ReadFile(cwd_ / "quarx.log"))), kFromInfo);
}

TEST_F(LoggerInChild, RotatesWhenAMessageWouldPassTheSizeKeepingThirtyFiles) {
  fs::create_directories(LogDir());
  // A sparse current file just below the limit, and a full set of rotated files marked by their number.
  const fs::path current = LogDir() / "fw.log";
  std::ofstream(current).close();
  fs::resize_file(current, kRotateSize - 10);
  for (int i = 1; i <= kRotatedFiles; ++i) {
    std::ofstream(LogDir() / fmt::format("fw.{}.log", i)) << "old " << i << "\n";
  }
  const std::string conf = Config("[log]\nlevel = \"info\"\nfilename = \"fw.log\"\n");
  RunChild([&] {
    auto& log = Log::GetInstance(conf);
    log.logger_->info("msg info");
    log.logger_->flush();
  });
  EXPECT_EQ(LevelsOf(SplitLines(ReadFile(current))), std::vector<std::string>{"info"});
  EXPECT_EQ(fs::file_size(LogDir() / "fw.1.log"), kRotateSize - 10);
  EXPECT_EQ(ReadFile(LogDir() / "fw.2.log"), "old 1\n");
  EXPECT_EQ(ReadFile(LogDir() / "fw.30.log"), "old 29\n");
  EXPECT_FALSE(fs::exists(LogDir() / "fw.31.log"));
}

TEST_F(LoggerInChild, BacktraceKeepsTheLast32MessagesWhateverTheirLevel) {
  const std::string conf = Config("[log]\nlevel = \"info\"\n");
  const std::string out = RunChild([&] {
    auto& log = Log::GetInstance(conf);
    for (int i = 0; i < 40; ++i) {
      log.logger_->debug("bt {}", i);
    }
    fmt::print("before dump\n");
    std::fflush(stdout);
    log.DumpBacktrace();
  });
  std::vector<int> dumped;
  const std::regex line(R"(.*\[debug\] bt (\d+))");
  bool beforeDump = true;
  for (const auto& l : SplitLines(out)) {
    std::smatch m;
    if (l == "before dump") {
      beforeDump = false;
    } else if (std::regex_match(l, m, line)) {
      EXPECT_FALSE(beforeDump) << "a debug message passed the info level: " << l;
      dumped.push_back(std::stoi(m[1]));
    }
  }
  std::vector<int> expected;
  for (int i = 8; i < 40; ++i) {
    expected.push_back(i);
  }
  EXPECT_EQ(dumped, expected) << out;
}

}  // namespace
}  // namespace quarx::util
