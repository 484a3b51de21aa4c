// Codes and traits of the Bayer-mosaic formats of the naming convention.

#include "pixelformat/pfnc_pixel_format_bayer.h"

namespace quarx::pixelformat {

BayerBG8::BayerBG8() : AbstractPfncPixelFormat(0x0108000B, 8, kBayer | kColor) {}
BayerBG8::~BayerBG8() = default;

BayerBG10::BayerBG10() : AbstractPfncPixelFormat(0x0110000F, 10, kBayer | kColor) {}
BayerBG10::~BayerBG10() = default;

BayerBG10p::BayerBG10p() : AbstractPfncPixelFormat(0x010A0052, 10, kPacked | kBayer | kColor) {}
BayerBG10p::~BayerBG10p() = default;

BayerBG12::BayerBG12() : AbstractPfncPixelFormat(0x01100013, 12, kBayer | kColor) {}
BayerBG12::~BayerBG12() = default;

BayerBG12p::BayerBG12p() : AbstractPfncPixelFormat(0x010C0053, 12, kPacked | kBayer | kColor) {}
BayerBG12p::~BayerBG12p() = default;

BayerBG14::BayerBG14() : AbstractPfncPixelFormat(0x0110010C, 14, kBayer | kColor) {}
BayerBG14::~BayerBG14() = default;

BayerBG14p::BayerBG14p() : AbstractPfncPixelFormat(0x010E0108, 14, kPacked | kBayer | kColor) {}
BayerBG14p::~BayerBG14p() = default;

BayerBG16::BayerBG16() : AbstractPfncPixelFormat(0x01100031, 16, kBayer | kColor) {}
BayerBG16::~BayerBG16() = default;

BayerGB8::BayerGB8() : AbstractPfncPixelFormat(0x0108000A, 8, kBayer | kColor) {}
BayerGB8::~BayerGB8() = default;

BayerGB10::BayerGB10() : AbstractPfncPixelFormat(0x0110000E, 10, kBayer | kColor) {}
BayerGB10::~BayerGB10() = default;

BayerGB10p::BayerGB10p() : AbstractPfncPixelFormat(0x010A0054, 10, kPacked | kBayer | kColor) {}
BayerGB10p::~BayerGB10p() = default;

BayerGB12::BayerGB12() : AbstractPfncPixelFormat(0x01100012, 12, kBayer | kColor) {}
BayerGB12::~BayerGB12() = default;

BayerGB12p::BayerGB12p() : AbstractPfncPixelFormat(0x010C0055, 12, kPacked | kBayer | kColor) {}
BayerGB12p::~BayerGB12p() = default;

BayerGB14::BayerGB14() : AbstractPfncPixelFormat(0x0110010B, 14, kBayer | kColor) {}
BayerGB14::~BayerGB14() = default;

BayerGB14p::BayerGB14p() : AbstractPfncPixelFormat(0x010E0107, 14, kPacked | kBayer | kColor) {}
BayerGB14p::~BayerGB14p() = default;

BayerGB16::BayerGB16() : AbstractPfncPixelFormat(0x01100030, 16, kBayer | kColor) {}
BayerGB16::~BayerGB16() = default;

BayerGR8::BayerGR8() : AbstractPfncPixelFormat(0x01080008, 8, kBayer | kColor) {}
BayerGR8::~BayerGR8() = default;

BayerGR10::BayerGR10() : AbstractPfncPixelFormat(0x0110000C, 10, kBayer | kColor) {}
BayerGR10::~BayerGR10() = default;

BayerGR10p::BayerGR10p() : AbstractPfncPixelFormat(0x010A0056, 10, kPacked | kBayer | kColor) {}
BayerGR10p::~BayerGR10p() = default;

BayerGR12::BayerGR12() : AbstractPfncPixelFormat(0x01100010, 12, kBayer | kColor) {}
BayerGR12::~BayerGR12() = default;

BayerGR12p::BayerGR12p() : AbstractPfncPixelFormat(0x010C0057, 12, kPacked | kBayer | kColor) {}
BayerGR12p::~BayerGR12p() = default;

BayerGR14::BayerGR14() : AbstractPfncPixelFormat(0x01100109, 14, kBayer | kColor) {}
BayerGR14::~BayerGR14() = default;

BayerGR14p::BayerGR14p() : AbstractPfncPixelFormat(0x010E0105, 14, kPacked | kBayer | kColor) {}
BayerGR14p::~BayerGR14p() = default;

BayerGR16::BayerGR16() : AbstractPfncPixelFormat(0x0110002E, 16, kBayer | kColor) {}
BayerGR16::~BayerGR16() = default;

BayerRG8::BayerRG8() : AbstractPfncPixelFormat(0x01080009, 8, kBayer | kColor) {}
BayerRG8::~BayerRG8() = default;

BayerRG10::BayerRG10() : AbstractPfncPixelFormat(0x0110000D, 10, kBayer | kColor) {}
BayerRG10::~BayerRG10() = default;

BayerRG10p::BayerRG10p() : AbstractPfncPixelFormat(0x010A0058, 10, kPacked | kBayer | kColor) {}
BayerRG10p::~BayerRG10p() = default;

BayerRG12::BayerRG12() : AbstractPfncPixelFormat(0x01100011, 12, kBayer | kColor) {}
BayerRG12::~BayerRG12() = default;

BayerRG12p::BayerRG12p() : AbstractPfncPixelFormat(0x010C0059, 12, kPacked | kBayer | kColor) {}
BayerRG12p::~BayerRG12p() = default;

BayerRG14::BayerRG14() : AbstractPfncPixelFormat(0x0110010A, 14, kBayer | kColor) {}
BayerRG14::~BayerRG14() = default;

BayerRG14p::BayerRG14p() : AbstractPfncPixelFormat(0x010E0106, 14, kPacked | kBayer | kColor) {}
BayerRG14p::~BayerRG14p() = default;

BayerRG16::BayerRG16() : AbstractPfncPixelFormat(0x0110002F, 16, kBayer | kColor) {}
BayerRG16::~BayerRG16() = default;

}  // namespace quarx::pixelformat
