#pragma once
// Small enumerations shared by the adaptor and the device core; the adaptor converts
// the camera SDK's values into these so that the core never sees the SDK's own.

#include <cstdint>

namespace quarx {

enum class DeviceInterfaceTypeEnum : std::uint16_t { GEV = 0, U3V = 1, Other = 2 };

enum class FeatureTypeEnum : std::uint16_t {
  Integer = 0,
  Float = 1,
  String = 2,
  Enum = 3,
  Boolean = 4,
  Command = 5,
  Register = 6,
  Undefined = 7,
};

enum class VisibilityTypeEnum : std::uint16_t { Beginner = 0, Expert = 1, Guru = 2, Invisible = 3, Undefined = 4 };

enum class RepresentationTypeEnum : std::uint16_t {
  Linear = 0,
  Logarithmic = 1,
  Boolean = 2,
  PureNumber = 3,
  HexNumber = 4,
  Undefined = 5,
};

// Access requested when connecting a GigE Vision camera; 0 is the only value the tool passes.
enum class AccessTypeEnum : std::uint16_t { Control = 0, Exclusive = 1, ReadOnly = 2 };

namespace sdkadaptor {

enum class BufferFormatType : std::uint16_t { BMP = 0, TIF = 1, RAW = 2 };

enum class GenOpenMode : std::uint16_t { Write = 0, Read = 1 };

}  // namespace sdkadaptor
}  // namespace quarx
