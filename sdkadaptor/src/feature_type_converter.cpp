// The SDK numbers node types in its own order (integer, enumeration, boolean, string, command, float,
// register); this maps them onto the system's order.
#include "sdkadaptor/src/feature_type_converter.h"

namespace quarx::sdkadaptor {
namespace {
constexpr int kSdkTypeUndefined = 999;
}  // namespace

const std::unordered_map<int, FeatureTypeEnum> FeatureTypeConverter::convert_tables = {
    {0, FeatureTypeEnum::Integer},
    {1, FeatureTypeEnum::Enum},
    {2, FeatureTypeEnum::Boolean},
    {3, FeatureTypeEnum::String},
    {4, FeatureTypeEnum::Command},
    {5, FeatureTypeEnum::Float},
    {6, FeatureTypeEnum::Register},
    {kSdkTypeUndefined, FeatureTypeEnum::Undefined},
};

FeatureTypeEnum FeatureTypeConverter::ConvertTo(int sdk_value) noexcept {
  const auto it = convert_tables.find(sdk_value);
  return it == convert_tables.end() ? FeatureTypeEnum::Undefined : it->second;
}

}  // namespace quarx::sdkadaptor
