// The SDK's device-information types: 0 is GigE Vision, 2 and 3 are the two USB forms, and 1 is a
// transport the system does not drive.
#include "sdkadaptor/src/device_interface_type_converter.h"

namespace quarx::sdkadaptor {
namespace {
constexpr int kSdkTypeUnknown = -1;  // 0xFFFFFFFF as the SDK stores it
}  // namespace

const std::unordered_map<int, DeviceInterfaceTypeEnum> DeviceInterfaceTypeConverter::convert_tables = {
    {0, DeviceInterfaceTypeEnum::GEV},
    {1, DeviceInterfaceTypeEnum::Other},
    {2, DeviceInterfaceTypeEnum::U3V},
    {3, DeviceInterfaceTypeEnum::U3V},
    {kSdkTypeUnknown, DeviceInterfaceTypeEnum::Other},
};

DeviceInterfaceTypeEnum DeviceInterfaceTypeConverter::ConvertTo(int sdk_value) noexcept {
  const auto it = convert_tables.find(sdk_value);
  return it == convert_tables.end() ? DeviceInterfaceTypeEnum::Other : it->second;
}

}  // namespace quarx::sdkadaptor
