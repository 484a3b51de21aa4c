#pragma once
// Pixel types as the camera SDK numbers them: the 32-bit GenICam PFNC codes (and the older
// GigE Vision 2 packed codes), with the traits images and the buffer writer need.

#include <cstdint>

using PvPixelType = uint32_t;

inline constexpr PvPixelType PvPixelUndefined = 0;
inline constexpr PvPixelType PvPixelMono8 = 0x01080001;
inline constexpr PvPixelType PvPixelRGB8 = 0x02180014;
inline constexpr PvPixelType PvPixelBGR8 = 0x02180015;

// Bits one pixel occupies: bits 23 to 16 of the code.
uint32_t PvPixelTypeGetBitsPerPixel(PvPixelType type);
// Significant bits of one colour component (Mono12 occupies 16 bits but has 12); 0 for a
// code the stand-in does not know.
uint32_t PvPixelTypeGetBitsPerComponent(PvPixelType type);
// Multi-component and Bayer formats count as colour.
bool PvPixelTypeIsColor(PvPixelType type);
