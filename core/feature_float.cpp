// A floating-point feature.
#include "core/feature_float.h"

namespace quarx::core {

FeatureFloat::FeatureFloat(const std::shared_ptr<sdkadaptor::GenFloat>& node) : Feature(node.get()), node_(node) {}

std::pair<double, double> FeatureFloat::GetRange() const {
  try {
    return node_->GetRange();
  } catch (...) {
    RethrowAsFeatureException("GetRange", __LINE__);
  }
}

std::string FeatureFloat::GetUnit() const {
  try {
    return node_->GetUnit();
  } catch (...) {
    RethrowAsFeatureException("GetUnit", __LINE__);
  }
}

double FeatureFloat::GetValue() const {
  try {
    return node_->GetValue();
  } catch (...) {
    RethrowAsFeatureException("GetValue", __LINE__);
  }
}

void FeatureFloat::SetValue(double value) {
  try {
    node_->SetValue(value);
  } catch (...) {
    RethrowAsFeatureException("SetValue", __LINE__);
  }
}

quarx::RepresentationTypeEnum FeatureFloat::GetRepresentationType() const {
  try {
    return node_->GetRepresentationType();
  } catch (...) {
    RethrowAsFeatureException("GetRepresentationType", __LINE__);
  }
}

}  // namespace quarx::core
