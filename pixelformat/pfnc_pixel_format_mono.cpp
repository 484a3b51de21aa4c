// Codes and traits of the monochrome formats of the naming convention.

#include "pixelformat/pfnc_pixel_format_mono.h"

namespace quarx::pixelformat {

Mono8::Mono8() : AbstractPfncPixelFormat(0x01080001, 8, kPlain) {}
Mono8::~Mono8() = default;

Mono8s::Mono8s() : AbstractPfncPixelFormat(0x01080002, 8, kPlain) {}
Mono8s::~Mono8s() = default;

Mono10::Mono10() : AbstractPfncPixelFormat(0x01100003, 10, kPlain) {}
Mono10::~Mono10() = default;

Mono10p::Mono10p() : AbstractPfncPixelFormat(0x010A0046, 10, kPacked) {}
Mono10p::~Mono10p() = default;

Mono12::Mono12() : AbstractPfncPixelFormat(0x01100005, 12, kPlain) {}
Mono12::~Mono12() = default;

Mono12p::Mono12p() : AbstractPfncPixelFormat(0x010C0047, 12, kPacked) {}
Mono12p::~Mono12p() = default;

Mono14::Mono14() : AbstractPfncPixelFormat(0x01100025, 14, kPlain) {}
Mono14::~Mono14() = default;

Mono14p::Mono14p() : AbstractPfncPixelFormat(0x010E0104, 14, kPacked) {}
Mono14p::~Mono14p() = default;

Mono16::Mono16() : AbstractPfncPixelFormat(0x01100007, 16, kPlain) {}
Mono16::~Mono16() = default;

Mono32::Mono32() : AbstractPfncPixelFormat(0x01200111, 32, kPlain) {}
Mono32::~Mono32() = default;

}  // namespace quarx::pixelformat
