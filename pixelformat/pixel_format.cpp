// The pixel-format value type, the factory map from code to class, and the fixed name table.

#include "pixelformat/pixel_format.h"

#include <algorithm>
#include <utility>

#include "pixelformat/gev2_pixel_format.h"
#include "pixelformat/pfnc_pixel_format_bayer.h"
#include "pixelformat/pfnc_pixel_format_color.h"
#include "pixelformat/pfnc_pixel_format_mono.h"

namespace quarx::pixelformat {

// Descriptions follow the names: family, bit width, then packed/unpacked/signed/floating point, planar last;
// YCbCr and YUV rows add sampling, semiplanar layout and colour standard. The exceptions are deliberate.
constexpr std::array<PixelFormatText, kPixelFormatTextCount> kPixelFormatTexts{{
    {0x00000000, "InvalidPixelFormat", "Invalid pixel format value"},
    {0x01010037, "Mono1p", "Monochrome 1-bit packed"},
    {0x010100C5, "Confidence1p", "Confidence 1-bit packed"},
    {0x01020038, "Mono2p", "Monochrome 2-bit packed"},
    {0x01040039, "Mono4p", "Monochrome 4-bit packed"},
    {0x0104010D, "BayerGR4p", "Bayer Green-Red 4-bit packed"},
    {0x0104010E, "BayerRG4p", "Bayer Red-Green 4-bit packed"},
    {0x0104010F, "BayerGB4p", "Bayer Green-Blue 4-bit packed"},
    {0x01040110, "BayerBG4p", "Bayer Blue-Green 4-bit packed"},
    {0x01080001, "Mono8", "Monochrome 8-bit"},
    {0x01080002, "Mono8s", "Monochrome 8-bit signed"},
    {0x01080008, "BayerGR8", "Bayer Green-Red 8-bit"},
    {0x01080009, "BayerRG8", "Bayer Red-Green 8-bit"},
    {0x0108000A, "BayerGB8", "Bayer Green-Blue 8-bit"},
    {0x0108000B, "BayerBG8", "Bayer Blue-Green 8-bit"},
    {0x01080067, "SCF1WBWG8", "Sparse Color Filter #1 White-Blue-White-Green 8-bit"},
    {0x0108006E, "SCF1WGWB8", "Sparse Color Filter #1 White-Green-White-Blue 8-bit"},
    {0x01080075, "SCF1WGWR8", "Sparse Color Filter #1 White-Green-White-Red 8-bit"},
    {0x0108007C, "SCF1WRWG8", "Sparse Color Filter #1 White-Red-White-Green 8-bit"},
    {0x010800AF, "Coord3D_A8", "3D coordinate A 8-bit"},
    {0x010800B0, "Coord3D_B8", "3D coordinate B 8-bit"},
    {0x010800B1, "Coord3D_C8", "3D coordinate C 8-bit"},
    {0x010800C4, "Confidence1", "Confidence 1-bit unpacked"},
    {0x010800C6, "Confidence8", "Confidence 8-bit"},
    {0x010800C9, "R8", "Red 8-bit"},
    {0x010800CD, "G8", "Green 8-bit"},
    {0x010800D1, "B8", "Blue 8-bit"},
    {0x01080116, "Data8", "Data 8-bit"},
    {0x01080117, "Data8s", "Data 8-bit signed"},
    {0x010A0046, "Mono10p", "Monochrome 10-bit packed"},
    {0x010A0052, "BayerBG10p", "Bayer Blue-Green 10-bit packed"},
    {0x010A0054, "BayerGB10p", "Bayer Green-Blue 10-bit packed"},
    {0x010A0056, "BayerGR10p", "Bayer Green-Red 10-bit packed"},
    {0x010A0058, "BayerRG10p", "Bayer Red-Green 10-bit packed"},
    {0x010A0069, "SCF1WBWG10p", "Sparse Color Filter #1 White-Blue-White-Green 10-bit packed"},
    {0x010A0070, "SCF1WGWB10p", "Sparse Color Filter #1 White-Green-White-Blue 10-bit packed"},
    {0x010A0077, "SCF1WGWR10p", "Sparse Color Filter #1 White-Green-White-Red 10-bit packed"},
    {0x010A007E, "SCF1WRWG10p", "Sparse Color Filter #1 White-Red-White-Green 10-bit packed"},
    {0x010A00CA, "R10_Deprecated", "Deprecated because size field is wrong"},
    {0x010A00CE, "G10_Deprecated", "Deprecated because size field is wrong"},
    {0x010A00D2, "B10_Deprecated", "Deprecated because size field is wrong"},
    {0x010A00D5, "Coord3D_A10p", "3D coordinate A 10-bit packed"},
    {0x010A00D6, "Coord3D_B10p", "3D coordinate B 10-bit packed"},
    {0x010A00D7, "Coord3D_C10p", "3D coordinate C 10-bit packed"},
    {0x010C0004, "Mono10Packed", "Monochrome 10-bit packed"},
    {0x010C0006, "Mono12Packed", "Monochrome 12-bit packed"},
    {0x010C0026, "BayerGR10Packed", "Bayer Green-Red 10-bit packed"},
    {0x010C0027, "BayerRG10Packed", "Bayer Red-Green 10-bit packed"},
    {0x010C0028, "BayerGB10Packed", "Bayer Green-Blue 10-bit packed"},
    {0x010C0029, "BayerBG10Packed", "Bayer Blue-Green 10-bit packed"},
    {0x010C002A, "BayerGR12Packed", "Bayer Green-Red 12-bit packed"},
    {0x010C002B, "BayerRG12Packed", "Bayer Red-Green 12-bit packed"},
    {0x010C002C, "BayerGB12Packed", "Bayer Green-Blue 12-bit packed"},
    {0x010C002D, "BayerBG12Packed", "Bayer Blue-Green 12-bit packed"},
    {0x010C0047, "Mono12p", "Monochrome 12-bit packed"},
    {0x010C0053, "BayerBG12p", "Bayer Blue-Green 12-bit packed"},
    {0x010C0055, "BayerGB12p", "Bayer Green-Blue 12-bit packed"},
    {0x010C0057, "BayerGR12p", "Bayer Green-Red 12-bit packed"},
    {0x010C0059, "BayerRG12p", "Bayer Red-Green 12-bit packed"},
    {0x010C006B, "SCF1WBWG12p", "Sparse Color Filter #1 White-Blue-White-Green 12-bit packed"},
    {0x010C0072, "SCF1WGWB12p", "Sparse Color Filter #1 White-Green-White-Blue 12-bit packed"},
    {0x010C0079, "SCF1WGWR12p", "Sparse Color Filter #1 White-Green-White-Red 12-bit packed"},
    {0x010C0080, "SCF1WRWG12p", "Sparse Color Filter #1 White-Red-White-Green 12-bit packed"},
    {0x010C00CB, "R12_Deprecated", "Deprecated because size field is wrong"},
    {0x010C00CF, "G12_Deprecated", "Deprecated because size field is wrong"},
    {0x010C00D3, "B12_Deprecated", "Deprecated because size field is wrong"},
    {0x010C00D8, "Coord3D_A12p", "3D coordinate A 12-bit packed"},
    {0x010C00D9, "Coord3D_B12p", "3D coordinate B 12-bit packed"},
    {0x010C00DA, "Coord3D_C12p", "3D coordinate C 12-bit packed"},
    {0x010E0104, "Mono14p", "Monochrome 14-bit packed"},
    {0x010E0105, "BayerGR14p", "Bayer Green-Red 14-bit packed"},
    {0x010E0106, "BayerRG14p", "Bayer Red-Green 14-bit packed"},
    {0x010E0107, "BayerGB14p", "Bayer Green-Blue 14-bit packed"},
    {0x010E0108, "BayerBG14p", "Bayer Blue-Green 14-bit packed"},
    {0x01100003, "Mono10", "Monochrome 10-bit unpacked"},
    {0x01100005, "Mono12", "Monochrome 12-bit unpacked"},
    {0x01100007, "Mono16", "Monochrome 16-bit"},
    {0x0110000C, "BayerGR10", "Bayer Green-Red 10-bit unpacked"},
    {0x0110000D, "BayerRG10", "Bayer Red-Green 10-bit unpacked"},
    {0x0110000E, "BayerGB10", "Bayer Green-Blue 10-bit unpacked"},
    {0x0110000F, "BayerBG10", "Bayer Blue-Green 10-bit unpacked"},
    {0x01100010, "BayerGR12", "Bayer Green-Red 12-bit unpacked"},
    {0x01100011, "BayerRG12", "Bayer Red-Green 12-bit unpacked"},
    {0x01100012, "BayerGB12", "Bayer Green-Blue 12-bit unpacked"},
    {0x01100013, "BayerBG12", "Bayer Blue-Green 12-bit unpacked"},
    {0x01100025, "Mono14", "Monochrome 14-bit unpacked"},
    {0x0110002E, "BayerGR16", "Bayer Green-Red 16-bit"},
    {0x0110002F, "BayerRG16", "Bayer Red-Green 16-bit"},
    {0x01100030, "BayerGB16", "Bayer Green-Blue 16-bit"},
    {0x01100031, "BayerBG16", "Bayer Blue-Green 16-bit"},
    {0x01100068, "SCF1WBWG10", "Sparse Color Filter #1 White-Blue-White-Green 10-bit unpacked"},
    {0x0110006A, "SCF1WBWG12", "Sparse Color Filter #1 White-Blue-White-Green 12-bit unpacked"},
    {0x0110006C, "SCF1WBWG14", "Sparse Color Filter #1 White-Blue-White-Green 14-bit unpacked"},
    {0x0110006D, "SCF1WBWG16", "Sparse Color Filter #1 White-Blue-White-Green 16-bit unpacked"},
    {0x0110006F, "SCF1WGWB10", "Sparse Color Filter #1 White-Green-White-Blue 10-bit unpacked"},
    {0x01100071, "SCF1WGWB12", "Sparse Color Filter #1 White-Green-White-Blue 12-bit unpacked"},
    {0x01100073, "SCF1WGWB14", "Sparse Color Filter #1 White-Green-White-Blue 14-bit unpacked"},
    {0x01100074, "SCF1WGWB16", "Sparse Color Filter #1 White-Green-White-Blue 16-bit"},
    {0x01100076, "SCF1WGWR10", "Sparse Color Filter #1 White-Green-White-Red 10-bit unpacked"},
    {0x01100078, "SCF1WGWR12", "Sparse Color Filter #1 White-Green-White-Red 12-bit unpacked"},
    {0x0110007A, "SCF1WGWR14", "Sparse Color Filter #1 White-Green-White-Red 14-bit unpacked"},
    {0x0110007B, "SCF1WGWR16", "Sparse Color Filter #1 White-Green-White-Red 16-bit"},
    {0x0110007D, "SCF1WRWG10", "Sparse Color Filter #1 White-Red-White-Green 10-bit unpacked"},
    {0x0110007F, "SCF1WRWG12", "Sparse Color Filter #1 White-Red-White-Green 12-bit unpacked"},
    {0x01100081, "SCF1WRWG14", "Sparse Color Filter #1 White-Red-White-Green 14-bit unpacked"},
    {0x01100082, "SCF1WRWG16", "Sparse Color Filter #1 White-Red-White-Green 16-bit"},
    {0x011000B6, "Coord3D_A16", "3D coordinate A 16-bit"},
    {0x011000B7, "Coord3D_B16", "3D coordinate B 16-bit"},
    {0x011000B8, "Coord3D_C16", "3D coordinate C 16-bit"},
    {0x011000C7, "Confidence16", "Confidence 16-bit"},
    {0x011000CC, "R16", "Red 16-bit"},
    {0x011000D0, "G16", "Green 16-bit"},
    {0x011000D4, "B16", "Blue 16-bit"},
    {0x01100109, "BayerGR14", "Bayer Green-Red 14-bit"},
    {0x0110010A, "BayerRG14", "Bayer Red-Green 14-bit"},
    {0x0110010B, "BayerGB14", "Bayer Green-Blue 14-bit"},
    {0x0110010C, "BayerBG14", "Bayer Blue-Green 14-bit"},
    {0x01100118, "Data16", "Data 16-bit"},
    {0x01100119, "Data16s", "Data 16-bit signed"},
    {0x01100120, "R10", "Red 10-bit"},
    {0x01100121, "R12", "Red 12-bit"},
    {0x01100122, "G10", "Green 10-bit"},
    {0x01100123, "G12", "Green 12-bit"},
    {0x01100124, "B10", "Blue 10-bit"},
    {0x01100125, "B12", "Blue 12-bit"},
    {0x012000BD, "Coord3D_A32f", "3D coordinate A 32-bit floating point"},
    {0x012000BE, "Coord3D_B32f", "3D coordinate B 32-bit floating point"},
    {0x012000BF, "Coord3D_C32f", "3D coordinate C 32-bit floating point"},
    {0x012000C8, "Confidence32f", "Confidence 32-bit floating point"},
    {0x01200111, "Mono32", "Monochrome 32-bit"},
    {0x0120011A, "Data32", "Data 32-bit"},
    {0x0120011B, "Data32s", "Data 32-bit signed"},
    {0x0120011C, "Data32f", "Data 32-bit floating point"},
    {0x0140011D, "Data64", "Data 64-bit"},
    {0x0140011E, "Data64s", "Data 64-bit signed"},
    {0x0140011F, "Data64f", "Data 64-bit floating point"},
    {0x020C001E, "YUV411_8_UYYVYY", "YUV 4:1:1 8-bit"},
    {0x020C003C, "YCbCr411_8_CbYYCrYY", "YCbCr 4:1:1 8-bit"},
    {0x020C003F, "YCbCr601_411_8_CbYYCrYY", "YCbCr 4:1:1 8-bit BT.601"},
    {0x020C0042, "YCbCr709_411_8_CbYYCrYY", "YCbCr 4:1:1 8-bit BT.709"},
    {0x020C005A, "YCbCr411_8", "YCbCr 4:1:1 8-bit"},
    {0x020C00F9, "YCbCr2020_411_8_CbYYCrYY", "YCbCr 4:1:1 8-bit BT.2020"},
    {0x020C0112, "YCbCr420_8_YY_CbCr_Semiplanar", "YCbCr 4:2:0 8-bit YY/CbCr Semiplanar"},
    {0x020C0114, "YCbCr420_8_YY_CrCb_Semiplanar", "YCbCr 4:2:0 8-bit YY/CrCb Semiplanar"},
    {0x0210001F, "YUV422_8_UYVY", "YUV 4:2:2 8-bit"},
    {0x02100032, "YUV422_8", "YUV 4:2:2 8-bit"},
    {0x02100035, "RGB565p", "Red-Green-Blue 5/6/5-bit packed"},
    {0x02100036, "BGR565p", "Blue-Green-Red 5/6/5-bit packed"},
    {0x0210003B, "YCbCr422_8", "YCbCr 4:2:2 8-bit"},
    {0x0210003E, "YCbCr601_422_8", "YCbCr 4:2:2 8-bit BT.601"},
    {0x02100041, "YCbCr709_422_8", "YCbCr 4:2:2 8-bit BT.709"},
    {0x02100043, "YCbCr422_8_CbYCrY", "YCbCr 4:2:2 8-bit"},
    {0x02100044, "YCbCr601_422_8_CbYCrY", "YCbCr 4:2:2 8-bit BT.601"},
    {0x02100045, "YCbCr709_422_8_CbYCrY", "YCbCr 4:2:2 8-bit BT.709"},
    {0x021000A5, "BiColorRGBG8", "Bi-color Red/Green - Blue/Green 8-bit"},
    {0x021000A6, "BiColorBGRG8", "Bi-color Blue/Green - Red/Green 8-bit"},
    {0x021000B4, "Coord3D_AC8", "3D coordinate A-C 8-bit"},
    {0x021000B5, "Coord3D_AC8_Planar", "3D coordinate A-C 8-bit planar"},
    {0x021000FA, "YCbCr2020_422_8", "YCbCr 4:2:2 8-bit BT.2020"},
    {0x021000FB, "YCbCr2020_422_8_CbYCrY", "YCbCr 4:2:2 8-bit BT.2020"},
    {0x02100113, "YCbCr422_8_YY_CbCr_Semiplanar", "YCbCr 4:2:2 8-bit YY/CbCr Semiplanar"},
    {0x02100115, "YCbCr422_8_YY_CrCb_Semiplanar", "YCbCr 4:2:2 8-bit YY/CrCb Semiplanar"},
    {0x02140087, "YCbCr422_10p", "YCbCr 4:2:2 10-bit packed"},
    {0x0214008E, "YCbCr601_422_10p", "YCbCr 4:2:2 10-bit packed BT.601"},
    {0x02140096, "YCbCr709_422_10p", "YCbCr 4:2:2 10-bit packed BT.709"},
    {0x0214009A, "YCbCr422_10p_CbYCrY", "YCbCr 4:2:2 10-bit packed"},
    {0x0214009E, "YCbCr601_422_10p_CbYCrY", "YCbCr 4:2:2 10-bit packed BT.601"},
    {0x021400A2, "YCbCr709_422_10p_CbYCrY", "YCbCr 4:2:2 10-bit packed BT.709"},
    {0x021400A8, "BiColorRGBG10p", "Bi-color Red/Green - Blue/Green 10-bit packed"},
    {0x021400AA, "BiColorBGRG10p", "Bi-color Blue/Green - Red/Green 10-bit packed"},
    {0x021400F0, "Coord3D_AC10p", "3D coordinate A-C 10-bit packed"},
    {0x021400F1, "Coord3D_AC10p_Planar", "3D coordinate A-C 10-bit packed planar"},
    {0x021400FE, "YCbCr2020_422_10p", "YCbCr 4:2:2 10-bit packed BT.2020"},
    {0x021400FF, "YCbCr2020_422_10p_CbYCrY", "YCbCr 4:2:2 10-bit packed BT.2020"},
    {0x02180014, "RGB8", "Red-Green-Blue 8-bit"},
    {0x02180015, "BGR8", "Blue-Green-Red 8-bit"},
    {0x02180020, "YUV8_UYV", "YUV 4:4:4 8-bit"},
    {0x02180021, "RGB8_Planar", "Red-Green-Blue 8-bit planar"},
    {0x0218003A, "YCbCr8_CbYCr", "YCbCr 4:4:4 8-bit"},
    {0x0218003D, "YCbCr601_8_CbYCr", "YCbCr 4:4:4 8-bit BT.601"},
    {0x02180040, "YCbCr709_8_CbYCr", "YCbCr 4:4:4 8-bit BT.709"},
    {0x0218005B, "YCbCr8", "YCbCr 4:4:4 8-bit"},
    {0x02180088, "YCbCr422_12p", "YCbCr 4:2:2 12-bit packed"},
    {0x02180090, "YCbCr601_422_12p", "YCbCr 4:2:2 12-bit packed BT.601"},
    {0x02180098, "YCbCr709_422_12p", "YCbCr 4:2:2 12-bit packed BT.709"},
    {0x0218009C, "YCbCr422_12p_CbYCrY", "YCbCr 4:2:2 12-bit packed"},
    {0x021800A0, "YCbCr601_422_12p_CbYCrY", "YCbCr 4:2:2 12-bit packed BT.601"},
    {0x021800A4, "YCbCr709_422_12p_CbYCrY", "YCbCr 4:2:2 12-bit packed BT.709"},
    {0x021800AC, "BiColorRGBG12p", "Bi-color Red/Green - Blue/Green 12-bit packed"},
    {0x021800AE, "BiColorBGRG12p", "Bi-color Blue/Green - Red/Green 12-bit packed"},
    {0x021800B2, "Coord3D_ABC8", "3D coordinate A-B-C 8-bit"},
    {0x021800B3, "Coord3D_ABC8_Planar", "3D coordinate A-B-C 8-bit planar"},
    {0x021800F2, "Coord3D_AC12p", "3D coordinate A-C 12-bit packed"},
    {0x021800F3, "Coord3D_AC12p_Planar", "3D coordinate A-C 12-bit packed planar"},
    {0x021800F4, "YCbCr2020_8_CbYCr", "YCbCr 4:4:4 8-bit BT.2020"},
    {0x02180102, "YCbCr2020_422_12p", "YCbCr 4:2:2 12-bit packed BT.2020"},
    {0x02180103, "YCbCr2020_422_12p_CbYCrY", "YCbCr 4:2:2 12-bit packed BT.2020"},
    {0x021E0048, "BGR10p", "Blue-Green-Red 10-bit packed"},
    {0x021E005C, "RGB10p", "Red-Green-Blue 10-bit packed"},
    {0x021E0084, "YCbCr10p_CbYCr", "YCbCr 4:4:4 10-bit packed"},
    {0x021E008A, "YCbCr601_10p_CbYCr", "YCbCr 4:4:4 10-bit packed BT.601"},
    {0x021E0092, "YCbCr709_10p_CbYCr", "YCbCr 4:4:4 10-bit packed BT.709"},
    {0x021E00DB, "Coord3D_ABC10p", "3D coordinate A-B-C 10-bit packed"},
    {0x021E00DC, "Coord3D_ABC10p_Planar", "3D coordinate A-B-C 10-bit packed planar"},
    {0x021E00F6, "YCbCr2020_10p_CbYCr", "YCbCr 4:4:4 10-bit packed BT.2020"},
    {0x02200016, "RGBa8", "Red-Green-Blue-alpha 8-bit"},
    {0x02200017, "BGRa8", "Blue-Green-Red-alpha 8-bit"},
    {0x0220001C, "RGB10V1Packed", "Red-Green-Blue 10-bit packed - variant 1"},
    {0x0220001D, "RGB10p32", "Red-Green-Blue 10-bit packed into 32-bit"},
    {0x02200065, "YCbCr422_10", "YCbCr 4:2:2 10-bit unpacked"},
    {0x02200066, "YCbCr422_12", "YCbCr 4:2:2 12-bit unpacked"},
    {0x0220008D, "YCbCr601_422_10", "YCbCr 4:2:2 10-bit unpacked BT.601"},
    {0x0220008F, "YCbCr601_422_12", "YCbCr 4:2:2 12-bit unpacked BT.601"},
    {0x02200095, "YCbCr709_422_10", "YCbCr 4:2:2 10-bit unpacked BT.709"},
    {0x02200097, "YCbCr709_422_12", "YCbCr 4:2:2 12-bit unpacked BT.709"},
    {0x02200099, "YCbCr422_10_CbYCrY", "YCbCr 4:2:2 10-bit unpacked"},
    {0x0220009B, "YCbCr422_12_CbYCrY", "YCbCr 4:2:2 12-bit unpacked"},
    {0x0220009D, "YCbCr601_422_10_CbYCrY", "YCbCr 4:2:2 10-bit unpacked BT.601"},
    {0x0220009F, "YCbCr601_422_12_CbYCrY", "YCbCr 4:2:2 12-bit unpacked BT.601"},
    {0x022000A1, "YCbCr709_422_10_CbYCrY", "YCbCr 4:2:2 10-bit unpacked BT.709"},
    {0x022000A3, "YCbCr709_422_12_CbYCrY", "YCbCr 4:2:2 12-bit unpacked BT.709"},
    {0x022000A7, "BiColorRGBG10", "Bi-color Red/Green - Blue/Green 10-bit unpacked"},
    {0x022000A9, "BiColorBGRG10", "Bi-color Blue/Green - Red/Green 10-bit unpacked"},
    {0x022000AB, "BiColorRGBG12", "Bi-color Red/Green - Blue/Green 12-bit unpacked"},
    {0x022000AD, "BiColorBGRG12", "Bi-color Blue/Green - Red/Green 12-bit unpacked"},
    {0x022000BB, "Coord3D_AC16", "3D coordinate A-C 16-bit"},
    {0x022000BC, "Coord3D_AC16_Planar", "3D coordinate A-C 16-bit planar"},
    {0x022000FC, "YCbCr2020_422_10", "YCbCr 4:2:2 10-bit unpacked BT.2020"},
    {0x022000FD, "YCbCr2020_422_10_CbYCrY", "YCbCr 4:2:2 10-bit unpacked BT.2020"},
    {0x02200100, "YCbCr2020_422_12", "YCbCr 4:2:2 12-bit unpacked BT.2020"},
    {0x02200101, "YCbCr2020_422_12_CbYCrY", "YCbCr 4:2:2 12-bit unpacked BT.2020"},
    {0x02240034, "RGB12V1Packed", "Red-Green-Blue 12-bit packed - variant 1"},
    {0x02240049, "BGR12p", "Blue-Green-Red 12-bit packed"},
    {0x0224005D, "RGB12p", "Red-Green-Blue 12-bit packed"},
    {0x02240086, "YCbCr12p_CbYCr", "YCbCr 4:4:4 12-bit packed"},
    {0x0224008C, "YCbCr601_12p_CbYCr", "YCbCr 4:4:4 12-bit packed BT.601"},
    {0x02240094, "YCbCr709_12p_CbYCr", "YCbCr 4:4:4 12-bit packed BT.709"},
    {0x022400DE, "Coord3D_ABC12p", "3D coordinate A-B-C 12-bit packed"},
    {0x022400DF, "Coord3D_ABC12p_Planar", "3D coordinate A-B-C 12-bit packed planar"},
    {0x022400F8, "YCbCr2020_12p_CbYCr", "YCbCr 4:4:4 12-bit packed BT.2020"},
    {0x0228004D, "BGRa10p", "Blue-Green-Red-alpha 10-bit packed"},
    {0x02280060, "RGBa10p", "Red-Green-Blue-alpha 10-bit packed"},
    {0x02300018, "RGB10", "Red-Green-Blue 10-bit unpacked"},
    {0x02300019, "BGR10", "Blue-Green-Red 10-bit unpacked"},
    {0x0230001A, "RGB12", "Red-Green-Blue 12-bit unpacked"},
    {0x0230001B, "BGR12", "Blue-Green-Red 12-bit unpacked"},
    {0x02300022, "RGB10_Planar", "Red-Green-Blue 10-bit unpacked planar"},
    {0x02300023, "RGB12_Planar", "Red-Green-Blue 12-bit unpacked planar"},
    {0x02300024, "RGB16_Planar", "Red-Green-Blue 16-bit planar"},
    {0x02300033, "RGB16", "Red-Green-Blue 16-bit"},
    {0x0230004A, "BGR14", "Blue-Green-Red 14-bit unpacked"},
    {0x0230004B, "BGR16", "Blue-Green-Red 16-bit"},
    {0x0230004F, "BGRa12p", "Blue-Green-Red-alpha 12-bit packed"},
    {0x0230005E, "RGB14", "Red-Green-Blue 14-bit unpacked"},
    {0x02300062, "RGBa12p", "Red-Green-Blue-alpha 12-bit packed"},
    {0x02300083, "YCbCr10_CbYCr", "YCbCr 4:4:4 10-bit unpacked"},
    {0x02300085, "YCbCr12_CbYCr", "YCbCr 4:4:4 12-bit unpacked"},
    {0x02300089, "YCbCr601_10_CbYCr", "YCbCr 4:4:4 10-bit unpacked BT.601"},
    {0x0230008B, "YCbCr601_12_CbYCr", "YCbCr 4:4:4 12-bit unpacked BT.601"},
    {0x02300091, "YCbCr709_10_CbYCr", "YCbCr 4:4:4 10-bit unpacked BT.709"},
    {0x02300093, "YCbCr709_12_CbYCr", "YCbCr 4:4:4 12-bit unpacked BT.709"},
    {0x023000B9, "Coord3D_ABC16", "3D coordinate A-B-C 16-bit"},
    {0x023000BA, "Coord3D_ABC16_Planar", "3D coordinate A-B-C 16-bit planar"},
    {0x023000F5, "YCbCr2020_10_CbYCr", "YCbCr 4:4:4 10-bit unpacked BT.2020"},
    {0x023000F7, "YCbCr2020_12_CbYCr", "YCbCr 4:4:4 12-bit unpacked BT.2020"},
    {0x0240004C, "BGRa10", "Blue-Green-Red-alpha 10-bit unpacked"},
    {0x0240004E, "BGRa12", "Blue-Green-Red-alpha 12-bit unpacked"},
    {0x02400050, "BGRa14", "Blue-Green-Red-alpha 14-bit unpacked"},
    {0x02400051, "BGRa16", "Blue-Green-Red-alpha 16-bit"},
    {0x0240005F, "RGBa10", "Red-Green-Blue-alpha 10-bit unpacked"},
    {0x02400061, "RGBa12", "Red-Green-Blue-alpha 12-bit unpacked"},
    {0x02400063, "RGBa14", "Red-Green-Blue-alpha 14-bit unpacked"},
    {0x02400064, "RGBa16", "Red-Green-Blue-alpha 16-bit"},
    {0x024000C2, "Coord3D_AC32f", "3D coordinate A-C 32-bit floating point"},
    {0x024000C3, "Coord3D_AC32f_Planar", "3D coordinate A-C 32-bit floating point planar"},
    {0x026000C0, "Coord3D_ABC32f", "3D coordinate A-B-C 32-bit floating point"},
    {0x026000C1, "Coord3D_ABC32f_Planar", "3D coordinate A-B-C 32-bit floating point planar"},
}};

namespace {

constexpr const char* kUnknownName = "UnknownPixelFormat";
constexpr const char* kUnknownDescription = "Unknown pixel format value";

constexpr bool IsStrictlyAscending(const std::array<PixelFormatText, kPixelFormatTextCount>& rows) {
  for (std::size_t i = 1; i < rows.size(); ++i) {
    if (rows[i - 1].value >= rows[i].value) {
      return false;
    }
  }
  return true;
}
static_assert(IsStrictlyAscending(kPixelFormatTexts), "the name table is bisected, so it must stay sorted by code");

// The row of `value`, or null when the table does not name it.
const PixelFormatText* FindText(std::uint32_t value) {
  const auto row = std::lower_bound(kPixelFormatTexts.begin(), kPixelFormatTexts.end(), value,
                                    [](const PixelFormatText& text, std::uint32_t code) { return text.value < code; });
  if (row == kPixelFormatTexts.end() || row->value != value) {
    return nullptr;
  }
  return &*row;
}

}  // namespace

PixelFormat::PixelFormat(std::uint32_t value, std::uint8_t bits_per_component, unsigned traits)
    : value_(value),
      bits_per_component_(bits_per_component),
      packed_((traits & kPacked) != 0),
      bayer_((traits & kBayer) != 0),
      color_((traits & kColor) != 0),
      alpha_((traits & kAlpha) != 0) {}

PixelFormat::~PixelFormat() = default;

PixelFormat PixelFormat::Create(std::uint32_t value) {
  // find, never operator[]: an unknown code must not slip an empty entry into the shared map.
  const auto entry = quarx::table_.find(value);
  if (entry == quarx::table_.end()) {
    throw std::bad_function_call();
  }
  return entry->second();
}

std::uint8_t PixelFormat::GetBitsPerComponent() const { return bits_per_component_; }

std::string PixelFormat::GetDescription() const {
  const PixelFormatText* text = FindText(value_);
  return text != nullptr ? text->description : kUnknownDescription;
}

std::string PixelFormat::GetName() const {
  const PixelFormatText* text = FindText(value_);
  return text != nullptr ? text->name : kUnknownName;
}

std::uint32_t PixelFormat::GetValue() const { return value_; }

bool PixelFormat::IsBayer() const { return bayer_; }

bool PixelFormat::IsColor() const { return color_; }

bool PixelFormat::IsPacked() const { return packed_; }

bool PixelFormat::HasAlphaChannel() const { return alpha_; }

}  // namespace quarx::pixelformat

