// The SDK's four GenICam visibility levels keep their numbers; its "undefined" and anything unknown fold into ours.
#include "sdkadaptor/src/visibility_converter.h"

namespace quarx::sdkadaptor {
namespace {
constexpr int kSdkVisibilityUndefined = 999;
}  // namespace

const std::unordered_map<int, VisibilityTypeEnum> VisibilityConverter::convert_tables = {
    {0, VisibilityTypeEnum::Beginner},
    {1, VisibilityTypeEnum::Expert},
    {2, VisibilityTypeEnum::Guru},
    {3, VisibilityTypeEnum::Invisible},
    {kSdkVisibilityUndefined, VisibilityTypeEnum::Undefined},
};

VisibilityTypeEnum VisibilityConverter::ConvertTo(int sdk_value) noexcept {
  const auto it = convert_tables.find(sdk_value);
  return it == convert_tables.end() ? VisibilityTypeEnum::Undefined : it->second;
}

}  // namespace quarx::sdkadaptor
