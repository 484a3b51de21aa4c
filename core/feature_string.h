#pragma once
// A string feature.

#include <cstdint>
#include <memory>
#include <string>

#include "core/feature.h"
#include "sdkadaptor/src/gen_string.h"

namespace quarx::core {

class FeatureString : public Feature {
 public:
  explicit FeatureString(const std::shared_ptr<sdkadaptor::GenString>& node);

  int64_t GetMaxLength() const;
  std::string GetValue() const;
  void SetValue(const std::string& value);

 private:
  std::shared_ptr<sdkadaptor::GenString> node_;
};

}  // namespace quarx::core
