#pragma once
// A register feature: offered for its common operations only; its raw bytes are not exposed.

#include <memory>

#include "core/feature.h"
#include "sdkadaptor/src/gen_register.h"

namespace quarx::core {

class FeatureRegister : public Feature {
 public:
  explicit FeatureRegister(const std::shared_ptr<sdkadaptor::GenRegister>& node);

 private:
  std::shared_ptr<sdkadaptor::GenRegister> node_;
};

}  // namespace quarx::core
