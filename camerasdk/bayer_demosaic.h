#pragma once
// Colour lines from a Bayer mosaic by bilinear interpolation, for the buffer writer's BMP and
// TIFF files alike. Never included outside camerasdk/.

#include <array>
#include <cstdint>
#include <vector>

namespace camerasdk_detail {

// The colours of the first two pixels of the first line.
enum class BayerOrder { RG, GR, GB, BG };

class BayerDemosaic {
 public:
  // Lines of `width` samples, `stride` bytes apart, each sample 1 byte or 2 bytes little-endian.
  // Samples above `maxValue` count as `maxValue`, so that a scaled value still fits its output.
  BayerDemosaic(const uint8_t* data, uint32_t width, uint32_t height, uint64_t stride, uint32_t bytesPerSample,
                BayerOrder order, uint16_t maxValue);

  // Line `y` as `width` colour triplets, red first or blue first, each component shifted right
  // by `shift` bits.
  void Line(uint32_t y, uint8_t* out, uint32_t shift, bool blueFirst);
  void Line(uint32_t y, uint16_t* out, bool blueFirst);

 private:
  template <typename Out>
  void Demosaic(uint32_t y, Out* out, uint32_t shift, bool blueFirst);
  // Line `y` widened to 16 bits with one mirrored sample at either end; `y` may lie one line
  // beyond the picture, which mirrors too. Mirroring keeps every neighbour's colour where it
  // belongs, so the border pixels come out in the right colour.
  const uint16_t* Widened(int64_t y);

  const uint8_t* data_;
  uint32_t width_;
  uint32_t height_;
  uint64_t stride_;
  uint32_t bytes_per_sample_;
  bool red_in_even_lines_;
  bool even_lines_start_green_;
  uint16_t max_value_;
  // Each line is used by three output lines in a row, top-down or bottom-up: three slots
  // keyed by the line number modulo 3 widen each line once.
  std::array<std::vector<uint16_t>, 3> widened_;
  std::array<int64_t, 3> widened_line_ = {-1, -1, -1};
  // Per pixel of the current line: the line's colour, green and the third colour.
  std::array<std::vector<uint16_t>, 3> planes_;
  // Masks of the green pixels of lines that start with green and of lines that do not.
  std::array<std::vector<uint16_t>, 2> green_sites_;
};

}  // namespace camerasdk_detail
