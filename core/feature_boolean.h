#pragma once
// A boolean feature.

#include <memory>

#include "core/feature.h"
#include "sdkadaptor/src/gen_boolean.h"

namespace quarx::core {

class FeatureBoolean : public Feature {
 public:
  explicit FeatureBoolean(const std::shared_ptr<sdkadaptor::GenBoolean>& node);

  bool GetValue() const;
  void SetValue(bool value);

 private:
  std::shared_ptr<sdkadaptor::GenBoolean> node_;
};

}  // namespace quarx::core
