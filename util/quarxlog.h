#pragma once
// The one process-wide logger, configured once from the TOML configuration file.

#include <memory>
#include <string>

#include <spdlog/logger.h>
#include <spdlog/sinks/dist_sink.h>

namespace quarx::util {

class Log {
 public:
  // The first call builds the logger from `path`; later calls ignore their argument.
  static Log& GetInstance(const std::string& path);

  void SetLogLevel(const std::string& level);
  void DumpBacktrace();
  void Initialize(const std::string& level);
  void Initialize(const std::string& level, const std::string& filename);

  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;
  ~Log();

  std::shared_ptr<spdlog::logger> logger_;
  std::shared_ptr<spdlog::sinks::dist_sink<spdlog::details::null_mutex>> sink_;

 private:
  explicit Log(const std::string& path);
};

}  // namespace quarx::util
