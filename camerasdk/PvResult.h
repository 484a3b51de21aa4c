#pragma once
// The outcome of a camera SDK operation: a code, an internal code and two texts.

#include <cstdint>
#include <string>

#include "camerasdk/PvString.h"

class PvResult {
 public:
  // The codes the stand-in produces; they keep the SDK's numbering.
  struct Code {
    static constexpr std::uint32_t OK = 0x0000;
    static constexpr std::uint32_t NOT_INITIALIZED = 0x0605;
    static constexpr std::uint32_t NOT_FOUND = 0x0019;
    static constexpr std::uint32_t CANNOT_OPEN_FILE = 0x0006;
    static constexpr std::uint32_t NOT_CONNECTED = 0x0017;
    static constexpr std::uint32_t NOT_SUPPORTED = 0x001A;
    static constexpr std::uint32_t TIMEOUT = 0x001E;
    static constexpr std::uint32_t INVALID_PARAMETER = 0x0010;
    static constexpr std::uint32_t ABORTED = 0x001B;
    static constexpr std::uint32_t BUSY = 0x0202;
    static constexpr std::uint32_t BUFFER_TOO_SMALL = 0x0004;
    static constexpr std::uint32_t STATE_ERROR = 0x001C;
    static constexpr std::uint32_t MISSING_PACKETS = 0x0027;
    static constexpr std::uint32_t GENERIC_ERROR = 0x4000;
  };

  PvResult() = default;
  explicit PvResult(std::uint32_t code, const std::string& description = std::string());
  PvResult(std::uint32_t code, std::uint32_t internal_code, const std::string& description);

  bool IsOK() const { return code_ == Code::OK; }
  bool IsFailure() const { return code_ != Code::OK; }
  std::uint32_t GetCode() const { return code_; }
  std::uint32_t GetInternalCode() const { return internal_code_; }
  PvString GetCodeString() const;
  PvString GetDescription() const { return PvString(description_); }

 private:
  std::uint32_t code_ = Code::OK;
  std::uint32_t internal_code_ = 0;
  std::string description_;
};
