// The process logger as its configuration file sets it up: level, console or file under HOME,
// rotation. The logger is built once per process, so each case builds it in a forked child whose
// standard output goes to a file.
#include "util/quarxlog.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "tests/util/scratch_dir.h"

namespace quarx::util {
namespace {

namespace fs = std::filesystem;
using Levels = std::vector<std::string>;

const Levels kAll = {"trace", "debug", "info", "warning", "error", "critical"};
const Levels kFromInfo = {"info", "warning", "error", "critical"};
const char* kConsole = R"(\[quarx\]\[[0-9]{6}\.[0-9]{9}\])";
const char* kFile = R"(\[[0-9]{8}-[0-9]{6}\.[0-9]{9}\])";

std::string ReadFile(const fs::path& path, std::streamoff from = 0) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.seekg(from).rdbuf();
  return text.str();
}

// The level of each line "<stamp>[<level>] msg <level>"; any other line shows as itself.
Levels LevelsOf(const std::string& text, const char* stamp) {
  Levels levels;
  const std::regex message(std::string(stamp) + R"(\[(\w+)\] msg (\w+))");
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    levels.push_back(std::regex_match(line, m, message) && m[1] == m[2] ? m[1].str() : line);
  }
  return levels;
}

class LoggerInChild : public ::testing::Test {
 protected:
  LoggerInChild() {
    fs::create_directories(home_);
    fs::create_directories(cwd_);
  }
  fs::path LogDir() const { return home_ / ".quarx" / "log"; }

  // Builds the logger from `config` (its text; none: a missing file) in a child process with HOME
  // `home` (none: unset), logs one message per level (and `quoted` in an error message, unless
  // empty) and returns what the child printed.
  std::string LogAllLevels(const std::optional<std::string>& config, const std::optional<std::string>& home,
                           const std::string& quoted = "") {
    const std::string path = config ? dir_.Write("quarx.conf", *config) : (dir_.Path() / "absent.conf").string();
    const fs::path outPath = dir_.Path() / "stdout.txt";
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(cwd_.c_str()) != 0 || std::freopen(outPath.c_str(), "w", stdout) == nullptr) {
        _exit(4);
      }
      home ? setenv("HOME", home->c_str(), 1) : unsetenv("HOME");
      auto& logger = *Log::GetInstance(path).logger_;
      for (std::size_t level = 0; level < kAll.size(); ++level) {
        logger.log(static_cast<spdlog::level::level_enum>(level), "msg {}", kAll[level]);
      }
      if (!quoted.empty()) {
        logger.error("version({})", quoted);
      }
      logger.flush();
      std::fflush(stdout);
      _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    return ReadFile(outPath);
  }

  test::ScratchDir dir_;
  fs::path home_ = dir_.Path() / "home";
  fs::path cwd_ = dir_.Path() / "cwd";
};

