// The SDK's numeric representations keep their numbers; its "undefined" and anything unknown fold into ours.
#include "sdkadaptor/src/representation_converter.h"

namespace quarx::sdkadaptor {
namespace {
constexpr int kSdkRepresentationUndefined = 999;
}  // namespace

const std::unordered_map<int, RepresentationTypeEnum> RepresentationTypeConverter::convert_tables = {
    {0, RepresentationTypeEnum::Linear},
    {1, RepresentationTypeEnum::Logarithmic},
    {2, RepresentationTypeEnum::Boolean},
    {3, RepresentationTypeEnum::PureNumber},
    {4, RepresentationTypeEnum::HexNumber},
    {kSdkRepresentationUndefined, RepresentationTypeEnum::Undefined},
};

RepresentationTypeEnum RepresentationTypeConverter::ConvertTo(int sdk_value) noexcept {
  const auto it = convert_tables.find(sdk_value);
  return it == convert_tables.end() ? RepresentationTypeEnum::Undefined : it->second;
}

}  // namespace quarx::sdkadaptor
