#pragma once
// The unpacked pixel types, the one table of them: the traits of the pixel types and the lines
// of a stored picture both read it. Never included outside camerasdk/.

#include <array>
#include <cstdint>

#include "camerasdk/PvPixelType.h"
#include "camerasdk/bayer_demosaic.h"

namespace camerasdk_detail {

enum class PixelKind { Mono, Bayer, Rgb, Bgr };

struct UnpackedPixelType {
  PvPixelType type;
  PixelKind kind;
  uint8_t significantBits;
  BayerOrder order;  // of Bayer types
};

// The pixel types image files hold. Samples deeper than 8 bits occupy two bytes, little-endian,
// as GigE Vision and USB3 Vision send them.
inline constexpr std::array<UnpackedPixelType, 27> kUnpackedPixelTypes = {{
    {PvPixelMono8, PixelKind::Mono, 8, BayerOrder::RG},  // Mono8
    {0x01100003, PixelKind::Mono, 10, BayerOrder::RG},   // Mono10
    {0x01100005, PixelKind::Mono, 12, BayerOrder::RG},   // Mono12
    {0x01100025, PixelKind::Mono, 14, BayerOrder::RG},   // Mono14
    {0x01100007, PixelKind::Mono, 16, BayerOrder::RG},   // Mono16
    {PvPixelRGB8, PixelKind::Rgb, 8, BayerOrder::RG},    // RGB8
    {PvPixelBGR8, PixelKind::Bgr, 8, BayerOrder::RG},    // BGR8
    {0x01080008, PixelKind::Bayer, 8, BayerOrder::GR},   // BayerGR8
    {0x01080009, PixelKind::Bayer, 8, BayerOrder::RG},   // BayerRG8
    {0x0108000A, PixelKind::Bayer, 8, BayerOrder::GB},   // BayerGB8
    {0x0108000B, PixelKind::Bayer, 8, BayerOrder::BG},   // BayerBG8
    {0x0110000C, PixelKind::Bayer, 10, BayerOrder::GR},  // BayerGR10
    {0x0110000D, PixelKind::Bayer, 10, BayerOrder::RG},  // BayerRG10
    {0x0110000E, PixelKind::Bayer, 10, BayerOrder::GB},  // BayerGB10
    {0x0110000F, PixelKind::Bayer, 10, BayerOrder::BG},  // BayerBG10
    {0x01100010, PixelKind::Bayer, 12, BayerOrder::GR},  // BayerGR12
    {0x01100011, PixelKind::Bayer, 12, BayerOrder::RG},  // BayerRG12
    {0x01100012, PixelKind::Bayer, 12, BayerOrder::GB},  // BayerGB12
    {0x01100013, PixelKind::Bayer, 12, BayerOrder::BG},  // BayerBG12
    {0x01100109, PixelKind::Bayer, 14, BayerOrder::GR},  // BayerGR14
    {0x0110010A, PixelKind::Bayer, 14, BayerOrder::RG},  // BayerRG14
    {0x0110010B, PixelKind::Bayer, 14, BayerOrder::GB},  // BayerGB14
    {0x0110010C, PixelKind::Bayer, 14, BayerOrder::BG},  // BayerBG14
    {0x0110002E, PixelKind::Bayer, 16, BayerOrder::GR},  // BayerGR16
    {0x0110002F, PixelKind::Bayer, 16, BayerOrder::RG},  // BayerRG16
    {0x01100030, PixelKind::Bayer, 16, BayerOrder::GB},  // BayerGB16
    {0x01100031, PixelKind::Bayer, 16, BayerOrder::BG},  // BayerBG16
}};

}  // namespace camerasdk_detail
