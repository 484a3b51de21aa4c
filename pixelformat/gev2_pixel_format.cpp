// Codes and traits of the GigE Vision 2 packed formats that cameras still send next to the naming convention's own.

#include "pixelformat/gev2_pixel_format.h"

namespace quarx::pixelformat {

Mono10Packed::Mono10Packed() : AbstractGev2PixelFormat(0x010C0004, 10, kPacked) {}
Mono10Packed::~Mono10Packed() = default;

Mono12Packed::Mono12Packed() : AbstractGev2PixelFormat(0x010C0006, 12, kPacked) {}
Mono12Packed::~Mono12Packed() = default;

BayerGR10Packed::BayerGR10Packed() : AbstractGev2PixelFormat(0x010C0026, 10, kPacked | kBayer | kColor) {}
BayerGR10Packed::~BayerGR10Packed() = default;

BayerRG10Packed::BayerRG10Packed() : AbstractGev2PixelFormat(0x010C0027, 10, kPacked | kBayer | kColor) {}
BayerRG10Packed::~BayerRG10Packed() = default;

BayerGB10Packed::BayerGB10Packed() : AbstractGev2PixelFormat(0x010C0028, 10, kPacked | kBayer | kColor) {}
BayerGB10Packed::~BayerGB10Packed() = default;

BayerBG10Packed::BayerBG10Packed() : AbstractGev2PixelFormat(0x010C0029, 10, kPacked | kBayer | kColor) {}
BayerBG10Packed::~BayerBG10Packed() = default;

BayerGR12Packed::BayerGR12Packed() : AbstractGev2PixelFormat(0x010C002A, 12, kPacked | kBayer | kColor) {}
BayerGR12Packed::~BayerGR12Packed() = default;

BayerRG12Packed::BayerRG12Packed() : AbstractGev2PixelFormat(0x010C002B, 12, kPacked | kBayer | kColor) {}
BayerRG12Packed::~BayerRG12Packed() = default;

BayerGB12Packed::BayerGB12Packed() : AbstractGev2PixelFormat(0x010C002C, 12, kPacked | kBayer | kColor) {}
BayerGB12Packed::~BayerGB12Packed() = default;

BayerBG12Packed::BayerBG12Packed() : AbstractGev2PixelFormat(0x010C002D, 12, kPacked | kBayer | kColor) {}
BayerBG12Packed::~BayerBG12Packed() = default;

RGB10V1Packed::RGB10V1Packed() : AbstractGev2PixelFormat(0x0220001C, 10, kPacked | kColor) {}
RGB10V1Packed::~RGB10V1Packed() = default;

RGB12V1Packed::RGB12V1Packed() : AbstractGev2PixelFormat(0x02240034, 12, kPacked | kColor) {}
RGB12V1Packed::~RGB12V1Packed() = default;

}  // namespace quarx::pixelformat
