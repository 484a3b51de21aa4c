// Lines of a picture as image files hold them.
#include "camerasdk/picture_lines.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace camerasdk_detail {

namespace {

constexpr uint32_t kFileSampleBits = 8;

uint32_t BytesPerSample(uint32_t bits) { return bits > kFileSampleBits ? 2 : 1; }

}  // namespace

std::optional<PictureLines> PictureLines::Create(const Picture& picture, SampleDepth depth, bool blueFirst) {
  const auto format = std::find_if(kUnpackedPixelTypes.begin(), kUnpackedPixelTypes.end(),
                                   [&picture](const UnpackedPixelType& t) { return t.type == picture.type; });
  if (format == kUnpackedPixelTypes.end()) {
    return std::nullopt;
  }
  return PictureLines(picture, format->kind, format->significantBits, format->order, depth, blueFirst);
}

PictureLines::PictureLines(const Picture& picture, PixelKind kind, uint32_t significantBits, BayerOrder order,
                           SampleDepth depth, bool blueFirst)
    : picture_(picture),
      kind_(kind),
      colour_(kind != PixelKind::Mono),
      blue_first_(blueFirst),
      source_bytes_per_sample_(BytesPerSample(significantBits)),
      bytes_per_sample_(depth == SampleDepth::Eight ? 1 : BytesPerSample(significantBits)),
      shift_(depth == SampleDepth::Eight ? significantBits - kFileSampleBits : 0),
      // Scaled samples above the significant bits would overflow 8 bits; at the source's depth
      // every value stays as it came.
      max_value_(depth == SampleDepth::Eight ? static_cast<uint16_t>((1u << significantBits) - 1) : UINT16_MAX) {
  if (kind == PixelKind::Bayer) {
    demosaic_.emplace(picture.data, picture.width, picture.height, picture.stride, source_bytes_per_sample_, order,
                      max_value_);
  }
  line_.resize((LineBytes() + 1) / 2);
}

uint64_t PictureLines::LineBytes() const {
  return static_cast<uint64_t>(picture_.width) * SamplesPerPixel() * bytes_per_sample_;
}

const uint8_t* PictureLines::Line(uint32_t y) {
  const uint8_t* source = picture_.data + picture_.stride * y;
  auto* bytes = reinterpret_cast<uint8_t*>(line_.data());
  switch (kind_) {
    case PixelKind::Bayer:
      if (bytes_per_sample_ == 1) {
        demosaic_->Line(y, bytes, shift_, blue_first_);
      } else {
        demosaic_->Line(y, line_.data(), blue_first_);
      }
      return bytes;
    case PixelKind::Rgb:
    case PixelKind::Bgr:
      if ((kind_ == PixelKind::Bgr) == blue_first_) {
        return source;
      }
      std::memcpy(bytes, source, picture_.lineBytes);
      for (uint64_t i = 0; i + 2 < picture_.lineBytes; i += 3) {
        std::swap(bytes[i], bytes[i + 2]);
      }
      return bytes;
    case PixelKind::Mono:
      break;
  }
  if (source_bytes_per_sample_ == 1) {
    return source;
  }
  for (uint32_t x = 0; x < picture_.width; ++x) {
    const uint8_t* sample = source + 2 * static_cast<uint64_t>(x);
    const auto value = static_cast<uint16_t>(sample[0] | sample[1] << 8);
    if (bytes_per_sample_ == 1) {
      bytes[x] = static_cast<uint8_t>(std::min(value, max_value_) >> shift_);
    } else {
      line_[x] = value;
    }
  }
  return bytes;
}

}  // namespace camerasdk_detail
