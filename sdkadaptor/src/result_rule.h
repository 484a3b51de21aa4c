#pragma once
// The rule every SDK call of the adaptor follows: log the result under the calling
// operation's name, then throw when it is a failure. File and line are the caller's.

#include <string>

#include "camerasdk/PvResult.h"
#include "sdkadaptor/src/result.h"

namespace quarx::sdkadaptor {

inline void ApplyResultRule(const PvResult& result, const std::string& name, const char* file, unsigned int line) {
  Result::LoggingPvResult(result, name);
  Result::ThrowExceptionWhenError(result, file, line);
}

}  // namespace quarx::sdkadaptor