TEST_F(LoggerInChild, ConfigurationSetsTheLevelAndTheConsoleOrAFileUnderHome) {
  const struct {
    const char* name;
    std::optional<std::string> config;
    Levels console;
    std::optional<std::string> file;  // under HOME's log directory
    Levels inFile;
  } kCases[] = {
      {"NoConfigurationFile", std::nullopt, {}, {}, {}},
      {"NotToml", "[log\nlevel = ", {}, {}, {}},
      {"Trace", "[log]\nlevel = \"trace\"\n", kAll, {}, {}},
      {"Warning", "[log]\nlevel = \"warning\"\n", {"warning", "error", "critical"}, {}, {}},
      // Names the logger does not know give info, even spdlog's own short names.
      {"UnknownLevelName", "[log]\nlevel = \"warn\"\n", kFromInfo, {}, {}},
      {"FileOfOtherType", "[log]\nlevel = \"info\"\nfilename = 5\n", kFromInfo, {}, {}},
      {"KeysInOtherTable", "[other]\nlevel = \"debug\"\nfilename = \"fw.log\"\n", {}, {}, {}},
      {"LevelAndFile", "[log]\nlevel = \"info\"\nfilename = \"fw.log\"\n", {}, "fw.log", kFromInfo},
      // A file without a usable level is still created, and stays empty.
      {"LevelOfOtherType", "[log]\nlevel = 3\nfilename = \"quiet.log\"\n", {}, "quiet.log", {}},
      {"FileInSubdirectories",
       "[log]\nlevel = \"error\"\nfilename = \"plant/line 3/fw.log\"\n",
       {},
       "plant/line 3/fw.log",
       {"error", "critical"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(home_ / ".quarx");
    EXPECT_EQ(LevelsOf(LogAllLevels(c.config, home_.string()), kConsole), c.console);
    EXPECT_EQ(fs::exists(home_ / ".quarx"), c.file.has_value());
    if (c.file) {
      ASSERT_TRUE(fs::is_regular_file(LogDir() / *c.file));
      EXPECT_EQ(LevelsOf(ReadFile(LogDir() / *c.file), kFile), c.inFile);
    }
    EXPECT_TRUE(fs::is_empty(cwd_));
  }
}

// Standard output carries what scripts parse, so the console is no stand-in for a log file that
// has no existing home to go into: nothing is logged then, and nothing is made anywhere.
TEST_F(LoggerInChild, LogFileGoesOnlyIntoAnExistingHome) {
  const std::string home = home_.string(), file = dir_.Write("plain-file", "");
  const std::string missing = (dir_.Path() / "nonexistent" / "x").string();
  const bool rootHadLogDir = fs::exists("/.quarx");
  // An existing home gets the log directory (and its file, read above); an empty name there names
  // the directory itself, which fails the tool (see the program's own tests).
  const std::pair<std::optional<std::string>, std::string> kCases[] = {
      {std::nullopt, ""}, {std::nullopt, "fw.log"}, {"", ""},   {"", "fw.log"},
      {missing, ""},      {missing, "fw.log"},      {file, ""}, {file, "fw.log"},
      {home, "fw.log"},
  };
  for (const auto& [homeDir, name] : kCases) {
    SCOPED_TRACE(homeDir.value_or("(unset)") + " / " + name);
    fs::remove_all(home_ / ".quarx");
    EXPECT_EQ(LogAllLevels("[log]\nlevel = \"info\"\nfilename = \"" + name + "\"\n", homeDir), "");
    EXPECT_EQ(fs::exists(LogDir()), homeDir == home);
    EXPECT_TRUE(!fs::exists(dir_.Path() / "nonexistent") && fs::is_regular_file(file) && fs::is_empty(cwd_));
    EXPECT_EQ(fs::exists("/.quarx"), rootHadLogDir);
  }
}

// A camera's version may hold anything: a line feed followed by a record of its own making,
// terminal controls. The file and the console both keep one record per line, shown as text.
TEST_F(LoggerInChild, QuotedTextsAreEscapedInTheFileAndOnTheConsoleAlike) {
  const std::string quoted = "2.0.0\n[20261207-000000.000000000][info] forged\x1b]0;x\x07 \xc2\x9b" "2J \xff\r";
  const std::string shown = R"(2.0.0\n[20261207-000000.000000000][info] forged\x1b]0;x\x07 \xc2\x9b2J \xff\r)";
  for (const bool toFile : {false, true}) {
    SCOPED_TRACE(toFile ? "file" : "console");
    fs::remove_all(home_ / ".quarx");
    const std::string printed = LogAllLevels(
        std::string("[log]\nlevel = \"error\"\n") + (toFile ? "filename = \"fw.log\"\n" : ""), home_.string(), quoted);
    const std::string text = toFile ? ReadFile(LogDir() / "fw.log") : printed;
    const std::string last = "[error] version(" + shown + ")\n";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
    EXPECT_TRUE(text.size() >= last.size() && text.compare(text.size() - last.size(), last.size(), last) == 0) << text;
  }
}

TEST_F(LoggerInChild, FileIsAppendedToAndRotatesWhenAMessageWouldPassFiftyMibKeepingThirtyFiles) {
  // A sparse current file 60 bytes below the limit, and a full set of rotated files marked by their number.
  constexpr std::uintmax_t kKept = 52428800 - 60;
  fs::create_directories(LogDir());
  const fs::path current = LogDir() / "fw.log";
  std::ofstream(current).close();
  fs::resize_file(current, kKept);
  for (int i = 1; i <= 30; ++i) {
    std::ofstream(LogDir() / fmt::format("fw.{}.log", i)) << "old " << i << "\n";
  }
  LogAllLevels("[log]\nlevel = \"warning\"\nfilename = \"fw.log\"\n", home_.string());
  // The first line (48 bytes) fits; the second would pass the size.
  EXPECT_EQ(LevelsOf(ReadFile(LogDir() / "fw.1.log", kKept), kFile), Levels{"warning"});
  EXPECT_EQ(LevelsOf(ReadFile(current), kFile), (Levels{"error", "critical"}));
  EXPECT_EQ(ReadFile(LogDir() / "fw.2.log"), "old 1\n");
  EXPECT_EQ(ReadFile(LogDir() / "fw.30.log"), "old 29\n");
  EXPECT_FALSE(fs::exists(LogDir() / "fw.31.log"));
}

}  // namespace
}  // namespace quarx::util
