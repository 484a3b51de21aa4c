// The fixed tables from the SDK's enumerations to the system's own, fallbacks included.
#include <gtest/gtest.h>

#include "sdkadaptor/src/device_interface_type_converter.h"
#include "sdkadaptor/src/feature_type_converter.h"
#include "sdkadaptor/src/representation_converter.h"
#include "sdkadaptor/src/visibility_converter.h"

namespace quarx::sdkadaptor {
namespace {

template <typename Enum>
struct Row {
  int sdk;
  Enum own;
};

TEST(Converters, RepresentationKeepsItsNumbersAndFoldsTheRestIntoUndefined) {
  const Row<RepresentationTypeEnum> rows[] = {
      {0, RepresentationTypeEnum::Linear},     {1, RepresentationTypeEnum::Logarithmic},
      {2, RepresentationTypeEnum::Boolean},    {3, RepresentationTypeEnum::PureNumber},
      {4, RepresentationTypeEnum::HexNumber},  {999, RepresentationTypeEnum::Undefined},
      {7, RepresentationTypeEnum::Undefined},  {-1, RepresentationTypeEnum::Undefined},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(RepresentationTypeConverter::ConvertTo(row.sdk), row.own) << row.sdk;
  }
}

TEST(Converters, VisibilityKeepsItsNumbersAndFoldsTheRestIntoUndefined) {
  const Row<VisibilityTypeEnum> rows[] = {
      {0, VisibilityTypeEnum::Beginner},  {1, VisibilityTypeEnum::Expert},     {2, VisibilityTypeEnum::Guru},
      {3, VisibilityTypeEnum::Invisible}, {999, VisibilityTypeEnum::Undefined}, {4, VisibilityTypeEnum::Undefined},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(VisibilityConverter::ConvertTo(row.sdk), row.own) << row.sdk;
  }
}

TEST(Converters, NodeTypesAreReorderedAndUnknownOnesUndefined) {
  const Row<FeatureTypeEnum> rows[] = {
      {0, FeatureTypeEnum::Integer}, {1, FeatureTypeEnum::Enum},      {2, FeatureTypeEnum::Boolean},
      {3, FeatureTypeEnum::String},  {4, FeatureTypeEnum::Command},   {5, FeatureTypeEnum::Float},
      {6, FeatureTypeEnum::Register}, {999, FeatureTypeEnum::Undefined}, {7, FeatureTypeEnum::Undefined},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FeatureTypeConverter::ConvertTo(row.sdk), row.own) << row.sdk;
  }
}

TEST(Converters, DeviceTypeOneIsOtherWhileTwoAndThreeAreUsb3Vision) {
  const Row<DeviceInterfaceTypeEnum> rows[] = {
      {0, DeviceInterfaceTypeEnum::GEV},   {1, DeviceInterfaceTypeEnum::Other}, {2, DeviceInterfaceTypeEnum::U3V},
      {3, DeviceInterfaceTypeEnum::U3V},   {-1, DeviceInterfaceTypeEnum::Other}, {4, DeviceInterfaceTypeEnum::Other},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(DeviceInterfaceTypeConverter::ConvertTo(row.sdk), row.own) << row.sdk;
  }
}

}  // namespace
}  // namespace quarx::sdkadaptor
