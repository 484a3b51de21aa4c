#pragma once
// The library's public exception family: an area (result code), what failed (detail code) and a message.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quarx {

// The area that failed.
enum ResultCode : std::int32_t {
  RESULT_ACQUSITION = 1,
  RESULT_CONNECT = 2,
  RESULT_STREAM = 3,
  RESULT_FILE_TRANSFER = 4,
  RESULT_FWUPDATE = 5,
  RESULT_DEVICE = 7,
  RESULT_FEATURE = 9,
};

// What failed; one value can serve several areas, the class tells which.
enum ErrCodeDetail : std::int32_t {
  ERR_UNSUPPORTED_FILE_EXTENSION = 0,
  ERR_FAILED = 1,
  ERR_INVALID_DEVICE_TYPE = 2,
  ERR_NOT_CONNECTED = 4,
  ERR_FILE_WRITE = 7,
  ERR_UNCLASSIFIED = 900,
  ERR_ACQUSITION_RETRIEVE = 1000,
  ERR_ACQUSITION_RETRIEVE_OTHER = 1001,
  ERR_ACQUSITION_START = 1002,
  ERR_ACQUSITION_STOP = 1003,
  ERR_ACQUSITION_1004 = 1004,
  ERR_ACQUSITION_1005 = 1005,
  ERR_ACQUSITION_1006 = 1006,
  ERR_ACQUSITION_1007 = 1007,
  ERR_CONNECT = 2000,
  ERR_DISCONNECT = 2001,
  ERR_INVALID_VENDOR = 2002,
  ERR_FEATURE = 3000,
  ERR_FEATURE_NOT_READABLE = 3001,
  ERR_FEATURE_NOT_WRITABLE = 3002,
  ERR_UPDATE_STEP = 4002,
  ERR_UPDATE_ZIP = 4003,
  ERR_UPDATE_CONTROL_XML_CONTENT = 4004,
  ERR_UPDATE_FILE = 4005,
  ERR_STREAM_CREATE = 6000,
  ERR_STREAM_RELEASE_BUFFERS = 6001,
  ERR_STREAM_PRIORITY_OPEN = 6002,
};

class CoreException : public std::runtime_error {
 public:
  CoreException(ResultCode result, ErrCodeDetail detail, const std::string& message)
      : std::runtime_error(message), result_(result), detail_(detail), message_(message) {}

  ResultCode GetResultCode() const { return result_; }
  ErrCodeDetail GetErrCodeDetail() const { return detail_; }
  const std::string& GetMessage() const { return message_; }

 private:
  ResultCode result_;
  ErrCodeDetail detail_;
  std::string message_;
};

class ConnectException : public CoreException {
 public:
  using CoreException::CoreException;
};

class StreamException : public CoreException {
 public:
  using CoreException::CoreException;
};

class AcqusitionException : public CoreException {
 public:
  using CoreException::CoreException;
};

class FeatureException : public CoreException {
 public:
  using CoreException::CoreException;
};

}  // namespace quarx
