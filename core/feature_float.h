#pragma once
// A floating-point feature.

#include <memory>
#include <string>
#include <utility>

#include "core/feature.h"
#include "sdkadaptor/src/gen_float.h"

namespace quarx::core {

class FeatureFloat : public Feature {
 public:
  explicit FeatureFloat(const std::shared_ptr<sdkadaptor::GenFloat>& node);

  // (minimum, maximum)
  std::pair<double, double> GetRange() const;
  std::string GetUnit() const;
  double GetValue() const;
  void SetValue(double value);
  quarx::RepresentationTypeEnum GetRepresentationType() const;

 private:
  std::shared_ptr<sdkadaptor::GenFloat> node_;
};

}  // namespace quarx::core
