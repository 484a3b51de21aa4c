#pragma once
// The acquisition area's exception as the core throws it: it logs one warning line when built.

#include <string>

#include "core/exception_core.h"

namespace quarx::core {

class AcqusitionExceptionImpl : public AcqusitionException {
 public:
  AcqusitionExceptionImpl(const std::string& function, int line, ErrCodeDetail detail, const std::string& message);
};

}  // namespace quarx::core
