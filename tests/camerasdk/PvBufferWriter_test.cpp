// The stand-in's buffer writer over pictures attached to buffers: every pixel type BMP and
// TIFF hold, read back as viewers read them, refused pixel types, raw of any type, and pictures
// larger than their bytes.
#include "camerasdk/PvBufferWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "camerasdk/PvBuffer.h"
#include "tests/support/file_bytes.h"
#include "tests/support/stored_picture.h"
#include "tests/util/scratch_dir.h"

namespace {

using quarx::test::ReadBmp;
using quarx::test::ReadFile;
using quarx::test::ReadTiff;
using quarx::test::StoredPicture;
using quarx::test::U32;
using quarx::util::test::ScratchDir;

constexpr PvPixelType kMono10 = 0x01100003;
constexpr PvPixelType kMono12 = 0x01100005;
constexpr PvPixelType kMono16 = 0x01100007;
constexpr uint16_t kPadding = 3;

// A picture attached to a buffer: `values` line by line, one per sample (16-bit samples
// little-endian), each line followed by `padding` bytes of 0xEE.
struct Frame {
  Frame(PvPixelType type, uint32_t width, uint32_t height, const std::vector<uint16_t>& values,
        uint16_t padding = kPadding) {
    const bool wide = PvPixelTypeGetBitsPerPixel(type) == 16;
    const std::size_t perLine = values.size() / height;
    for (std::size_t i = 0; i < values.size(); ++i) {
      bytes.push_back(static_cast<uint8_t>(values[i]));
      if (wide) {
        bytes.push_back(static_cast<uint8_t>(values[i] >> 8));
      }
      if ((i + 1) % perLine == 0) {
        bytes.insert(bytes.end(), padding, 0xEE);
      }
    }
    EXPECT_TRUE(buffer.GetImage()->Attach(bytes.data(), width, height, type, padding, 0).IsOK());
  }
  std::vector<uint8_t> bytes;
  PvBuffer buffer;
};

// Sample values by position and colour (0 red, 1 green, 2 blue; 0 for grey).
using Field = std::function<uint16_t(uint32_t x, uint32_t y, uint32_t colour)>;

std::vector<uint16_t> Samples(uint32_t width, uint32_t height, uint32_t samplesPerPixel, const Field& field) {
  std::vector<uint16_t> samples;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      for (uint32_t c = 0; c < samplesPerPixel; ++c) {
        samples.push_back(field(x, y, c));
      }
    }
  }
  return samples;
}

struct BayerOrder {
  const char* name;
  const char* sites;                 // the colours of the first two pixels of the first two lines
  std::array<PvPixelType, 5> types;  // 8, 10, 12, 14 and 16 bits
};

constexpr std::array<BayerOrder, 4> kBayerOrders = {{
    {"GR", "GRBG", {0x01080008, 0x0110000C, 0x01100010, 0x01100109, 0x0110002E}},
    {"RG", "RGGB", {0x01080009, 0x0110000D, 0x01100011, 0x0110010A, 0x0110002F}},
    {"GB", "GBRG", {0x0108000A, 0x0110000E, 0x01100012, 0x0110010B, 0x01100030}},
    {"BG", "BGGR", {0x0108000B, 0x0110000F, 0x01100013, 0x0110010C, 0x01100031}},
}};
constexpr std::array<uint32_t, 5> kBayerBits = {8, 10, 12, 14, 16};

// The mosaic a Bayer sensor records of a colour field.
std::vector<uint16_t> Mosaic(const BayerOrder& order, uint32_t width, uint32_t height, const Field& field) {
  return Samples(width, height, 1, [&](uint32_t x, uint32_t y, uint32_t) {
    const char site = order.sites[(y % 2) * 2 + x % 2];
    return field(x, y, site == 'R' ? 0 : site == 'G' ? 1 : 2);
  });
}

struct Row {
  std::string name;
  PvPixelType type;
  uint32_t width;
  uint32_t height;
  std::vector<uint16_t> values;
  PvBufferFormatType format;
  uint32_t bits;
  uint32_t samplesPerPixel;
  std::vector<uint16_t> expected;
  bool interiorOnly;  // bilinear interpolation is exact on a ramp only away from the borders
};

