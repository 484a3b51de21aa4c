// Traits of the pixel types the stand-in knows, from the PFNC numbering.
#include "camerasdk/PvPixelType.h"

#include <array>
#include <unordered_map>

namespace {

constexpr uint32_t kBitsPerPixelShift = 16;
constexpr uint32_t kBitsPerPixelMask = 0xFF;
constexpr uint32_t kComponentKindShift = 24;
constexpr uint32_t kMultiComponent = 0x02;
constexpr uint32_t kNone = 0;

struct Trait {
  uint8_t bitsPerComponent;
  bool bayer;
};

// Columns of the PFNC families: 8, 10, 10p, 12, 12p, 14, 14p, 16 bits.
constexpr std::array<uint8_t, 8> kColumnBits = {8, 10, 10, 12, 12, 14, 14, 16};

struct Family {
  std::array<uint32_t, 8> codes;
  bool bayer;
};

constexpr std::array<Family, 9> kFamilies = {{
    {{0x01080001, 0x01100003, 0x010A0046, 0x01100005, 0x010C0047, 0x01100025, 0x010E0104, 0x01100007}, false},
    {{0x0108000B, 0x0110000F, 0x010A0052, 0x01100013, 0x010C0053, 0x0110010C, 0x010E0108, 0x01100031}, true},
    {{0x0108000A, 0x0110000E, 0x010A0054, 0x01100012, 0x010C0055, 0x0110010B, 0x010E0107, 0x01100030}, true},
    {{0x01080008, 0x0110000C, 0x010A0056, 0x01100010, 0x010C0057, 0x01100109, 0x010E0105, 0x0110002E}, true},
    {{0x01080009, 0x0110000D, 0x010A0058, 0x01100011, 0x010C0059, 0x0110010A, 0x010E0106, 0x0110002F}, true},
    {{0x02180014, 0x02300018, 0x021E005C, 0x0230001A, 0x0224005D, 0x0230005E, kNone, 0x02300033}, false},
    {{0x02180015, 0x02300019, 0x021E0048, 0x0230001B, 0x02240049, 0x0230004A, kNone, 0x0230004B}, false},
    {{0x02200016, 0x0240005F, 0x02280060, 0x02400061, 0x02300062, 0x02400063, kNone, 0x02400064}, false},
    {{0x02200017, 0x0240004C, 0x0228004D, 0x0240004E, 0x0230004F, 0x02400050, kNone, 0x02400051}, false},
}};

struct Single {
  uint32_t code;
  Trait trait;
};

constexpr std::array<Single, 15> kSingles = {{
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
    for (const Family& family : kFamilies) {
      for (std::size_t column = 0; column < family.codes.size(); ++column) {
        if (family.codes[column] != kNone) {
          table.emplace(family.codes[column], Trait{kColumnBits[column], family.bayer});
        }
      }
    }
    for (const Single& single : kSingles) {
      table.emplace(single.code, single.trait);
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
