// The stream area's exception.
#include "core/exception_stream_impl.h"

#include "util/quarxlog.h"

namespace quarx::core {

const std::string StreamExceptionImpl::ERRMSG_NEGOTIATE_PACKET_SIZE = "Failed to Negotiate Packet Size";
const std::string StreamExceptionImpl::ERRMSG_STREAM_ALREADY_OPENED = "Stream is already opend.";
const std::string StreamExceptionImpl::ERRMSG_STREAM_INVALID_PRIORITY =
    "Invalid value for user mode deta receiver priority.";
const std::string StreamExceptionImpl::ERRMSG_STREAM_NOT_CREATED = "Stream does not exist.";
const std::string StreamExceptionImpl::ERRMSG_NOT_CONNECTED_CAMERA =
    "Need to connect to a camera before creating stream.";

StreamExceptionImpl::StreamExceptionImpl(const std::string& function, int line, ErrCodeDetail detail,
                                         const std::string& message)
    : StreamException(RESULT_STREAM, detail, message) {
  util::Log::GetInstance("").logger_->warn("<{}:{}>throw StreamException err_code_detail({}) msg({})", function, line,
                                           static_cast<int>(detail), message);
}

}  // namespace quarx::core
