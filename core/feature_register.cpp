// A register feature.
#include "core/feature_register.h"

namespace quarx::core {

FeatureRegister::FeatureRegister(const std::shared_ptr<sdkadaptor::GenRegister>& node)
    : Feature(node.get()), node_(node) {}

}  // namespace quarx::core
