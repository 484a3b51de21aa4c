#pragma once
// Turns the system's access type for a GigE Vision connection into the camera SDK's.

#include <optional>
#include <unordered_map>

#include "camerasdk/PvGenTypes.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::sdkadaptor {

class AccessTypeConverter {
 public:
  // Empty for a value without a row: the caller decides what to ask for instead. Never throws.
  static std::optional<PvAccessType> ConvertTo(AccessTypeEnum access) noexcept;

 private:
  static const std::unordered_map<AccessTypeEnum, PvAccessType> convert_tables;
};

}  // namespace quarx::sdkadaptor
