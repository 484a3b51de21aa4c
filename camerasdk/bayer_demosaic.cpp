// Bilinear demosaicing: every pixel keeps its own colour and takes the other two from the
// mean of its nearest neighbours of that colour.
#include "camerasdk/bayer_demosaic.h"

#include <algorithm>

namespace camerasdk_detail {

namespace {

constexpr int kRedSlot = 0;
constexpr int kBlueSlot = 2;

// The mirror image of an index one step outside [0, size): -1 becomes 1 and size becomes
// size - 2, which have the same colour in the mosaic; a picture one pixel wide or high has no
// second pixel and repeats its only one.
int64_t Mirror(int64_t index, int64_t size) {
  if (index < 0) {
    index = -index;
  } else if (index >= size) {
    index = 2 * (size - 1) - index;
  }
  return std::clamp<int64_t>(index, 0, size - 1);
}

// One output line. `a`, `b` and `c` are the widened lines above, at and below it, indexed
// from -1 to width. A line holds green and one other colour (the line's colour, red or blue)
// in turn; the line above and below hold the third.
template <int kLineColourSlot, typename Out>
void InterpolateLine(const uint16_t* a, const uint16_t* b, const uint16_t* c, int64_t width, bool startsGreen,
                     uint32_t shift, Out* out) {
  constexpr int kOtherSlot = kBlueSlot - kLineColourSlot;
  const auto green = [&](int64_t x) {
    Out* pixel = out + 3 * x;
    pixel[kLineColourSlot] = static_cast<Out>(((b[x - 1] + b[x + 1] + 1u) >> 1) >> shift);
    pixel[1] = static_cast<Out>(b[x] >> shift);
    pixel[kOtherSlot] = static_cast<Out>(((a[x] + c[x] + 1u) >> 1) >> shift);
  };
  const auto colour = [&](int64_t x) {
    Out* pixel = out + 3 * x;
    pixel[kLineColourSlot] = static_cast<Out>(b[x] >> shift);
    pixel[1] = static_cast<Out>(((b[x - 1] + b[x + 1] + a[x] + c[x] + 2u) >> 2) >> shift);
    pixel[kOtherSlot] = static_cast<Out>(((a[x - 1] + a[x + 1] + c[x - 1] + c[x + 1] + 2u) >> 2) >> shift);
  };
  int64_t x = 0;
  if (startsGreen) {
    for (; x + 1 < width; x += 2) {
      green(x);
      colour(x + 1);
    }
    if (x < width) {
      green(x);
    }
  } else {
    for (; x + 1 < width; x += 2) {
      colour(x);
      green(x + 1);
    }
    if (x < width) {
      colour(x);
    }
  }
}

}  // namespace

BayerDemosaic::BayerDemosaic(const uint8_t* data, uint32_t width, uint32_t height, uint64_t stride,
                             uint32_t bytesPerSample, BayerOrder order, uint16_t maxValue)
    : data_(data),
      width_(width),
      height_(height),
      stride_(stride),
      bytes_per_sample_(bytesPerSample),
      red_in_even_lines_(order == BayerOrder::RG || order == BayerOrder::GR),
      even_lines_start_green_(order == BayerOrder::GR || order == BayerOrder::GB),
      max_value_(maxValue) {
  for (std::vector<uint16_t>& slot : widened_) {
    slot.resize(static_cast<std::size_t>(width) + 2);
  }
}

void BayerDemosaic::Line(uint32_t y, uint8_t* out, uint32_t shift, bool blueFirst) {
  Interpolate(y, out, shift, blueFirst);
}

void BayerDemosaic::Line(uint32_t y, uint16_t* out, bool blueFirst) { Interpolate(y, out, 0, blueFirst); }

template <typename Out>
void BayerDemosaic::Interpolate(uint32_t y, Out* out, uint32_t shift, bool blueFirst) {
  // Lines -1 and height mirror onto lines of the same colours, so a line's parity alone says
  // which colours it holds, at the borders too.
  const uint16_t* above = Widened(static_cast<int64_t>(y) - 1) + 1;
  const uint16_t* at = Widened(y) + 1;
  const uint16_t* below = Widened(static_cast<int64_t>(y) + 1) + 1;
  const bool even = y % 2 == 0;
  const bool redLine = red_in_even_lines_ == even;
  const bool startsGreen = even_lines_start_green_ == even;
  if (redLine != blueFirst) {
    InterpolateLine<kRedSlot>(above, at, below, width_, startsGreen, shift, out);
  } else {
    InterpolateLine<kBlueSlot>(above, at, below, width_, startsGreen, shift, out);
  }
}

const uint16_t* BayerDemosaic::Widened(int64_t y) {
  const int64_t line = Mirror(y, height_);
  const std::size_t slot = static_cast<std::size_t>(line % 3);
  std::vector<uint16_t>& widened = widened_[slot];
  if (widened_line_[slot] == line) {
    return widened.data();
  }
  widened_line_[slot] = line;
  const uint8_t* source = data_ + stride_ * static_cast<uint64_t>(line);
  uint16_t* samples = widened.data() + 1;
  if (bytes_per_sample_ == 1) {
    std::copy(source, source + width_, samples);
  } else {
    for (uint32_t x = 0; x < width_; ++x) {
      const auto value = static_cast<uint16_t>(source[2 * x] | source[2 * x + 1] << 8);
      samples[x] = std::min(value, max_value_);
    }
  }
  samples[-1] = samples[Mirror(-1, width_)];
  samples[width_] = samples[Mirror(width_, width_)];
  return widened.data();
}

}  // namespace camerasdk_detail
