// The update engine's exception.
#include "core/libstatic_fwupdate/exception_update_impl.h"

#include "util/quarxlog.h"

namespace quarx::core::fwupdate {

FWUpdateExceptionImpl::FWUpdateExceptionImpl(const std::string& function, int line, ErrCodeDetail detail,
                                             const std::string& message)
    : FWUpdateException(RESULT_FWUPDATE, detail, message) {
  util::Log::GetInstance("").logger_->warn("<{}:{}>throw FWUpdateException err_code_detail({}) msg({})", function, line,
                                           static_cast<int>(detail), message);
}

}  // namespace quarx::core::fwupdate
