// One entry of an enumeration feature; failures are reported under the entry's own name.
#include "core/feature_enum_entry.h"

#include "core/feature.h"

namespace quarx::core {

FeatureEnumEntry::FeatureEnumEntry(std::unique_ptr<sdkadaptor::InterfaceGenEnumEntry> entry)
    : entry_(std::move(entry)) {}

void FeatureEnumEntry::RethrowAsFeatureException(const std::string& function, int line) const {
  std::string name;
  try {
    name = entry_->GetName();
  } catch (...) {
    // The failure being reported matters more than the name that goes with it.
  }
  core::RethrowAsFeatureException(function, function, line, name);
}

bool FeatureEnumEntry::IsAvailable() const { return entry_->IsAvailable(); }

std::string FeatureEnumEntry::GetDescription() const {
  try {
    return entry_->GetDescription();
  } catch (...) {
    RethrowAsFeatureException("GetDescription", __LINE__);
  }
}

std::string FeatureEnumEntry::GetDisplayName() const {
  try {
    return entry_->GetDisplayName();
  } catch (...) {
    RethrowAsFeatureException("GetDisplayName", __LINE__);
  }
}

std::string FeatureEnumEntry::GetName() const {
  try {
    return entry_->GetName();
  } catch (...) {
    RethrowAsFeatureException("GetName", __LINE__);
  }
}

std::string FeatureEnumEntry::GetToolTip() const {
  try {
    return entry_->GetToolTip();
  } catch (...) {
    RethrowAsFeatureException("GetToolTip", __LINE__);
  }
}

quarx::VisibilityTypeEnum FeatureEnumEntry::GetVisibility() const {
  try {
    return entry_->GetVisibility();
  } catch (...) {
    RethrowAsFeatureException("GetVisibility", __LINE__);
  }
}

int64_t FeatureEnumEntry::GetValue() const {
  try {
    return entry_->GetValue();
  } catch (...) {
    RethrowAsFeatureException("GetValue", __LINE__);
  }
}

}  // namespace quarx::core