std::vector<Row> FormatRows() {
  std::vector<Row> rows;
  const auto both = [&rows](Row row, const std::vector<uint16_t>& bmp, const std::vector<uint16_t>& tiff,
                            uint32_t tiffBits) {
    const std::string name = row.name;
    row.name = name + " BMP";
    row.format = PvBufferFormatBMP;
    row.bits = 8;
    row.expected = bmp;
    rows.push_back(row);
    row.name = name + " TIFF";
    row.format = PvBufferFormatTIFF;
    row.bits = tiffBits;
    row.expected = tiff;
    rows.push_back(row);
  };
  // Flat colour fields come out in exactly their colour, at the borders too: BMP scaled to
  // 8 bits, TIFF with the values unchanged.
  const std::array<std::pair<const char*, std::array<uint32_t, 3>>, 4> colours = {
      {{"red", {1, 0, 0}}, {"green", {0, 1, 0}}, {"blue", {0, 0, 1}}, {"grey", {1, 1, 1}}}};
  constexpr uint32_t kWidth = 7;
  constexpr uint32_t kHeight = 5;
  for (const BayerOrder& order : kBayerOrders) {
    for (std::size_t depth = 0; depth < kBayerBits.size(); ++depth) {
      const uint32_t bits = kBayerBits[depth];
      for (const auto& [colourName, colour] : colours) {
        // Full scale for the primaries, three fifths of it for grey.
        const bool grey = colour[0] + colour[1] + colour[2] == 3;
        const auto level = static_cast<uint16_t>(((1u << bits) - 1) * (grey ? 3 : 5) / 5);
        const Field field = [&, level](uint32_t, uint32_t, uint32_t c) { return colour[c] * level; };
        const auto scaled = [&, level](uint32_t, uint32_t, uint32_t c) { return colour[c] * (level >> (bits - 8)); };
        Row row{std::string("Bayer") + order.name + std::to_string(bits) + " " + colourName,
                order.types[depth],
                kWidth,
                kHeight,
                Mosaic(order, kWidth, kHeight, field),
                PvBufferFormatBMP,
                0,
                3,
                {},
                false};
        both(row, Samples(kWidth, kHeight, 3, scaled), Samples(kWidth, kHeight, 3, field), bits == 8 ? 8 : 16);
      }
    }
    // Pictures with a single line or column have neighbours on one side only, or none.
    for (const auto& [width, height] : std::array<std::pair<uint32_t, uint32_t>, 3>{{{1, 1}, {1, 4}, {5, 1}}}) {
      const Field grey = [](uint32_t, uint32_t, uint32_t) -> uint16_t { return 90; };
      both({std::string("Bayer") + order.name + "8 " + std::to_string(width) + " x " + std::to_string(height),
            order.types[0],
            width,
            height,
            Mosaic(order, width, height, grey),
            PvBufferFormatBMP,
            0,
            3,
            {},
            false},
           Samples(width, height, 3, grey), Samples(width, height, 3, grey), 8);
    }
    // A ramp in each colour checks which neighbours each pixel takes its colours from.
    const Field ramp = [](uint32_t x, uint32_t y, uint32_t c) {
      return static_cast<uint16_t>(20 + 7 * x + 11 * y + 40 * c);
    };
    const Field ramp16 = [&ramp](uint32_t x, uint32_t y, uint32_t c) {
      return static_cast<uint16_t>(300 * ramp(x, y, c));
    };
    rows.push_back({std::string("Bayer") + order.name + "8 ramp BMP", order.types[0], 8, 6, Mosaic(order, 8, 6, ramp),
                    PvBufferFormatBMP, 8, 3, Samples(8, 6, 3, ramp), true});
    rows.push_back({std::string("Bayer") + order.name + "16 ramp TIFF", order.types[4], 8, 6,
                    Mosaic(order, 8, 6, ramp16), PvBufferFormatTIFF, 16, 3, Samples(8, 6, 3, ramp16), true});
  }
  // Deeper mono: BMP scaled by the significant bits (values beyond them are full white), TIFF
  // 16-bit grey with the values unchanged.
  const std::vector<uint16_t> mono12 = {0, 15, 16, 2048, 4095, 0xFFFF};
  rows.push_back({"Mono12 BMP", kMono12, 3, 2, mono12, PvBufferFormatBMP, 8, 1, {0, 0, 1, 128, 255, 255}, false});
  rows.push_back({"Mono10 TIFF",
                  kMono10,
                  3,
                  2,
                  {0, 1, 2, 511, 1023, 77},
                  PvBufferFormatTIFF,
                  16,
                  1,
                  {0, 1, 2, 511, 1023, 77},
                  false});
  const std::vector<uint16_t> mono16 =
      Samples(5, 4, 1, [](uint32_t x, uint32_t y, uint32_t) { return static_cast<uint16_t>((y * 5 + x) * 3257 + 17); });
  std::vector<uint16_t> mono16Bmp;
  for (uint16_t value : mono16) {
    mono16Bmp.push_back(value >> 8);
  }
  both({"Mono16 ramp", kMono16, 5, 4, mono16, PvBufferFormatBMP, 0, 1, {}, false}, mono16Bmp, mono16, 16);
  both({"Mono8", PvPixelMono8, 3, 2, {0, 1, 128, 200, 254, 255}, PvBufferFormatBMP, 0, 1, {}, false},
       {0, 1, 128, 200, 254, 255}, {0, 1, 128, 200, 254, 255}, 8);
  // Colour pictures come out red first whichever order they were sent in.
  const std::vector<uint16_t> colourBytes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const std::vector<uint16_t> swapped = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
  both({"RGB8", PvPixelRGB8, 2, 2, colourBytes, PvBufferFormatBMP, 0, 3, {}, false}, colourBytes, colourBytes, 8);
  both({"BGR8", PvPixelBGR8, 2, 2, colourBytes, PvBufferFormatBMP, 0, 3, {}, false}, swapped, swapped, 8);
  return rows;
}

