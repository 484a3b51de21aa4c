#pragma once
// Pictures read back from stored BMP and TIFF files (TIFF through libtiff, as viewers read
// it), in one form so that tests compare both alike.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quarx::test {

struct StoredPicture {
  uint32_t width = 0, height = 0;
  uint32_t bitsPerSample = 0;    // 8 or 16
  uint32_t samplesPerPixel = 0;  // 1 grey, 3 colour
  std::vector<uint16_t> samples;  // top-down, red first; grey BMP pixels through their palette
  std::string problem;            // empty when the file was read; otherwise why not

  uint16_t At(uint32_t x, uint32_t y, uint32_t sample = 0) const {
    return samples[(static_cast<std::size_t>(y) * width + x) * samplesPerPixel + sample];
  }
};

// 8-bit grey with a palette or 24-bit colour, uncompressed, either row order.
StoredPicture ReadBmp(const std::filesystem::path& path);
StoredPicture ReadTiff(const std::filesystem::path& path);

}  // namespace quarx::test
