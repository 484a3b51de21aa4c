// The SDK numbers its access types from 2; the system's start at 0 with Control.
#include "sdkadaptor/src/access_type_converter.h"

namespace quarx::sdkadaptor {

const std::unordered_map<AccessTypeEnum, PvAccessType> AccessTypeConverter::convert_tables = {
    {AccessTypeEnum::Control, PvAccessControl},
    {AccessTypeEnum::Exclusive, PvAccessExclusive},
    {AccessTypeEnum::ReadOnly, PvAccessReadOnly},
};

std::optional<PvAccessType> AccessTypeConverter::ConvertTo(AccessTypeEnum access) noexcept {
  const auto it = convert_tables.find(access);
  return it == convert_tables.end() ? std::nullopt : std::optional<PvAccessType>(it->second);
}

}  // namespace quarx::sdkadaptor
