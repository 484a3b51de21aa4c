#pragma once
// The update engine's public exception: what callers of the package reader and the step executor catch.

#include "core/exception_core.h"

namespace quarx::fwupdate {

class FWUpdateException : public CoreException {
 public:
  using CoreException::CoreException;
};

}  // namespace quarx::fwupdate
