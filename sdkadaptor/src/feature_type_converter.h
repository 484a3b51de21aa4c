#pragma once
// Turns the camera SDK's number for a GenICam node's type into the system's own enumeration.

#include <unordered_map>

#include "sdkadaptor/src/quarx_types.h"

namespace quarx::sdkadaptor {

class FeatureTypeConverter {
 public:
  // Takes the SDK's value as a plain int; a value without a row gives the fallback. Never throws.
  static FeatureTypeEnum ConvertTo(int sdk_value) noexcept;

 private:
  static const std::unordered_map<int, FeatureTypeEnum> convert_tables;
};

}  // namespace quarx::sdkadaptor
