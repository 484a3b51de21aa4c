// The stand-in's buffer writer over pictures attached to buffers: BMP and TIFF byte order for
// colour, refused pixel types, raw of any type, and pictures larger than their bytes.
#include "camerasdk/PvBufferWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "camerasdk/PvBuffer.h"
#include "tests/support/file_bytes.h"
#include "tests/util/scratch_dir.h"

namespace {

using quarx::test::ReadFile;
using quarx::test::U32;
using quarx::util::test::ScratchDir;

constexpr PvPixelType kMono16 = 0x01100007;

// A 2 x 2 picture whose pixels are (1,2,3) (4,5,6) / (7,8,9) (10,11,12) in memory order, each
// line followed by `padding` bytes.
struct ColourPicture {
  explicit ColourPicture(PvPixelType type, uint16_t padding = 0) {
    for (uint8_t line = 0; line < 2; ++line) {
      for (uint8_t i = 1; i <= 6; ++i) {
        bytes.push_back(static_cast<uint8_t>(line * 6 + i));
      }
      bytes.insert(bytes.end(), padding, 0xEE);
    }
    EXPECT_TRUE(buffer.GetImage()->Attach(bytes.data(), 2, 2, type, padding, 0).IsOK());
  }
  std::vector<uint8_t> bytes;
  PvBuffer buffer;
};

TEST(PvBufferWriter, Rgb8BmpIsWrittenBottomUpInBlueGreenRedOrderWithPaddedRows) {
  ScratchDir scratch;
  ColourPicture picture(PvPixelRGB8, 2);
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

TEST(PvBufferWriter, Bgr8TiffIsWrittenTopDownInRedGreenBlueOrder) {
  ScratchDir scratch;
  ColourPicture picture(PvPixelBGR8);
  PvBufferWriter writer;
  const std::filesystem::path path = scratch.Path() / "bgr.tif";
  ASSERT_TRUE(writer.Store(&picture.buffer, PvString(path.string()), PvBufferFormatTIFF).IsOK());
  const std::vector<uint8_t> file = ReadFile(path);
  ASSERT_GE(file.size(), 12u);
  const std::vector<uint8_t> pixels(file.end() - 12, file.end());
  EXPECT_EQ(pixels, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
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

TEST(PvBufferWriter, BmpAndTiffRefuseOtherPixelTypesWithoutLeavingAFile) {
  ScratchDir scratch;
  std::vector<uint8_t> bytes(8);
  PvBuffer buffer;
  ASSERT_TRUE(buffer.GetImage()->Attach(bytes.data(), 2, 2, kMono16).IsOK());
  PvBufferWriter writer;
  for (PvBufferFormatType format : {PvBufferFormatBMP, PvBufferFormatTIFF}) {
    const std::filesystem::path path = scratch.Path() / "mono16";
    const PvResult result = writer.Store(&buffer, PvString(path.string()), format);
    EXPECT_EQ(result.GetCode(), PvResult::Code::NOT_SUPPORTED);
    EXPECT_NE(std::string(result.GetDescription().GetAscii()).find("0x01100007"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path));
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

  ColourPicture picture(PvPixelRGB8);
  const PvResult result =
      writer.Store(&picture.buffer, PvString((scratch.Path() / "missing" / "a.bmp").string()), PvBufferFormatBMP);
  EXPECT_EQ(result.GetCode(), PvResult::Code::CANNOT_OPEN_FILE);
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
