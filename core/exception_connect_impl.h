#pragma once
// The connection area's exception as the core throws it: it logs one warning line when built.

#include <string>

#include "core/exception_core.h"

namespace quarx::core {

class ConnectExceptionImpl : public ConnectException {
 public:
  ConnectExceptionImpl(const std::string& function, int line, ErrCodeDetail detail, const std::string& message);

  static const std::string ERRMSG_INVALID_VENDER;
  static const std::string ERRMSG_NOT_CONNECTED;
};

}  // namespace quarx::core
