#pragma once
// Captures what the process logger writes while the capture lives, one message per line.

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <spdlog/sinks/ostream_sink.h>

#include "util/quarxlog.h"

namespace quarx::test {

class LogCapture {
 public:
  LogCapture() : sink_(std::make_shared<spdlog::sinks::ostream_sink_st>(stream_)) {
    auto& log = util::Log::GetInstance("");
    previous_level_ = log.logger_->level();
    sink_->set_pattern("[%l] %v");
    log.sink_->add_sink(sink_);
    log.logger_->set_level(spdlog::level::trace);
  }
  ~LogCapture() {
    auto& log = util::Log::GetInstance("");
    log.sink_->remove_sink(sink_);
    log.logger_->set_level(previous_level_);
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // Lines as "[level] message", level names "trace" ... "critical".
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(stream_.str());
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
    }
    return lines;
  }
  std::string Text() const { return stream_.str(); }

 private:
  std::ostringstream stream_;
  std::shared_ptr<spdlog::sinks::ostream_sink_st> sink_;
  spdlog::level::level_enum previous_level_ = spdlog::level::info;
};

}  // namespace quarx::test
