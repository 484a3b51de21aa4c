// The process-wide logger: a distribution sink feeding a rotating file or the colour console.
#include "util/quarxlog.h"

#include <cstdlib>
#include <map>
#include <string_view>

#include <spdlog/formatter.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/ansicolor_sink.h>
#include <spdlog/sinks/rotating_file_sink.h>

#include "util/log_config.h"
#include "util/printable_text.h"

namespace quarx::util {
namespace {

constexpr std::size_t kMaxLogFileSize = 52428800;
constexpr std::size_t kMaxLogFiles = 30;
constexpr std::size_t kBacktraceMessages = 32;

// Messages quote camera and package texts (a version, a file name from control.xml). Escaped
// as on the console, a line feed in one cannot forge a record of its own, and a log read on a
// terminal sends it no commands. Only the message is escaped: the rest of the line is ours.
class EscapingFormatter : public spdlog::formatter {
 public:
  explicit EscapingFormatter(std::unique_ptr<spdlog::formatter> inner) : inner_(std::move(inner)) {}

  void format(const spdlog::details::log_msg& msg, spdlog::memory_buf_t& dest) override {
    const std::string text = PrintableText(std::string_view(msg.payload.data(), msg.payload.size()));
    spdlog::details::log_msg escaped = msg;
    escaped.payload = text;
    inner_->format(escaped, dest);
  }

  std::unique_ptr<spdlog::formatter> clone() const override {
    return std::make_unique<EscapingFormatter>(inner_->clone());
  }

 private:
  std::unique_ptr<spdlog::formatter> inner_;
};

std::unique_ptr<spdlog::formatter> EscapingPattern(const std::string& pattern) {
  return std::make_unique<EscapingFormatter>(std::make_unique<spdlog::pattern_formatter>(pattern));
}

}  // namespace

Log& Log::GetInstance(const std::string& path) {
  static Log instance(path);
  return instance;
}

Log::Log(const std::string& path) {
  std::string level = "info";
  std::string file = "quarx.log";
  bool placeable = true;
  if (!path.empty()) {
    LogConfig config(path);
    level = config.GetLogLevel();
    file = config.GetLogFileName();
    // A log file with no existing home to go into goes nowhere: the console is no stand-in,
    // since standard output carries what scripts parse.
    placeable = !file.empty() || !config.NamesLogFile();
  }
  sink_ = std::make_shared<spdlog::sinks::dist_sink<spdlog::details::null_mutex>>();
  logger_ = std::make_shared<spdlog::logger>("quarx", sink_);
  logger_->enable_backtrace(kBacktraceMessages);
  if (!placeable) {
    level = "off";  // and no output sink at all, whatever level is set later
  } else if (!file.empty()) {
    Initialize(level, file);
  } else {
    Initialize("info");
  }
  SetLogLevel(level);
  logger_->flush_on(spdlog::level::warn);
}

Log::~Log() {
  sink_.reset();
  logger_.reset();
}

void Log::SetLogLevel(const std::string& level) {
  static const std::map<std::string, spdlog::level::level_enum> kLevels = {
      {"trace", spdlog::level::trace},  {"debug", spdlog::level::debug}, {"info", spdlog::level::info},
      {"warning", spdlog::level::warn}, {"error", spdlog::level::err},   {"critical", spdlog::level::critical},
      {"off", spdlog::level::off},
  };
  const auto it = kLevels.find(level);
  logger_->set_level(it == kLevels.end() ? spdlog::level::info : it->second);
}

void Log::DumpBacktrace() { logger_->dump_backtrace(); }

void Log::Initialize(const std::string& /*level*/) {
  auto console = std::make_shared<spdlog::sinks::ansicolor_stdout_sink_mt>(spdlog::color_mode::automatic);
  console->set_formatter(EscapingPattern("[quarx][%H%M%S.%F][%l] %v"));
  sink_->add_sink(console);
}

void Log::Initialize(const std::string& /*level*/, const std::string& filename) {
  auto file = std::make_shared<spdlog::sinks::rotating_file_sink_mt>(filename, kMaxLogFileSize, kMaxLogFiles, false);
  file->set_formatter(EscapingPattern("[%Y%m%d-%H%M%S.%F][%l] %v"));
  sink_->add_sink(file);
}

}  // namespace quarx::util
