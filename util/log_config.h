#pragma once
// Reads the TOML configuration that chooses the log level and the log file.

#include <string>

#include <toml.hpp>

namespace quarx::util {

class LogConfig {
 public:
  explicit LogConfig(const std::string& path);

  // Problems with the file never surface: an unreadable or broken file leaves the document empty.
  void Parse(const std::string& path);

  std::string GetLogLevel() const;
  // Empty when there is no name or no log directory to put it in.
  std::string GetLogFileName() const;
  // Whether the configuration names a log file (the empty name too).
  bool NamesLogFile() const;
  // Empty unless HOME names an existing directory.
  std::string GetLogStorePath() const;

 private:
  toml::value config_;
};

}  // namespace quarx::util
