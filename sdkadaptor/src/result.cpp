// Turning camera SDK results into log lines and adaptor exceptions.
#include "sdkadaptor/src/result.h"

#include <algorithm>
#include <array>

#include "camerasdk/PvResult.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

// The SDK codes the adaptor passes on unchanged, sorted for binary search.
constexpr std::array<CodeEnum, 37> kKeptCodes = {
    0x0000, 0x0001, 0x0004, 0x0006, 0x0010, 0x0013, 0x0014, 0x0015, 0x0017, 0x0018, 0x0019, 0x001A, 0x001B,
    0x001C, 0x001D, 0x001E, 0x0025, 0x0027, 0x0028, 0x0201, 0x0202, 0x0303, 0x0501, 0x0602, 0x0603, 0x0604,
    0x0605, 0x0904, 0x0905, 0x0B00, 0x0B01, 0x0B02, 0x0B03, 0x4000, 0x4001, 0x4002, 0xFFFF,
};
constexpr CodeEnum kGenericError = 0x4000;
constexpr CodeEnum kBusy = 0x202;

}  // namespace

Result::Result() : code_(0), code_string_("Ok") {}

Result::Result(const PvResult& result)
    : code_(CodeEnumFromUint(result.GetCode())),
      description_(result.GetDescription().GetAscii()),
      code_string_(result.GetCodeString().GetAscii()) {}

Result::Result(unsigned int code, const std::string& code_string, const std::string& description)
    : code_(CodeEnumFromUint(code)), description_(description), code_string_(code_string) {}

CodeEnum Result::CodeEnumFromUint(unsigned int code) noexcept {
  return std::binary_search(kKeptCodes.begin(), kKeptCodes.end(), code) ? code : kGenericError;
}

bool Result::IsBusy(const PvResult& result) noexcept {
  return result.GetCode() == kBusy || (result.GetCode() == kGenericError && result.GetInternalCode() == kGenericError);
}

void Result::LoggingPvResult(const PvResult& result, const std::string& name) noexcept {
  try {
    auto& logger = util::Log::GetInstance("").logger_;
    if (result.IsFailure()) {
      logger->error("<{}> Result({}), Description({})", name, result.GetCodeString().GetAscii(),
                    result.GetDescription().GetAscii());
    } else {
      logger->trace("<{}> Result({}), Description({})", name, result.GetCodeString().GetAscii(),
                    result.GetDescription().GetAscii());
    }
  } catch (...) {
    // Logging must never turn a result into a failure of its own.
  }
}

void Result::ThrowExceptionWhenError(const PvResult& result, const std::string& file, unsigned int line) {
  if (!result.IsFailure()) {
    return;
  }
  util::Log::GetInstance("").logger_->warn("{} Result({}) File({}) Line({})", "ThrowExceptionWhenError",
                                           result.GetCodeString().GetAscii(), file, line);
  if (IsBusy(result)) {
    throw ExceptionSdkAdaptor(kBusy, "Device BUSY", result.GetDescription().GetAscii());
  }
  throw ExceptionSdkAdaptor(CodeEnumFromUint(result.GetCode()), result.GetCodeString().GetAscii(),
                            result.GetDescription().GetAscii());
}

}  // namespace quarx::sdkadaptor
