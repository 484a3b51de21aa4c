// Names of the stand-in's result codes.
#include "camerasdk/PvResult.h"

#include <map>

// A generic error whose internal code is generic too means "busy" to its readers, so a plain
// generic error carries no internal code.
PvResult::PvResult(std::uint32_t code, const std::string& description)
    : code_(code), internal_code_(code == Code::GENERIC_ERROR ? 0 : code), description_(description) {}

PvResult::PvResult(std::uint32_t code, std::uint32_t internal_code, const std::string& description)
    : code_(code), internal_code_(internal_code), description_(description) {}

PvString PvResult::GetCodeString() const {
  static const std::map<std::uint32_t, const char*> kNames = {
      {Code::OK, "OK"},
      {Code::NOT_INITIALIZED, "NotInitialized"},
      {Code::NOT_FOUND, "NotFound"},
      {Code::CANNOT_OPEN_FILE, "CannotOpenFile"},
      {Code::NOT_CONNECTED, "NotConnected"},
      {Code::NOT_SUPPORTED, "NotSupported"},
      {Code::TIMEOUT, "Timeout"},
      {Code::INVALID_PARAMETER, "InvalidParameter"},
      {Code::ABORTED, "Aborted"},
      {Code::BUSY, "Busy"},
      {Code::BUFFER_TOO_SMALL, "BufferTooSmall"},
      {Code::STATE_ERROR, "StateError"},
      {Code::MISSING_PACKETS, "MissingPackets"},
      {Code::GENERIC_ERROR, "GenericError"},
  };
  const auto it = kNames.find(code_);
  return PvString(it == kNames.end() ? "Unknown" : it->second);
}
