// The stand-in's buffer writer: each pixel-type family BMP and TIFF hold, read back as viewers
// read them; packed and other types, empty buffers and unwritable paths refused; raw of any type.
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

using quarx::test::StoredPicture;
using quarx::util::test::ScratchDir;

// A picture attached to a buffer: one value per sample (16-bit ones little-endian), each line
// followed by padding bytes the writer must skip.
struct Frame {
  static constexpr uint16_t kPadding = 3;
  Frame(PvPixelType type, uint32_t width, uint32_t height, const std::vector<uint16_t>& values) {
    const std::size_t perLine = values.size() / height;
    for (std::size_t i = 0; i < values.size(); ++i) {
      bytes.push_back(static_cast<uint8_t>(values[i]));
      if (PvPixelTypeGetBitsPerPixel(type) == 16) {
        bytes.push_back(static_cast<uint8_t>(values[i] >> 8));
      }
      if ((i + 1) % perLine == 0) {
        bytes.insert(bytes.end(), kPadding, 0xEE);
      }
    }
    EXPECT_TRUE(buffer.GetImage()->Attach(bytes.data(), width, height, type, kPadding, 0).IsOK());
  }
  std::vector<uint8_t> bytes;
  PvBuffer buffer;
};

// Sample values by position and colour (0 red, 1 green, 2 blue; 0 for grey).
using Field = std::function<uint16_t(uint32_t x, uint32_t y, uint32_t colour)>;

std::vector<uint16_t> Samples(uint32_t width, uint32_t height, uint32_t perPixel, const Field& field) {
  std::vector<uint16_t> samples;
  for (uint32_t i = 0; i < width * height * perPixel; ++i) {
    samples.push_back(field(i / perPixel % width, i / perPixel / width, i % perPixel));
  }
  return samples;
}

// The mosaic a Bayer sensor whose first two pixels of the first two lines are `sites` records.
std::vector<uint16_t> Mosaic(const char* sites, uint32_t width, uint32_t height, const Field& field) {
  return Samples(width, height, 1, [&](uint32_t x, uint32_t y, uint32_t) {
    const char site = sites[(y % 2) * 2 + x % 2];
    return field(x, y, site == 'R' ? 0 : site == 'G' ? 1 : 2);
  });
}

struct Row {
  std::string name;
  PvPixelType type;
  uint32_t width, height;
  std::vector<uint16_t> values;
  bool bmp;  // else TIFF
  uint32_t bits;
  std::vector<uint16_t> expected;  // one sample per colour (red first), or one per grey pixel
  bool interiorOnly;  // bilinear interpolation is exact on a ramp only away from the borders
};

