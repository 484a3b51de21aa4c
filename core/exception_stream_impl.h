#pragma once
// The stream area's exception as the core throws it: it logs one warning line when built.

#include <string>

#include "core/exception_core.h"

namespace quarx::core {

class StreamExceptionImpl : public StreamException {
 public:
  StreamExceptionImpl(const std::string& function, int line, ErrCodeDetail detail, const std::string& message);

  static const std::string ERRMSG_NEGOTIATE_PACKET_SIZE;
  static const std::string ERRMSG_STREAM_ALREADY_OPENED;
  static const std::string ERRMSG_STREAM_INVALID_PRIORITY;
  static const std::string ERRMSG_STREAM_NOT_CREATED;
  static const std::string ERRMSG_NOT_CONNECTED_CAMERA;
};

}  // namespace quarx::core
