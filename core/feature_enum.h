#pragma once
// An enumeration feature: its value by number or by entry name, and its entries.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/feature.h"
#include "core/feature_enum_entry.h"
#include "sdkadaptor/src/gen_enum.h"

namespace quarx::core {

class FeatureEnum : public Feature {
 public:
  explicit FeatureEnum(const std::shared_ptr<sdkadaptor::GenEnum>& node);

  int64_t GetValueAsInt64() const;
  void SetValue(const std::string& value);
  void SetValue(uint64_t value);
  // Entries in the camera's order; with availableOnly the unavailable ones are left out.
  // Never throws: a failure is logged and ends the list early.
  std::vector<std::unique_ptr<FeatureEnumEntry>> GetEntries(bool availableOnly) const noexcept;

 private:
  std::shared_ptr<sdkadaptor::GenEnum> node_;
};

}  // namespace quarx::core
