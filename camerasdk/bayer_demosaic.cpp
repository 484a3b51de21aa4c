// Bilinear demosaicing: every pixel keeps its own colour and takes the other two from the
// mean of its nearest neighbours of that colour. The loops are written for the compiler to
// vectorise (built with -O3, see CMakeLists.txt): a full-size frame is demosaiced in a few
// milliseconds, about as long as writing its raw bytes takes.
#include "camerasdk/bayer_demosaic.h"

#include <algorithm>
#include <type_traits>

namespace camerasdk_detail {

namespace {

constexpr uint16_t kGreenSite = 0xFFFF;

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

// Vector code for some of this needs byte shuffles or wider registers than the x86-64 baseline
// has: where the processor has AVX2, a second build of such functions is taken. GCC only:
// Clang 14 cannot clone function templates.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define CAMERASDK_WITH_AVX2 __attribute__((target_clones("avx2", "default")))
#else
#define CAMERASDK_WITH_AVX2
#endif

// The three colours of every pixel of a line. A line holds green and one other colour (the
// line's colour, red or blue) in turn; the lines above and below hold the third. Green sites
// take the line's colour from left and right and the third from above and below; the line's
// colour sites take green from the four sides and the third from the four corners.
// `a`, `b` and `c` are the widened lines above, at and below, indexed from -1 to width;
// `greenSites` is kGreenSite where the line has green. Every pixel computes both kinds and
// the mask picks, so that the loop has no branch and the compiler makes vector code of it.
// `Sum` holds four samples: 16 bits for 8-bit samples, 32 for deeper ones; only deeper ones
// are ever scaled, so 8-bit samples keep to 16-bit vector lanes.
template <typename Sum, typename Out>
CAMERASDK_WITH_AVX2 void Interpolate(const uint16_t* __restrict a, const uint16_t* __restrict b,
                                     const uint16_t* __restrict c, const uint16_t* __restrict greenSites, int64_t width,
                                     uint32_t shift, Out* __restrict lineColour, Out* __restrict green,
                                     Out* __restrict other) {
  const auto mean = [shift](Sum sum, int count) {
    const auto value = static_cast<Sum>(static_cast<Sum>(sum + count / 2) / count);
    return static_cast<uint16_t>(std::is_same_v<Sum, uint16_t> ? value : value >> shift);
  };
  for (int64_t x = 0; x < width; ++x) {
    const auto leftRight = static_cast<Sum>(b[x - 1] + b[x + 1]);
    const auto upDown = static_cast<Sum>(a[x] + c[x]);
    const auto corners =
        static_cast<Sum>(static_cast<Sum>(a[x - 1] + a[x + 1]) + static_cast<Sum>(c[x - 1] + c[x + 1]));
    const uint16_t own = mean(b[x], 1);
    const uint16_t site = greenSites[x];
    lineColour[x] = static_cast<Out>((mean(leftRight, 2) & site) | (own & ~site));
    green[x] = static_cast<Out>((own & site) | (mean(static_cast<Sum>(leftRight + upDown), 4) & ~site));
    other[x] = static_cast<Out>((mean(upDown, 2) & site) | (mean(corners, 4) & ~site));
  }
}

// Three planes into triplets.
template <typename Sample>
CAMERASDK_WITH_AVX2 void Interleave(const Sample* __restrict first, const Sample* __restrict second,
                                    const Sample* __restrict third, int64_t width, Sample* __restrict out) {
  for (int64_t x = 0; x < width; ++x) {
    out[3 * x] = first[x];
    out[3 * x + 1] = second[x];
    out[3 * x + 2] = third[x];
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
  for (std::vector<uint16_t>& plane : planes_) {
    plane.resize(width);
  }
  for (std::size_t start = 0; start < green_sites_.size(); ++start) {
    green_sites_[start].resize(width);
    for (std::size_t x = start; x < width; x += 2) {
      green_sites_[start][x] = kGreenSite;
    }
  }
}

void BayerDemosaic::Line(uint32_t y, uint8_t* out, uint32_t shift, bool blueFirst) {
  Demosaic(y, out, shift, blueFirst);
}

void BayerDemosaic::Line(uint32_t y, uint16_t* out, bool blueFirst) { Demosaic(y, out, 0, blueFirst); }

template <typename Out>
void BayerDemosaic::Demosaic(uint32_t y, Out* out, uint32_t shift, bool blueFirst) {
  // Lines -1 and height mirror onto lines of the same colours, so a line's parity alone says
  // which colours it holds, at the borders too.
  const uint16_t* above = Widened(static_cast<int64_t>(y) - 1) + 1;
  const uint16_t* at = Widened(y) + 1;
  const uint16_t* below = Widened(static_cast<int64_t>(y) + 1) + 1;
  const bool even = y % 2 == 0;
  const bool redLine = red_in_even_lines_ == even;
  const uint16_t* greenSites = green_sites_[even_lines_start_green_ == even ? 0 : 1].data();
  // The planes hold samples of the output's type; 8-bit ones use the bytes of their elements.
  Out* lineColour = reinterpret_cast<Out*>(planes_[0].data());
  Out* green = reinterpret_cast<Out*>(planes_[1].data());
  Out* other = reinterpret_cast<Out*>(planes_[2].data());
  if (bytes_per_sample_ == 1) {
    Interpolate<uint16_t>(above, at, below, greenSites, width_, shift, lineColour, green, other);
  } else {
    Interpolate<uint32_t>(above, at, below, greenSites, width_, shift, lineColour, green, other);
  }
  const bool lineColourFirst = redLine != blueFirst;
  Interleave(lineColourFirst ? lineColour : other, green, lineColourFirst ? other : lineColour, width_, out);
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
