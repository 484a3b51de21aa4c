// A string feature.
#include "core/feature_string.h"

namespace quarx::core {

FeatureString::FeatureString(const std::shared_ptr<sdkadaptor::GenString>& node) : Feature(node.get()), node_(node) {}

int64_t FeatureString::GetMaxLength() const {
  try {
    return node_->GetMaxLength();
  } catch (...) {
    RethrowAsFeatureException("GetMaxLength", __LINE__);
  }
}

std::string FeatureString::GetValue() const {
  try {
    return node_->GetValue();
  } catch (...) {
    RethrowAsFeatureException("GetValue", __LINE__);
  }
}

void FeatureString::SetValue(const std::string& value) {
  try {
    node_->SetValue(value);
  } catch (...) {
    RethrowAsFeatureException("SetValue", __LINE__);
  }
}

}  // namespace quarx::core
