#pragma once
// The SDK's result as a value record, and the one rule every SDK call follows:
// log the result under the caller's name, then throw when it is a failure.

#include <string>

#include "sdkadaptor/src/exception_sdk_adaptor.h"

class PvResult;

namespace quarx::sdkadaptor {

class Result {
 public:
  Result();
  explicit Result(const PvResult& result);
  Result(unsigned int code, const std::string& code_string, const std::string& description);

  CodeEnum GetCode() const { return code_; }
  std::string GetCodeString() const { return code_string_; }
  std::string GetDescription() const { return description_; }

  // The code itself when the adaptor keeps it, else 0x4000 (GenericError).
  static CodeEnum CodeEnumFromUint(unsigned int code) noexcept;
  static bool IsBusy(const PvResult& result) noexcept;
  static void LoggingPvResult(const PvResult& result, const std::string& name) noexcept;
  static void ThrowExceptionWhenError(const PvResult& result, const std::string& file, unsigned int line);

 private:
  CodeEnum code_;
  std::string description_;
  std::string code_string_;
};

}  // namespace quarx::sdkadaptor