std::vector<Row> FormatRows() {
  std::vector<Row> rows;
  // BMP holds 8 bits (deeper samples shifted down), TIFF the samples unchanged.
  const auto both = [&rows](const std::string& name, PvPixelType type, uint32_t w, uint32_t h, uint32_t bits,
                            uint32_t perPixel, const std::vector<uint16_t>& values, const Field& field) {
    rows.push_back({name + " BMP", type, w, h, values, true, 8,
                    Samples(w, h, perPixel, [&](uint32_t x, uint32_t y, uint32_t c) { return field(x, y, c) >> (bits - 8); }),
                    false});
    rows.push_back({name + " TIFF", type, w, h, values, false, bits == 8 ? 8u : 16u,
                    Samples(w, h, perPixel, field), false});
  };
  const struct {
    const char* name;
    const char* sites;
    std::array<PvPixelType, 5> types;  // 8, 10, 12, 14 and 16 bits
  } orders[] = {{"GR", "GRBG", {0x01080008, 0x0110000C, 0x01100010, 0x01100109, 0x0110002E}},
                {"RG", "RGGB", {0x01080009, 0x0110000D, 0x01100011, 0x0110010A, 0x0110002F}},
                {"GB", "GBRG", {0x0108000A, 0x0110000E, 0x01100012, 0x0110010B, 0x01100030}},
                {"BG", "BGGR", {0x0108000B, 0x0110000F, 0x01100013, 0x0110010C, 0x01100031}}};
  for (const auto& order : orders) {
    const std::string bayer = std::string("Bayer") + order.name;
    for (uint32_t depth = 0; depth < 5; ++depth) {
      // A flat field of three different colour levels comes out in exactly its colour, at the borders too.
      const uint32_t bits = 8 + 2 * depth;
      const Field flat = [bits](uint32_t, uint32_t, uint32_t c) {
        return static_cast<uint16_t>(((1u << bits) - 1) * (5 - 2 * c) / 5);
      };
      both(bayer + std::to_string(bits), order.types[depth], 7, 5, bits, 3, Mosaic(order.sites, 7, 5, flat), flat);
    }
    // Pictures with a single line or column have neighbours on one side only, or none.
    const Field grey = [](uint32_t, uint32_t, uint32_t) -> uint16_t { return 90; };
    for (const auto& [w, h] : std::array<std::pair<uint32_t, uint32_t>, 3>{{{1, 1}, {1, 4}, {5, 1}}}) {
      both(bayer + "8 " + std::to_string(w) + "x" + std::to_string(h), order.types[0], w, h, 8, 3,
           Mosaic(order.sites, w, h, grey), grey);
    }
    // A ramp in each colour checks which neighbours each pixel takes its colours from.
    const Field ramp = [](uint32_t x, uint32_t y, uint32_t c) { return static_cast<uint16_t>(20 + 7 * x + 11 * y + 40 * c); };
    const Field ramp16 = [&ramp](uint32_t x, uint32_t y, uint32_t c) { return static_cast<uint16_t>(300 * ramp(x, y, c)); };
    rows.push_back({bayer + "8 ramp BMP", order.types[0], 8, 6, Mosaic(order.sites, 8, 6, ramp), true, 8,
                    Samples(8, 6, 3, ramp), true});
    rows.push_back({bayer + "16 ramp TIFF", order.types[4], 8, 6, Mosaic(order.sites, 8, 6, ramp16), false, 16,
                    Samples(8, 6, 3, ramp16), true});
  }
  // Mono BMP is scaled by the significant bits, values beyond them full white.
  rows.push_back({"Mono12 BMP", 0x01100005, 3, 2, {0, 15, 16, 2048, 4095, 0xFFFF}, true, 8, {0, 0, 1, 128, 255, 255}, false});
  rows.push_back({"Mono10 TIFF", 0x01100003, 3, 2, {0, 1, 2, 511, 1023, 77}, false, 16, {0, 1, 2, 511, 1023, 77}, false});
  const Field mono8 = [](uint32_t x, uint32_t y, uint32_t) { return static_cast<uint16_t>(y * 200 + x * 27); };
  both("Mono8", PvPixelMono8, 3, 2, 8, 1, Samples(3, 2, 1, mono8), mono8);
  // Colour pictures come out red first whichever order they were sent in.
  const Field rgb = [](uint32_t x, uint32_t y, uint32_t c) { return static_cast<uint16_t>(1 + c + 3 * x + 6 * y); };
  both("RGB8", PvPixelRGB8, 2, 2, 8, 3, Samples(2, 2, 3, rgb), rgb);
  both("BGR8", PvPixelBGR8, 2, 2, 8, 3, Samples(2, 2, 3, [&](uint32_t x, uint32_t y, uint32_t c) { return rgb(x, y, 2 - c); }),
       rgb);
  return rows;
}

