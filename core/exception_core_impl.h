#pragma once
// Core exceptions whose area the thrower chooses, and the text an adaptor failure becomes at the core's boundary.

#include <string>

#include "core/exception_core.h"

namespace quarx::sdkadaptor {
class ExceptionSdkAdaptor;
}

namespace quarx::core {

class CoreExceptionImpl : public CoreException {
 public:
  // Logs nothing: its throwers log where they need to.
  CoreExceptionImpl(const std::string& function, ResultCode result, ErrCodeDetail detail, const std::string& message);

  static const char* const ERRMSG_UNSUPPORT_FILE_EXTENSION;
};

// "<code string>, <description>": how an adaptor failure reads once it is a core exception.
std::string SdkAdaptorMessage(const sdkadaptor::ExceptionSdkAdaptor& e);

}  // namespace quarx::core
