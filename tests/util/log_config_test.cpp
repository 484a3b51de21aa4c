// The logger's configuration file: which level and log file each configuration gives.
#include "util/log_config.h"

#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/util/scratch_dir.h"

namespace quarx::util {
namespace {

// Sets HOME for one test and puts the old value back afterwards.
class HomeOverride {
 public:
  explicit HomeOverride(const char* home) {
    if (const char* old = std::getenv("HOME")) {
      old_ = old;
    }
    if (home != nullptr) {
      setenv("HOME", home, 1);
    } else {
      unsetenv("HOME");
    }
  }
  ~HomeOverride() {
    if (old_) {
      setenv("HOME", old_->c_str(), 1);
    } else {
      unsetenv("HOME");
    }
  }

 private:
  std::optional<std::string> old_;
};

struct ConfigCase {
  const char* name;
  std::optional<std::string> content;  // no file at all when empty
  std::string level;
  std::optional<std::string> fileName;  // under the log directory; none when no file is configured
};

void PrintTo(const ConfigCase& c, std::ostream* os) { *os << c.name; }

class LogConfigFile : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(LogConfigFile, GivesLevelAndFileOrFallsBackSilently) {
  const ConfigCase& c = GetParam();
  test::ScratchDir dir;
  HomeOverride home("/home/tester");
  const std::string path = c.content ? dir.Write("quarx.conf", *c.content) : (dir.Path() / "missing.conf").string();
  const LogConfig config(path);
  EXPECT_EQ(config.GetLogLevel(), c.level);
  EXPECT_EQ(config.GetLogFileName(), c.fileName ? "/home/tester/.quarx/log/" + *c.fileName : "");
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, LogConfigFile,
    ::testing::Values(
        ConfigCase{"Missing", std::nullopt, "off", {}}, ConfigCase{"Empty", "", "off", {}},
        ConfigCase{"NotToml", "[log\nlevel = ", "off", {}},
        ConfigCase{"LevelOnly", "[log]\nlevel = \"debug\"\n", "debug", {}},
        ConfigCase{"LevelAndFile", "[log]\nlevel = \"error\"\nfilename = \"fw.log\"\n", "error", "fw.log"},
        ConfigCase{"FileOnly", "[log]\nfilename = \"fw.log\"\n", "off", "fw.log"},
        // The name is appended unchanged: no separator, no normalisation.
        ConfigCase{"FileWithDirectories", "[log]\nfilename = \"a/../b/fw.log\"\n", "off", "a/../b/fw.log"},
        // The level text is passed on as written; only the logger decides that "warn" means info.
        ConfigCase{"LevelNameNotKnown", "[log]\nlevel = \"warn\"\n", "warn", {}},
        ConfigCase{"LevelOfOtherType", "[log]\nlevel = 3\nfilename = \"fw.log\"\n", "off", "fw.log"},
        ConfigCase{"FileOfOtherType", "[log]\nlevel = \"info\"\nfilename = 5\n", "info", {}},
        ConfigCase{"KeysInOtherTable", "[other]\nlevel = \"debug\"\nfilename = \"fw.log\"\n", "off", {}},
        ConfigCase{"LogIsNoTable", "log = \"debug\"\n", "off", {}},
        ConfigCase{"OtherTablesIgnored", "[x]\ny = 1\n[log]\nlevel = \"trace\"\nextra = true\n", "trace", {}},
        // An empty name still gives a path: the log directory itself, which the logger cannot open.
        ConfigCase{"EmptyFileName", "[log]\nfilename = \"\"\n", "off", ""}),
    [](const ::testing::TestParamInfo<ConfigCase>& info) { return std::string(info.param.name); });

TEST(LogConfig, EmptyPathReadsNothing) {
  const LogConfig config("");
  EXPECT_EQ(config.GetLogLevel(), "off");
  EXPECT_EQ(config.GetLogFileName(), "");
}

TEST(LogConfig, DirectoryAsConfigurationCountsAsUnreadable) {
  test::ScratchDir dir;
  const LogConfig config(dir.Path().string());
  EXPECT_EQ(config.GetLogLevel(), "off");
}

TEST(LogConfig, StorePathIsHomeWithLogDirectoryAndEmptyWithoutHome) {
  {
    HomeOverride home("/var/tmp/me");
    EXPECT_EQ(LogConfig("").GetLogStorePath(), "/var/tmp/me/.quarx/log/");
  }
  HomeOverride noHome(nullptr);
  EXPECT_EQ(LogConfig("").GetLogStorePath(), "");
}

}  // namespace
}  // namespace quarx::util