TEST(PvBufferWriter, EachPixelTypeFamilyReadsBackFromBmpAndTiffWithItsKnownValues) {
  ScratchDir scratch;
  PvBufferWriter writer;
  for (const Row& row : FormatRows()) {
    SCOPED_TRACE(row.name);
    Frame frame(row.type, row.width, row.height, row.values);
    const std::filesystem::path path = scratch.Path() / (row.bmp ? "frame.bmp" : "frame.tif");
    uint32_t written = 0;
    const PvResult result =
        writer.Store(&frame.buffer, PvString(path.string()), row.bmp ? PvBufferFormatBMP : PvBufferFormatTIFF, &written);
    ASSERT_TRUE(result.IsOK()) << result.GetDescription().GetAscii();
    EXPECT_EQ(written, std::filesystem::file_size(path));
    const StoredPicture picture = row.bmp ? quarx::test::ReadBmp(path) : quarx::test::ReadTiff(path);
    ASSERT_EQ(picture.problem, "");
    ASSERT_EQ(std::make_pair(picture.width, picture.height), std::make_pair(row.width, row.height));
    EXPECT_EQ(picture.bitsPerSample, row.bits);
    const uint32_t perPixel = static_cast<uint32_t>(row.expected.size()) / (row.width * row.height);
    ASSERT_EQ(picture.samplesPerPixel, perPixel);
    for (uint32_t i = 0; i < row.expected.size(); ++i) {
      const uint32_t x = i / perPixel % row.width;
      const uint32_t y = i / perPixel / row.width;
      if (!row.interiorOnly || (x > 0 && y > 0 && x + 1 < row.width && y + 1 < row.height)) {
        ASSERT_EQ(picture.samples[i], row.expected[i]) << "(" << x << ", " << y << ") sample " << i % perPixel;
      }
    }
  }
}

TEST(PvBufferWriter, RawKeepsAnyPixelTypeWithoutLinePadding) {
  ScratchDir scratch;
  Frame frame(0x01100007, 2, 2, {0x0201, 0x0403, 0x0605, 0x0807});
  const std::filesystem::path path = scratch.Path() / "frame.raw";
  ASSERT_TRUE(PvBufferWriter().Store(&frame.buffer, PvString(path.string()), PvBufferFormatRaw).IsOK());
  EXPECT_EQ(quarx::test::ReadFile(path), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(PvBufferWriter, PackedAndOtherTypesEmptyBuffersAndUnwritablePathsAreRefusedLeavingNoFile) {
  ScratchDir scratch;
  PvBufferWriter writer;
  const std::string path = (scratch.Path() / "frame").string();
  // Mono12p, BayerGR10Packed, RGB16.
  for (const char* code : {"0x010C0047", "0x010C0026", "0x02300033"}) {
    Frame frame(std::stoul(code, nullptr, 16), 2, 2, std::vector<uint16_t>(12));
    for (PvBufferFormatType format : {PvBufferFormatBMP, PvBufferFormatTIFF}) {
      const PvResult result = writer.Store(&frame.buffer, PvString(path), format);
      EXPECT_EQ(result.GetCode(), PvResult::Code::NOT_SUPPORTED) << code;
      EXPECT_NE(std::string(result.GetDescription().GetAscii()).find(code), std::string::npos);
      EXPECT_FALSE(std::filesystem::exists(path));
    }
  }
  PvBuffer empty, noImage(PvPayloadTypeNone);
  EXPECT_EQ(writer.Store(&empty, PvString(path)).GetCode(), PvResult::Code::INVALID_PARAMETER);
  EXPECT_EQ(writer.Store(nullptr, PvString(path)).GetCode(), PvResult::Code::INVALID_PARAMETER);
  EXPECT_EQ(writer.Store(&noImage, PvString(path)).GetCode(), PvResult::Code::NOT_SUPPORTED);
  Frame rgb(PvPixelRGB8, 2, 2, std::vector<uint16_t>(12));
  for (PvBufferFormatType format : {PvBufferFormatBMP, PvBufferFormatTIFF, PvBufferFormatRaw}) {
    EXPECT_EQ(writer.Store(&rgb.buffer, PvString((scratch.Path() / "missing" / "a").string()), format).GetCode(),
              PvResult::Code::CANNOT_OPEN_FILE);
  }
}

}  // namespace
