// The logger's configuration file: table `log`, keys `level` and `filename`.
#include "util/log_config.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <system_error>

namespace quarx::util {

LogConfig::LogConfig(const std::string& path) { Parse(path); }

void LogConfig::Parse(const std::string& path) {
  if (path.empty()) {
    return;
  }
  // The TOML reader sizes its buffer from the stream's length: a directory reports none and it
  // asks for an 8 EiB buffer; a FIFO would block the tool. Neither is a configuration file.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    config_ = toml::value();
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
  const std::string store = GetLogStorePath();
  if (store.empty() || !NamesLogFile()) {
    return "";
  }
  return store + toml::find<std::string>(toml::find(config_, "log"), "filename");
}

bool LogConfig::NamesLogFile() const {
  try {
    toml::find<std::string>(toml::find(config_, "log"), "filename");
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::string LogConfig::GetLogStorePath() const {
  // The log directory is made only inside a home that exists: an unset or empty HOME would put
  // it under the working directory or the root, and a missing one (the home of "nobody") must
  // stay missing. There the caller logs nothing.
  const char* home = std::getenv("HOME");
  std::error_code error;
  if (home == nullptr || *home == '\0' || !std::filesystem::is_directory(home, error)) {
    return "";
  }
  return std::string(home) + "/.quarx/log/";
}

}  // namespace quarx::util
