#pragma once
// One entry of an enumeration feature.

#include <cstdint>
#include <memory>
#include <string>

#include "sdkadaptor/src/gen_enum_entry.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::core {

class FeatureEnumEntry {
 public:
  explicit FeatureEnumEntry(std::unique_ptr<sdkadaptor::InterfaceGenEnumEntry> entry);
  virtual ~FeatureEnumEntry() = default;
  FeatureEnumEntry(const FeatureEnumEntry&) = delete;
  FeatureEnumEntry& operator=(const FeatureEnumEntry&) = delete;

  bool IsAvailable() const;
  std::string GetDescription() const;
  std::string GetDisplayName() const;
  std::string GetName() const;
  std::string GetToolTip() const;
  quarx::VisibilityTypeEnum GetVisibility() const;
  int64_t GetValue() const;

 private:
  [[noreturn]] void RethrowAsFeatureException(const std::string& function, int line) const;

  std::unique_ptr<sdkadaptor::InterfaceGenEnumEntry> entry_;
};

}  // namespace quarx::core
