// Traits of the pixel types the stand-in knows, from the PFNC numbering.
#include "camerasdk/PvPixelType.h"

#include <array>
#include <unordered_map>

#include "camerasdk/unpacked_pixel_types.h"

namespace {

constexpr uint32_t kBitsPerPixelShift = 16;
constexpr uint32_t kBitsPerPixelMask = 0xFF;
constexpr uint32_t kComponentKindShift = 24;
constexpr uint32_t kMultiComponent = 0x02;

struct Trait {
  uint8_t bitsPerComponent;
  bool bayer;
};

struct OtherPixelType {
  uint32_t code;
  Trait trait;
};

// The packed, multi-byte colour and other pixel types; the unpacked ones image files hold are
// in their own table.
constexpr std::array<OtherPixelType, 56> kOtherPixelTypes = {{
    {0x010A0046, {10, false}},  // Mono10p
    {0x010C0047, {12, false}},  // Mono12p
    {0x010E0104, {14, false}},  // Mono14p
    {0x010A0052, {10, true}},   // BayerBG10p
    {0x010C0053, {12, true}},   // BayerBG12p
    {0x010E0108, {14, true}},   // BayerBG14p
    {0x010A0054, {10, true}},   // BayerGB10p
    {0x010C0055, {12, true}},   // BayerGB12p
    {0x010E0107, {14, true}},   // BayerGB14p
    {0x010A0056, {10, true}},   // BayerGR10p
    {0x010C0057, {12, true}},   // BayerGR12p
    {0x010E0105, {14, true}},   // BayerGR14p
    {0x010A0058, {10, true}},   // BayerRG10p
    {0x010C0059, {12, true}},   // BayerRG12p
    {0x010E0106, {14, true}},   // BayerRG14p
    {0x02300018, {10, false}},  // RGB10
    {0x021E005C, {10, false}},  // RGB10p
    {0x0230001A, {12, false}},  // RGB12
    {0x0224005D, {12, false}},  // RGB12p
    {0x0230005E, {14, false}},  // RGB14
    {0x02300033, {16, false}},  // RGB16
    {0x02300019, {10, false}},  // BGR10
    {0x021E0048, {10, false}},  // BGR10p
    {0x0230001B, {12, false}},  // BGR12
    {0x02240049, {12, false}},  // BGR12p
    {0x0230004A, {14, false}},  // BGR14
    {0x0230004B, {16, false}},  // BGR16
    {0x02200016, {8, false}},   // RGBa8
    {0x0240005F, {10, false}},  // RGBa10
    {0x02280060, {10, false}},  // RGBa10p
    {0x02400061, {12, false}},  // RGBa12
    {0x02300062, {12, false}},  // RGBa12p
    {0x02400063, {14, false}},  // RGBa14
    {0x02400064, {16, false}},  // RGBa16
    {0x02200017, {8, false}},   // BGRa8
    {0x0240004C, {10, false}},  // BGRa10
    {0x0228004D, {10, false}},  // BGRa10p
    {0x0240004E, {12, false}},  // BGRa12
    {0x0230004F, {12, false}},  // BGRa12p
    {0x02400050, {14, false}},  // BGRa14
    {0x02400051, {16, false}},  // BGRa16
    {0x01080002, {8, false}},   // Mono8s
    {0x01200111, {32, false}},  // Mono32
    {0x0220001D, {10, false}},  // RGB10p32
    {0x010C0004, {10, false}},  // Mono10Packed
    {0x010C0006, {12, false}},  // Mono12Packed
    {0x010C0026, {10, true}},   // BayerGR10Packed
    {0x010C0027, {10, true}},   // BayerRG10Packed
    {0x010C0028, {10, true}},   // BayerGB10Packed
    {0x010C0029, {10, true}},   // BayerBG10Packed
    {0x010C002A, {12, true}},   // BayerGR12Packed
    {0x010C002B, {12, true}},   // BayerRG12Packed
    {0x010C002C, {12, true}},   // BayerGB12Packed
    {0x010C002D, {12, true}},   // BayerBG12Packed
    {0x0220001C, {10, false}},  // RGB10V1Packed
    {0x02240034, {12, false}},  // RGB12V1Packed
}};

const std::unordered_map<uint32_t, Trait>& Traits() {
  static const std::unordered_map<uint32_t, Trait> traits = [] {
    std::unordered_map<uint32_t, Trait> table;
    for (const auto& unpacked : camerasdk_detail::kUnpackedPixelTypes) {
      table.emplace(unpacked.type,
                    Trait{unpacked.significantBits, unpacked.kind == camerasdk_detail::PixelKind::Bayer});
    }
    for (const OtherPixelType& other : kOtherPixelTypes) {
      table.emplace(other.code, other.trait);
    }
    return table;
  }();
  return traits;
}

}  // namespace

uint32_t PvPixelTypeGetBitsPerPixel(PvPixelType type) { return (type >> kBitsPerPixelShift) & kBitsPerPixelMask; }

uint32_t PvPixelTypeGetBitsPerComponent(PvPixelType type) {
  const auto it = Traits().find(type);
  return it == Traits().end() ? 0 : it->second.bitsPerComponent;
}

bool PvPixelTypeIsColor(PvPixelType type) {
  if ((type >> kComponentKindShift) == kMultiComponent) {
    return true;
  }
  const auto it = Traits().find(type);
  return it != Traits().end() && it->second.bayer;
}
