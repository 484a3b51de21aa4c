// An enumeration feature.
#include "core/feature_enum.h"

#include <exception>

#include "util/quarxlog.h"

namespace quarx::core {

FeatureEnum::FeatureEnum(const std::shared_ptr<sdkadaptor::GenEnum>& node) : Feature(node.get()), node_(node) {}

int64_t FeatureEnum::GetValueAsInt64() const {
  try {
    return node_->GetValueAsInt64();
  } catch (...) {
    RethrowAsFeatureException("GetValueAsInt64", __LINE__);
  }
}

void FeatureEnum::SetValue(const std::string& value) {
  try {
    node_->SetValue(value);
  } catch (...) {
    RethrowAsFeatureException("SetValue", __LINE__);
  }
}

void FeatureEnum::SetValue(uint64_t value) {
  try {
    node_->SetValue(value);
  } catch (...) {
    RethrowAsFeatureException("SetValue", __LINE__);
  }
}

std::vector<std::unique_ptr<FeatureEnumEntry>> FeatureEnum::GetEntries(bool availableOnly) const noexcept {
  std::vector<std::unique_ptr<FeatureEnumEntry>> entries;
  try {
    for (auto& entry : node_->GetEntries(availableOnly)) {
      entries.push_back(std::make_unique<FeatureEnumEntry>(std::move(entry)));
    }
  } catch (const std::exception& e) {
    std::string name;
    try {
      name = node_->GetName();
    } catch (...) {
      // Logged without the name rather than not at all.
    }
    try {
      util::Log::GetInstance("").logger_->error("<{}> {} invalid exception({})", "GetEntries", name, e.what());
    } catch (...) {
      // Nothing is left to report to.
    }
  }
  return entries;
}

}  // namespace quarx::core
