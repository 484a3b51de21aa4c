// The logger's configuration file: which level and log file each configuration gives.
#include "util/log_config.h"

#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/util/scratch_dir.h"

namespace quarx::util {
namespace {

// Sets HOME (or unsets it, for nullptr) for one test and puts the old value back afterwards.
class HomeOverride {
 public:
  explicit HomeOverride(const char* home)
      : old_(std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt) {
    home != nullptr ? setenv("HOME", home, 1) : unsetenv("HOME");
  }
  ~HomeOverride() { old_ ? setenv("HOME", old_->c_str(), 1) : unsetenv("HOME"); }

 private:
  std::optional<std::string> old_;
};

TEST(LogConfig, GivesLevelAndFileUnderTheHomeLogDirectoryOrFallsBackSilently) {
  const struct {
    const char* name;
    std::optional<std::string> content;  // none: the path names a directory
    const char* level;
    std::optional<std::string> fileName;  // under the log directory; none when no file is configured
  } kCases[] = {
      {"Directory", std::nullopt, "off", std::nullopt},
      {"NotToml", "[log\nlevel = ", "off", std::nullopt},
      {"LevelAndFile", "[log]\nlevel = \"error\"\nfilename = \"fw.log\"\n", "error", "fw.log"},
      {"FileOnly", "[log]\nfilename = \"fw.log\"\n", "off", "fw.log"},
      // The name is appended unchanged: no separator, no normalisation.
      {"FileWithDirectories", "[log]\nfilename = \"a/../b/fw.log\"\n", "off", "a/../b/fw.log"},
      // The level text is passed on as written; only the logger decides that "warn" means info.
      {"LevelNameNotKnown", "[log]\nlevel = \"warn\"\n", "warn", std::nullopt},
      {"LevelOfOtherType", "[log]\nlevel = 3\nfilename = \"fw.log\"\n", "off", "fw.log"},
      {"FileOfOtherType", "[log]\nlevel = \"info\"\nfilename = 5\n", "info", std::nullopt},
      {"KeysInOtherTable", "[other]\nlevel = \"debug\"\nfilename = \"fw.log\"\n", "off", std::nullopt},
      {"LogIsNoTable", "log = \"debug\"\n", "off", std::nullopt},
      // An empty name still gives a path: the log directory itself, which the logger cannot open.
      {"EmptyFileName", "[log]\nfilename = \"\"\n", "off", ""},
  };
  HomeOverride home("/home/tester");
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    test::ScratchDir dir;
    const LogConfig config(c.content ? dir.Write("quarx.conf", *c.content) : dir.Path().string());
    EXPECT_EQ(config.GetLogLevel(), c.level);
    EXPECT_EQ(config.GetLogFileName(), c.fileName ? "/home/tester/.quarx/log/" + *c.fileName : "");
  }
}

TEST(LogConfig, EmptyOrMissingPathReadsNothingAndWithoutHomeThereIsNoLogDirectory) {
  for (const char* path : {"", "/nonexistent/quarx.conf"}) {
    const LogConfig config(path);
    EXPECT_EQ(config.GetLogLevel(), "off") << path;
    EXPECT_EQ(config.GetLogFileName(), "") << path;
  }
  HomeOverride noHome(nullptr);
  EXPECT_EQ(LogConfig("").GetLogStorePath(), "");
}

}  // namespace
}  // namespace quarx::util
