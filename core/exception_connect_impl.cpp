// The connection area's exception.
#include "core/exception_connect_impl.h"

#include "util/quarxlog.h"

namespace quarx::core {

const std::string ConnectExceptionImpl::ERRMSG_INVALID_VENDER =
    "The specified connction_id is invalid. Is supports only VELMORA camera.";
const std::string ConnectExceptionImpl::ERRMSG_NOT_CONNECTED = "Not connected to camera.";

ConnectExceptionImpl::ConnectExceptionImpl(const std::string& function, int line, ErrCodeDetail detail,
                                           const std::string& message)
    : ConnectException(RESULT_CONNECT, detail, message) {
  util::Log::GetInstance("").logger_->warn("<{}:{}>throw ConnectException err_code_detail({}) msg({})", function, line,
                                           static_cast<int>(detail), message);
}

}  // namespace quarx::core
