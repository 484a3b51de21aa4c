// The logger's configuration file: table `log`, keys `level` and `filename`.
#include "util/log_config.h"

#include <cstdlib>
#include <exception>

namespace quarx::util {

LogConfig::LogConfig(const std::string& path) { Parse(path); }

void LogConfig::Parse(const std::string& path) {
  if (path.empty()) {
    return;
  }
  try {
    config_ = toml::parse(path);
  } catch (const std::exception&) {
    config_ = toml::value();
  }
}

std::string LogConfig::GetLogLevel() const {
  try {
    const auto& log = toml::find(config_, "log");
    return toml::find<std::string>(log, "level");
  } catch (const std::exception&) {
    return "off";
  }
}

std::string LogConfig::GetLogFileName() const {
  try {
    const auto& log = toml::find(config_, "log");
    return GetLogStorePath() + toml::find<std::string>(log, "filename");
  } catch (const std::exception&) {
    return "";
  }
}

std::string LogConfig::GetLogStorePath() const {
  // Without HOME there is no home directory to log into; the caller then logs nothing.
  const char* home = std::getenv("HOME");
  if (home == nullptr) {
    return "";
  }
  return std::string(home) + "/.quarx/log/";
}

}  // namespace quarx::util
