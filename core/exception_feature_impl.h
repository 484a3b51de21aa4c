#pragma once
// The feature area's exception as the core throws it: it logs one warning line when built.

#include <string>

#include "core/exception_core.h"

namespace quarx::core {

class FeatureExceptionImpl : public FeatureException {
 public:
  FeatureExceptionImpl(const std::string& function, int line, ErrCodeDetail detail, const std::string& message);

  // A failure the camera SDK reported for a feature, classified by the SDK description.
  static FeatureExceptionImpl Create(const std::string& function, int line, const std::string& feature_name,
                                     int sdk_code, const std::string& sdk_description);
};

}  // namespace quarx::core