// The first sample that differs, or "".
std::string FirstDifference(const Row& row, const StoredPicture& picture) {
  for (uint32_t y = 0; y < row.height; ++y) {
    for (uint32_t x = 0; x < row.width; ++x) {
      const bool border = x == 0 || y == 0 || x + 1 == row.width || y + 1 == row.height;
      for (uint32_t c = 0; c < row.samplesPerPixel && !(row.interiorOnly && border); ++c) {
        const uint16_t expected = row.expected[(y * row.width + x) * row.samplesPerPixel + c];
        if (picture.At(x, y, c) != expected) {
          return "(" + std::to_string(x) + ", " + std::to_string(y) + ") sample " + std::to_string(c) + " is " +
                 std::to_string(picture.At(x, y, c)) + ", not " + std::to_string(expected);
        }
      }
    }
  }
  return "";
}

TEST(PvBufferWriter, EveryPixelTypeOfBmpAndTiffReadsBackWithItsKnownValues) {
  ScratchDir scratch;
  PvBufferWriter writer;
  for (const Row& row : FormatRows()) {
    SCOPED_TRACE(row.name);
    Frame frame(row.type, row.width, row.height, row.values);
    const bool bmp = row.format == PvBufferFormatBMP;
    const std::filesystem::path path = scratch.Path() / (bmp ? "frame.bmp" : "frame.tif");
    uint32_t written = 0;
    const PvResult result = writer.Store(&frame.buffer, PvString(path.string()), row.format, &written);
    ASSERT_TRUE(result.IsOK()) << result.GetDescription().GetAscii();
    EXPECT_EQ(written, std::filesystem::file_size(path));
    const StoredPicture picture = bmp ? ReadBmp(path) : ReadTiff(path);
    ASSERT_EQ(picture.problem, "");
    ASSERT_EQ(picture.width, row.width);
    ASSERT_EQ(picture.height, row.height);
    EXPECT_EQ(picture.bitsPerSample, row.bits);
    ASSERT_EQ(picture.samplesPerPixel, row.samplesPerPixel);
    EXPECT_EQ(FirstDifference(row, picture), "");
  }
}

TEST(PvBufferWriter, Rgb8BmpIsWrittenBottomUpInBlueGreenRedOrderWithPaddedRows) {
  ScratchDir scratch;
  Frame picture(PvPixelRGB8, 2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 2);
  PvBufferWriter writer;
  uint32_t written = 0;
  const std::filesystem::path path = scratch.Path() / "rgb.bmp";
  ASSERT_TRUE(writer.Store(&picture.buffer, PvString(path.string()), PvBufferFormatBMP, &written).IsOK());
  const std::vector<uint8_t> file = ReadFile(path);
  ASSERT_EQ(file.size(), 54u + 2 * 8);  // no palette; 6 bytes a row, padded to 8
  EXPECT_EQ(written, file.size());
  EXPECT_EQ(file[28], 24);
  EXPECT_EQ(U32(file, 10), 54u);
  const std::vector<uint8_t> pixels(file.begin() + 54, file.end());
  EXPECT_EQ(pixels, (std::vector<uint8_t>{9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}));
}

