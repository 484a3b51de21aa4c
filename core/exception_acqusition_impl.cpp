// The acquisition area's exception.
#include "core/exception_acqusition_impl.h"

#include "util/quarxlog.h"

namespace quarx::core {

AcqusitionExceptionImpl::AcqusitionExceptionImpl(const std::string& function, int line, ErrCodeDetail detail,
                                                 const std::string& message)
    : AcqusitionException(RESULT_ACQUSITION, detail, message) {
  util::Log::GetInstance("").logger_->warn("<{}:{}>throw AcqusitionException err_code_detail({}) msg({})", function,
                                           line, static_cast<int>(detail), message);
}

}  // namespace quarx::core
