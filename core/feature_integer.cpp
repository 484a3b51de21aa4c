// An integer feature.
#include "core/feature_integer.h"

namespace quarx::core {

FeatureInteger::FeatureInteger(const std::shared_ptr<sdkadaptor::GenInteger>& node)
    : Feature(node.get()), node_(node) {}

int64_t FeatureInteger::GetIncrement() const {
  try {
    return node_->GetIncrement();
  } catch (...) {
    RethrowAsFeatureException("GetIncrement", __LINE__);
  }
}

std::pair<int64_t, int64_t> FeatureInteger::GetRange() const {
  try {
    return node_->GetRange();
  } catch (...) {
    RethrowAsFeatureException("GetRange", __LINE__);
  }
}

std::string FeatureInteger::GetUnit() const {
  try {
    return node_->GetUnit();
  } catch (...) {
    RethrowAsFeatureException("GetUnit", __LINE__);
  }
}

int64_t FeatureInteger::GetValue() const {
  try {
    return node_->GetValue();
  } catch (...) {
    RethrowAsFeatureException("GetValue", __LINE__);
  }
}

void FeatureInteger::SetValue(int64_t value) {
  try {
    node_->SetValue(value);
  } catch (...) {
    RethrowAsFeatureException("SetValue", __LINE__);
  }
}

quarx::RepresentationTypeEnum FeatureInteger::GetRepresentationType() const {
  try {
    return node_->GetRepresentationType();
  } catch (...) {
    RethrowAsFeatureException("GetRepresentationType", __LINE__);
  }
}

}  // namespace quarx::core
