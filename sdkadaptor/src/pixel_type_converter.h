#pragma once
// A pixel format as the camera SDK's pixel type: both number formats by the GenICam PFNC code.

#include "camerasdk/PvPixelType.h"
#include "pixelformat/pixel_format.h"

namespace quarx::sdkadaptor {

class PixelTypeConverter {
 public:
  static PvPixelType ConvertTo(const pixelformat::PixelFormat& format);
};

}  // namespace quarx::sdkadaptor
