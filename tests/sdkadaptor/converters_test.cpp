// Every row of the adaptor's fixed conversion tables, written out here from the tables that
// define them, so that changing any one row fails; and the fallbacks for values without a row.
// Own values are compared as numbers: that pins the numbering of the enumerations too.
#include <gtest/gtest.h>

#include <stdexcept>

#include "pixelformat/pixel_format.h"
#include "sdkadaptor/src/access_type_converter.h"
#include "sdkadaptor/src/buffer_format_converter.h"
#include "sdkadaptor/src/device_interface_type_converter.h"
#include "sdkadaptor/src/feature_type_converter.h"
#include "sdkadaptor/src/pixel_type_converter.h"
#include "sdkadaptor/src/representation_converter.h"
#include "sdkadaptor/src/visibility_converter.h"

namespace quarx::sdkadaptor {
namespace {

constexpr int kNoRow = -100;  // the own-to-SDK tables have no fallback of their own

int Representation(int sdk) { return static_cast<int>(RepresentationTypeConverter::ConvertTo(sdk)); }
int Visibility(int sdk) { return static_cast<int>(VisibilityConverter::ConvertTo(sdk)); }
int NodeType(int sdk) { return static_cast<int>(FeatureTypeConverter::ConvertTo(sdk)); }
int InterfaceType(int sdk) { return static_cast<int>(DeviceInterfaceTypeConverter::ConvertTo(sdk)); }
int Access(int own) {
  const auto sdk = AccessTypeConverter::ConvertTo(static_cast<AccessTypeEnum>(own));
  return sdk ? static_cast<int>(*sdk) : kNoRow;
}
int BufferFormat(int own) {
  try {
    return BufferFormatConverter::ConvertTo(static_cast<BufferFormatType>(own));
  } catch (const std::out_of_range&) {
    return kNoRow;
  }
}
int PixelType(int code) {
  return static_cast<int>(PixelTypeConverter::ConvertTo(pixelformat::PixelFormat::Create(code)));
}

TEST(Converters, EveryRowOfEveryFixedTableAndTheValuesWithoutARow) {
  const struct {
    const char* table;
    int (*convert)(int);
    int from, to;
  } kRows[] = {
      {"representation", Representation, 0, 0},           // Linear
      {"representation", Representation, 1, 1},           // Logarithmic
      {"representation", Representation, 2, 2},           // Boolean
      {"representation", Representation, 3, 3},           // PureNumber
      {"representation", Representation, 4, 4},           // HexNumber
      {"representation", Representation, 999, 5},         // Undefined
      {"representation", Representation, 5, 5},           // no row
      {"representation", Representation, -1, 5},          // no row
      {"visibility", Visibility, 0, 0},                   // Beginner
      {"visibility", Visibility, 1, 1},                   // Expert
      {"visibility", Visibility, 2, 2},                   // Guru
      {"visibility", Visibility, 3, 3},                   // Invisible
      {"visibility", Visibility, 999, 4},                 // Undefined
      {"visibility", Visibility, 4, 4},                   // no row
      {"visibility", Visibility, -1, 4},                  // no row
      {"node type", NodeType, 0, 0},                      // integer: Integer
      {"node type", NodeType, 1, 3},                      // enumeration: Enum
      {"node type", NodeType, 2, 4},                      // boolean: Boolean
      {"node type", NodeType, 3, 2},                      // string: String
      {"node type", NodeType, 4, 5},                      // command: Command
      {"node type", NodeType, 5, 1},                      // float: Float
      {"node type", NodeType, 6, 6},                      // register: Register
      {"node type", NodeType, 999, 7},                    // Undefined
      {"node type", NodeType, 7, 7},                      // no row
      {"node type", NodeType, -1, 7},                     // no row
      {"interface type", InterfaceType, 0, 0},            // GEV
      {"interface type", InterfaceType, 1, 2},            // Other
      {"interface type", InterfaceType, 2, 1},            // U3V
      {"interface type", InterfaceType, 3, 1},            // U3V
      {"interface type", InterfaceType, -1, 2},           // 0xFFFFFFFF: Other
      {"interface type", InterfaceType, 4, 2},            // no row
      {"access", Access, 0, 2},                           // Control
      {"access", Access, 1, 3},                           // Exclusive
      {"access", Access, 2, 4},                           // ReadOnly
      {"access", Access, 3, kNoRow},                      // the caller asks for Control
      {"buffer format", BufferFormat, 0, 0},              // BMP
      {"buffer format", BufferFormat, 1, 2},              // TIF
      {"buffer format", BufferFormat, 2, 1},              // RAW
      {"buffer format", BufferFormat, 3, kNoRow},         // std::out_of_range
      {"pixel type", PixelType, 0x01080001, 0x01080001},  // Mono8: the PFNC code unchanged
      {"pixel type", PixelType, 0x01100011, 0x01100011},  // BayerRG12
      {"pixel type", PixelType, 0x02180015, 0x02180015},  // BGR8
      {"pixel type", PixelType, 0x010C0006, 0x010C0006},  // Mono12Packed, a GigE Vision 2 code
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(row.convert(row.from), row.to) << row.table << " " << row.from;
  }
}

}  // namespace
}  // namespace quarx::sdkadaptor
