// Core exceptions whose area the thrower chooses.
#include "core/exception_core_impl.h"

#include "sdkadaptor/src/exception_sdk_adaptor.h"

namespace quarx::core {

const char* const CoreExceptionImpl::ERRMSG_UNSUPPORT_FILE_EXTENSION = "Unsupported file extension";

CoreExceptionImpl::CoreExceptionImpl(const std::string& /*function*/, ResultCode result, ErrCodeDetail detail,
                                     const std::string& message)
    : CoreException(result, detail, message) {}

std::string SdkAdaptorMessage(const sdkadaptor::ExceptionSdkAdaptor& e) {
  return e.GetCodeString() + ", " + e.GetDescription();
}

}  // namespace quarx::core
