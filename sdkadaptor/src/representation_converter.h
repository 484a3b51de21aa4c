#pragma once
// Turns the camera SDK's number for a GenICam node's numeric representation into the system's own enumeration.

#include <unordered_map>

#include "sdkadaptor/src/quarx_types.h"

namespace quarx::sdkadaptor {

class RepresentationTypeConverter {
 public:
  // Takes the SDK's value as a plain int; a value without a row gives the fallback. Never throws.
  static RepresentationTypeEnum ConvertTo(int sdk_value) noexcept;

 private:
  static const std::unordered_map<int, RepresentationTypeEnum> convert_tables;
};

}  // namespace quarx::sdkadaptor
