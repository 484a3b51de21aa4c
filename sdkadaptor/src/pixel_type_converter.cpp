// Pixel formats to SDK pixel types.
#include "sdkadaptor/src/pixel_type_converter.h"

namespace quarx::sdkadaptor {

PvPixelType PixelTypeConverter::ConvertTo(const pixelformat::PixelFormat& format) { return format.GetValue(); }

}  // namespace quarx::sdkadaptor
