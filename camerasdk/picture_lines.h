#pragma once
// The lines of a buffer's picture in the samples an image file holds: grey or colour, 8 bits
// or the source's depth. Bayer pictures are demosaiced, deeper pictures scaled where the file
// wants 8 bits. Never included outside camerasdk/.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "camerasdk/PvPixelType.h"
#include "camerasdk/bayer_demosaic.h"
#include "camerasdk/unpacked_pixel_types.h"

namespace camerasdk_detail {

// The picture to write: lines of `lineBytes` pixel bytes, `stride` apart.
struct Picture {
  const uint8_t* data;
  uint32_t width;
  uint32_t height;
  PvPixelType type;
  uint64_t lineBytes;
  uint64_t stride;
};

enum class SampleDepth {
  Eight,   // scaled to 8 bits by the significant bits: what viewers of BMP files expect
  Source,  // 8 bits, or 16 bits with the source's values unchanged
};

class PictureLines {
 public:
  // Empty when image files do not hold the picture's pixel type (packed and other types).
  static std::optional<PictureLines> Create(const Picture& picture, SampleDepth depth, bool blueFirst);

  uint32_t SamplesPerPixel() const { return colour_ ? 3 : 1; }
  uint32_t BitsPerSample() const { return bytes_per_sample_ * 8; }
  uint64_t LineBytes() const;
  // Line `y`, `LineBytes()` long, 16-bit samples in the host's order; valid until the next call.
  const uint8_t* Line(uint32_t y);

 private:
  PictureLines(const Picture& picture, PixelKind kind, uint32_t significantBits, BayerOrder order, SampleDepth depth,
               bool blueFirst);

  Picture picture_;
  PixelKind kind_;
  bool colour_;
  bool blue_first_;
  uint32_t source_bytes_per_sample_;
  uint32_t bytes_per_sample_;  // of the output
  uint32_t shift_;             // from the source's samples to the output's
  uint16_t max_value_;         // of the source's samples
  std::optional<BayerDemosaic> demosaic_;
  // uint16_t elements keep 16-bit output aligned; 8-bit output uses their bytes.
  std::vector<uint16_t> line_;
};

}  // namespace camerasdk_detail
