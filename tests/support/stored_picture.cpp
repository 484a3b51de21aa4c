// Stored pictures read back: BMP by hand, TIFF through libtiff.
#include "tests/support/stored_picture.h"

#include <tiffio.h>

#include <memory>

#include "tests/support/file_bytes.h"

namespace quarx::test {
namespace {

constexpr std::size_t kBmpInfoEnd = 54;
constexpr std::size_t kBmpPaletteEntry = 4;

StoredPicture Failed(const std::string& why) { return {0, 0, 0, 0, {}, why}; }

// Little-endian, as BMP files hold them.
uint32_t U32(const std::vector<uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

StoredPicture ReadBmp(const std::filesystem::path& path) {
  const std::vector<uint8_t> file = ReadFile(path);
  if (file.size() < kBmpInfoEnd || file[0] != 'B' || file[1] != 'M') {
    return Failed("not a BMP file");
  }
  if (U32(file, 2) != file.size() || U32(file, 30) != 0) {
    return Failed("a BMP file of the wrong size or compressed");
  }
  StoredPicture picture;
  picture.width = U32(file, 18);
  const auto height = static_cast<int32_t>(U32(file, 22));
  picture.height = static_cast<uint32_t>(height < 0 ? -height : height);
  const uint32_t bitCount = U32(file, 28) & 0xFFFF;
  if (bitCount != 8 && bitCount != 24) {
    return Failed("a BMP file of " + std::to_string(bitCount) + " bits a pixel");
  }
  picture.bitsPerSample = 8;
  picture.samplesPerPixel = bitCount == 8 ? 1 : 3;
  const std::size_t rowSize = (picture.width * bitCount / 8 + 3) / 4 * 4;
  const std::size_t offset = U32(file, 10);
  if (offset + rowSize * picture.height != file.size()) {
    return Failed("a BMP file whose pixels do not end it");
  }
  for (uint32_t y = 0; y < picture.height; ++y) {
    const std::size_t row = offset + rowSize * (height < 0 ? y : picture.height - 1 - y);
    for (uint32_t x = 0; x < picture.width; ++x) {
      if (bitCount == 8) {
        // The palette entry's blue, green and red are equal for grey.
        picture.samples.push_back(file[kBmpInfoEnd + kBmpPaletteEntry * file[row + x]]);
      } else {
        const std::size_t pixel = row + 3 * x;
        picture.samples.insert(picture.samples.end(), {file[pixel + 2], file[pixel + 1], file[pixel]});
      }
    }
  }
  return picture;
}

StoredPicture ReadTiff(const std::filesystem::path& path) {
  const std::unique_ptr<TIFF, void (*)(TIFF*)> tiff(TIFFOpen(path.c_str(), "r"), TIFFClose);
  if (tiff == nullptr) {
    return Failed("libtiff cannot open the file");
  }
  StoredPicture picture;
  uint16_t bits = 0, samples = 0;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &picture.width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &picture.height);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
  picture.bitsPerSample = bits;
  picture.samplesPerPixel = samples;
  if (bits != 8 && bits != 16) {
    return Failed("a TIFF file of " + std::to_string(bits) + " bits a sample");
  }
  std::vector<uint8_t> line(static_cast<std::size_t>(TIFFScanlineSize(tiff.get())));
  const std::size_t count = static_cast<std::size_t>(picture.width) * samples;
  for (uint32_t y = 0; y < picture.height; ++y) {
    if (TIFFReadScanline(tiff.get(), line.data(), y, 0) != 1) {
      return Failed("libtiff cannot read line " + std::to_string(y));
    }
    for (std::size_t i = 0; i < count; ++i) {
      picture.samples.push_back(bits == 8 ? line[i] : reinterpret_cast<const uint16_t*>(line.data())[i]);
    }
  }
  return picture;
}

}  // namespace quarx::test