namespace quarx {

namespace {

// Keys each entry by the code its class sets, so a key can never disagree with the object it makes.
template <typename Format>
std::pair<const std::uint32_t, std::function<pixelformat::PixelFormat()>> Entry() {
  return {Format().GetValue(), [] { return pixelformat::PixelFormat(Format()); }};
}

}  // namespace

// Every class but Mono8s and Mono32 has an entry; those two are only ever built directly, so Create refuses them.
const std::unordered_map<std::uint32_t, std::function<pixelformat::PixelFormat()>> table_{
    Entry<pixelformat::Mono8>(),
    Entry<pixelformat::Mono10>(),
    Entry<pixelformat::Mono10p>(),
    Entry<pixelformat::Mono12>(),
    Entry<pixelformat::Mono12p>(),
    Entry<pixelformat::Mono14>(),
    Entry<pixelformat::Mono14p>(),
    Entry<pixelformat::Mono16>(),
    Entry<pixelformat::BayerBG8>(),
    Entry<pixelformat::BayerBG10>(),
    Entry<pixelformat::BayerBG10p>(),
    Entry<pixelformat::BayerBG12>(),
    Entry<pixelformat::BayerBG12p>(),
    Entry<pixelformat::BayerBG14>(),
    Entry<pixelformat::BayerBG14p>(),
    Entry<pixelformat::BayerBG16>(),
    Entry<pixelformat::BayerGB8>(),
    Entry<pixelformat::BayerGB10>(),
    Entry<pixelformat::BayerGB10p>(),
    Entry<pixelformat::BayerGB12>(),
    Entry<pixelformat::BayerGB12p>(),
    Entry<pixelformat::BayerGB14>(),
    Entry<pixelformat::BayerGB14p>(),
    Entry<pixelformat::BayerGB16>(),
    Entry<pixelformat::BayerGR8>(),
    Entry<pixelformat::BayerGR10>(),
    Entry<pixelformat::BayerGR10p>(),
    Entry<pixelformat::BayerGR12>(),
    Entry<pixelformat::BayerGR12p>(),
    Entry<pixelformat::BayerGR14>(),
    Entry<pixelformat::BayerGR14p>(),
    Entry<pixelformat::BayerGR16>(),
    Entry<pixelformat::BayerRG8>(),
    Entry<pixelformat::BayerRG10>(),
    Entry<pixelformat::BayerRG10p>(),
    Entry<pixelformat::BayerRG12>(),
    Entry<pixelformat::BayerRG12p>(),
    Entry<pixelformat::BayerRG14>(),
    Entry<pixelformat::BayerRG14p>(),
    Entry<pixelformat::BayerRG16>(),
    Entry<pixelformat::RGB8>(),
    Entry<pixelformat::RGB10>(),
    Entry<pixelformat::RGB10p>(),
    Entry<pixelformat::RGB12>(),
    Entry<pixelformat::RGB12p>(),
    Entry<pixelformat::RGB14>(),
    Entry<pixelformat::RGB16>(),
    Entry<pixelformat::RGB10p32>(),
    Entry<pixelformat::RGBa8>(),
    Entry<pixelformat::RGBa10>(),
    Entry<pixelformat::RGBa10p>(),
    Entry<pixelformat::RGBa12>(),
    Entry<pixelformat::RGBa12p>(),
    Entry<pixelformat::RGBa14>(),
    Entry<pixelformat::RGBa16>(),
    Entry<pixelformat::BGR8>(),
    Entry<pixelformat::BGR10>(),
    Entry<pixelformat::BGR10p>(),
    Entry<pixelformat::BGR12>(),
    Entry<pixelformat::BGR12p>(),
    Entry<pixelformat::BGR14>(),
    Entry<pixelformat::BGR16>(),
    Entry<pixelformat::BGRa8>(),
    Entry<pixelformat::BGRa10>(),
    Entry<pixelformat::BGRa10p>(),
    Entry<pixelformat::BGRa12>(),
    Entry<pixelformat::BGRa12p>(),
    Entry<pixelformat::BGRa14>(),
    Entry<pixelformat::BGRa16>(),
    Entry<pixelformat::Mono10Packed>(),
    Entry<pixelformat::Mono12Packed>(),
    Entry<pixelformat::BayerGR10Packed>(),
    Entry<pixelformat::BayerRG10Packed>(),
    Entry<pixelformat::BayerGB10Packed>(),
    Entry<pixelformat::BayerBG10Packed>(),
    Entry<pixelformat::BayerGR12Packed>(),
    Entry<pixelformat::BayerRG12Packed>(),
    Entry<pixelformat::BayerGB12Packed>(),
    Entry<pixelformat::BayerBG12Packed>(),
    Entry<pixelformat::RGB10V1Packed>(),
    Entry<pixelformat::RGB12V1Packed>(),
};

}  // namespace quarx
