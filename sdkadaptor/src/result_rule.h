#pragma once
// The rule every SDK call of the adaptor follows: log the result under the calling
// operation's name, then throw when it is a failure. File and line are the caller's.

#include <string>

#include "camerasdk/PvResult.h"
#include "sdkadaptor/src/result.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {

inline void ApplyResultRule(const PvResult& result, const std::string& name, const char* file, unsigned int line) {
  Result::LoggingPvResult(result, name);
  Result::ThrowExceptionWhenError(result, file, line);
}

// For operations that promise not to throw: reports what the layers below threw, and lets
// not even a failing log line escape.
inline void LogSwallowed(const char* name, const char* what) noexcept {
  try {
    util::Log::GetInstance("").logger_->error("<{}> {}", name, what);
  } catch (...) {
  }
}

}  // namespace quarx::sdkadaptor
