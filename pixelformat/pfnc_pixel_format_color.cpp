// Codes and traits of the RGB and BGR formats, with and without alpha, of the naming convention.

#include "pixelformat/pfnc_pixel_format_color.h"

namespace quarx::pixelformat {

RGB8::RGB8() : AbstractPfncPixelFormat(0x02180014, 8, kColor) {}
RGB8::~RGB8() = default;

RGB10::RGB10() : AbstractPfncPixelFormat(0x02300018, 10, kColor) {}
RGB10::~RGB10() = default;

RGB10p::RGB10p() : AbstractPfncPixelFormat(0x021E005C, 10, kPacked | kColor) {}
RGB10p::~RGB10p() = default;

RGB12::RGB12() : AbstractPfncPixelFormat(0x0230001A, 12, kColor) {}
RGB12::~RGB12() = default;

RGB12p::RGB12p() : AbstractPfncPixelFormat(0x0224005D, 12, kPacked | kColor) {}
RGB12p::~RGB12p() = default;

RGB14::RGB14() : AbstractPfncPixelFormat(0x0230005E, 14, kColor) {}
RGB14::~RGB14() = default;

RGB16::RGB16() : AbstractPfncPixelFormat(0x02300033, 16, kColor) {}
RGB16::~RGB16() = default;

RGB10p32::RGB10p32() : AbstractPfncPixelFormat(0x0220001D, 10, kPacked | kColor) {}
RGB10p32::~RGB10p32() = default;

RGBa8::RGBa8() : AbstractPfncPixelFormat(0x02200016, 8, kColor | kAlpha) {}
RGBa8::~RGBa8() = default;

RGBa10::RGBa10() : AbstractPfncPixelFormat(0x0240005F, 10, kColor | kAlpha) {}
RGBa10::~RGBa10() = default;

RGBa10p::RGBa10p() : AbstractPfncPixelFormat(0x02280060, 10, kPacked | kColor | kAlpha) {}
RGBa10p::~RGBa10p() = default;

RGBa12::RGBa12() : AbstractPfncPixelFormat(0x02400061, 12, kColor | kAlpha) {}
RGBa12::~RGBa12() = default;

RGBa12p::RGBa12p() : AbstractPfncPixelFormat(0x02300062, 12, kPacked | kColor | kAlpha) {}
RGBa12p::~RGBa12p() = default;

RGBa14::RGBa14() : AbstractPfncPixelFormat(0x02400063, 14, kColor | kAlpha) {}
RGBa14::~RGBa14() = default;

RGBa16::RGBa16() : AbstractPfncPixelFormat(0x02400064, 16, kColor | kAlpha) {}
RGBa16::~RGBa16() = default;

BGR8::BGR8() : AbstractPfncPixelFormat(0x02180015, 8, kColor) {}
BGR8::~BGR8() = default;

BGR10::BGR10() : AbstractPfncPixelFormat(0x02300019, 10, kColor) {}
BGR10::~BGR10() = default;

BGR10p::BGR10p() : AbstractPfncPixelFormat(0x021E0048, 10, kPacked | kColor) {}
BGR10p::~BGR10p() = default;

BGR12::BGR12() : AbstractPfncPixelFormat(0x0230001B, 12, kColor) {}
BGR12::~BGR12() = default;

BGR12p::BGR12p() : AbstractPfncPixelFormat(0x02240049, 12, kPacked | kColor) {}
BGR12p::~BGR12p() = default;

BGR14::BGR14() : AbstractPfncPixelFormat(0x0230004A, 14, kColor) {}
BGR14::~BGR14() = default;

BGR16::BGR16() : AbstractPfncPixelFormat(0x0230004B, 16, kColor) {}
BGR16::~BGR16() = default;

BGRa8::BGRa8() : AbstractPfncPixelFormat(0x02200017, 8, kColor | kAlpha) {}
BGRa8::~BGRa8() = default;

BGRa10::BGRa10() : AbstractPfncPixelFormat(0x0240004C, 10, kColor | kAlpha) {}
BGRa10::~BGRa10() = default;

BGRa10p::BGRa10p() : AbstractPfncPixelFormat(0x0228004D, 10, kPacked | kColor | kAlpha) {}
BGRa10p::~BGRa10p() = default;

BGRa12::BGRa12() : AbstractPfncPixelFormat(0x0240004E, 12, kColor | kAlpha) {}
BGRa12::~BGRa12() = default;

BGRa12p::BGRa12p() : AbstractPfncPixelFormat(0x0230004F, 12, kPacked | kColor | kAlpha) {}
BGRa12p::~BGRa12p() = default;

BGRa14::BGRa14() : AbstractPfncPixelFormat(0x02400050, 14, kColor | kAlpha) {}
BGRa14::~BGRa14() = default;

BGRa16::BGRa16() : AbstractPfncPixelFormat(0x02400051, 16, kColor | kAlpha) {}
BGRa16::~BGRa16() = default;

}  // namespace quarx::pixelformat
