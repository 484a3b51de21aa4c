#pragma once
// An integer feature.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "core/feature.h"
#include "sdkadaptor/src/gen_integer.h"

namespace quarx::core {

class FeatureInteger : public Feature {
 public:
  explicit FeatureInteger(const std::shared_ptr<sdkadaptor::GenInteger>& node);

  int64_t GetIncrement() const;
  // (minimum, maximum)
  std::pair<int64_t, int64_t> GetRange() const;
  std::string GetUnit() const;
  int64_t GetValue() const;
  void SetValue(int64_t value);
  quarx::RepresentationTypeEnum GetRepresentationType() const;

 private:
  std::shared_ptr<sdkadaptor::GenInteger> node_;
};

}  // namespace quarx::core