TEST(PvBufferWriter, RawKeepsAnyPixelTypeWithoutLinePadding) {
  ScratchDir scratch;
  std::vector<uint8_t> bytes = {1, 2, 3, 4, 0xEE, 5, 6, 7, 8, 0xEE};
  PvBuffer buffer;
  ASSERT_TRUE(buffer.GetImage()->Attach(bytes.data(), 2, 2, kMono16, 1, 0).IsOK());
  PvBufferWriter writer;
  const std::filesystem::path path = scratch.Path() / "frame.raw";
  ASSERT_TRUE(writer.Store(&buffer, PvString(path.string()), PvBufferFormatRaw).IsOK());
  EXPECT_EQ(ReadFile(path), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(PvBufferWriter, BmpAndTiffRefusePackedAndOtherPixelTypesWithoutLeavingAFile) {
  ScratchDir scratch;
  std::vector<uint8_t> bytes(24);
  PvBufferWriter writer;
  // Mono12p, BayerGR10Packed, RGB16.
  for (const char* code : {"0x010C0047", "0x010C0026", "0x02300033"}) {
    PvBuffer buffer;
    ASSERT_TRUE(buffer.GetImage()->Attach(bytes.data(), 2, 2, std::stoul(code, nullptr, 16)).IsOK());
    for (PvBufferFormatType format : {PvBufferFormatBMP, PvBufferFormatTIFF}) {
      SCOPED_TRACE(code);
      const std::filesystem::path path = scratch.Path() / "packed";
      const PvResult result = writer.Store(&buffer, PvString(path.string()), format);
      EXPECT_EQ(result.GetCode(), PvResult::Code::NOT_SUPPORTED);
      EXPECT_NE(std::string(result.GetDescription().GetAscii()).find(code), std::string::npos);
      EXPECT_FALSE(std::filesystem::exists(path));
    }
  }
}

TEST(PvBufferWriter, BuffersWithoutPixelsAndUnwritablePathsAreRefused) {
  ScratchDir scratch;
  PvBufferWriter writer;
  PvBuffer empty;
  EXPECT_EQ(writer.Store(&empty, PvString((scratch.Path() / "a.bmp").string())).GetCode(),
            PvResult::Code::INVALID_PARAMETER);
  EXPECT_EQ(writer.Store(nullptr, PvString((scratch.Path() / "a.bmp").string())).GetCode(),
            PvResult::Code::INVALID_PARAMETER);
  PvBuffer noImage(PvPayloadTypeNone);
  EXPECT_EQ(writer.Store(&noImage, PvString((scratch.Path() / "a.bmp").string())).GetCode(),
            PvResult::Code::NOT_SUPPORTED);

  Frame picture(PvPixelRGB8, 2, 2, std::vector<uint16_t>(12));
  for (PvBufferFormatType format : {PvBufferFormatBMP, PvBufferFormatTIFF, PvBufferFormatRaw}) {
    const std::string path = (scratch.Path() / "missing" / "a").string();
    EXPECT_EQ(writer.Store(&picture.buffer, PvString(path), format).GetCode(), PvResult::Code::CANNOT_OPEN_FILE);
  }
}

TEST(PvBufferWriter, PixelTypeTraitsFollowThePfncCodes) {
  EXPECT_EQ(PvPixelTypeGetBitsPerPixel(PvPixelMono8), 8u);
  EXPECT_EQ(PvPixelTypeGetBitsPerComponent(PvPixelMono8), 8u);
  EXPECT_EQ(PvPixelTypeGetBitsPerComponent(0x01100005), 12u);  // Mono12 occupies 16 bits
  EXPECT_EQ(PvPixelTypeGetBitsPerComponent(0x02400063), 14u);  // RGBa14
  EXPECT_EQ(PvPixelTypeGetBitsPerComponent(0x0220001D), 10u);  // RGB10p32
  EXPECT_EQ(PvPixelTypeGetBitsPerComponent(0x01990001), 0u);
  EXPECT_FALSE(PvPixelTypeIsColor(PvPixelMono8));
  EXPECT_TRUE(PvPixelTypeIsColor(0x0108000B));  // BayerBG8
  EXPECT_TRUE(PvPixelTypeIsColor(0x010C0026));  // BayerGR10Packed
  EXPECT_TRUE(PvPixelTypeIsColor(PvPixelBGR8));
}

}  // namespace
