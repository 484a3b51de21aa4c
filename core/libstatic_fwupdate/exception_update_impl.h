#pragma once
// The update engine's exception as the engine throws it: it logs one warning line when built.

#include <string>

#include "core/libstatic_fwupdate/exception_update.h"

namespace quarx::core::fwupdate {

class FWUpdateExceptionImpl : public quarx::fwupdate::FWUpdateException {
 public:
  FWUpdateExceptionImpl(const std::string& function, int line, ErrCodeDetail detail, const std::string& message);
};

}  // namespace quarx::core::fwupdate
