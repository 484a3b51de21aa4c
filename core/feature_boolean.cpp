// A boolean feature.
#include "core/feature_boolean.h"

namespace quarx::core {

FeatureBoolean::FeatureBoolean(const std::shared_ptr<sdkadaptor::GenBoolean>& node) : Feature(node.get()), node_(node) {}

bool FeatureBoolean::GetValue() const {
  try {
    return node_->GetValue();
  } catch (...) {
    RethrowAsFeatureException("GetValue", __LINE__);
  }
}

void FeatureBoolean::SetValue(bool value) {
  try {
    node_->SetValue(value);
  } catch (...) {
    RethrowAsFeatureException("SetValue", __LINE__);
  }
}

}  // namespace quarx::core
