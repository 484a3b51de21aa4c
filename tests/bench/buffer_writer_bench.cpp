// Storing a full-size Bayer frame as BMP and as TIFF (demosaiced) against storing the same frame
// raw: the ratio shows what demosaicing and the image formats cost on top of writing the bytes.
// The three stores take turns within each iteration, so that a busy machine slows all alike.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "camerasdk/PvBuffer.h"
#include "camerasdk/PvBufferWriter.h"
#include "tests/util/scratch_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kWidth = 2448;
constexpr uint32_t kHeight = 2048;
constexpr PvPixelType kBayerRG8 = 0x01080009;
constexpr int kIterations = 20;

struct Store {
  const char* name;
  PvBufferFormatType format;
  const char* file;
};

constexpr std::array<Store, 3> kStores = {{
    {"raw", PvBufferFormatRaw, "frame.raw"},
    {"bmp", PvBufferFormatBMP, "frame.bmp"},
    {"tiff", PvBufferFormatTIFF, "frame.tif"},
}};

// Something like a scene: smooth gradients with some texture, so no store meets a trivial frame.
std::vector<uint8_t> Frame() {
  std::vector<uint8_t> data(static_cast<std::size_t>(kWidth) * kHeight);
  for (uint32_t y = 0; y < kHeight; ++y) {
    for (uint32_t x = 0; x < kWidth; ++x) {
      data[static_cast<std::size_t>(y) * kWidth + x] = static_cast<uint8_t>((x / 8 + y / 4) ^ ((x * 7 + y * 13) & 15));
    }
  }
  return data;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void BM_StoreBayer8AsBmpAndTiffVsRaw(benchmark::State& state) {
  std::vector<uint8_t> frame = Frame();
  PvBuffer buffer;
  if (buffer.GetImage()->Attach(frame.data(), kWidth, kHeight, kBayerRG8).IsFailure()) {
    state.SkipWithError("cannot attach the frame");
    return;
  }
  quarx::util::test::ScratchDir scratch;
  PvBufferWriter writer;
  std::array<double, kStores.size()> seconds = {};
  std::array<std::vector<double>, kStores.size()> ratios;  // per iteration, to raw
  std::size_t turn = 0;
  for (auto _ : state) {
    std::array<double, kStores.size()> iteration = {};
    for (std::size_t i = 0; i < kStores.size(); ++i) {
      const std::size_t s = (turn + i) % kStores.size();
      const std::filesystem::path path = scratch.Path() / kStores[s].file;
      std::filesystem::remove(path);  // every store makes a new file
      const auto start = Clock::now();
      const PvResult result = writer.Store(&buffer, PvString(path.string()), kStores[s].format);
      iteration[s] = std::chrono::duration<double>(Clock::now() - start).count();
      if (result.IsFailure()) {
        state.SkipWithError(result.GetDescription().GetAscii());
        return;
      }
    }
    ++turn;
    for (std::size_t s = 0; s < kStores.size(); ++s) {
      seconds[s] += iteration[s];
      ratios[s].push_back(iteration[s] / iteration[0]);
    }
    state.SetIterationTime(iteration[1]);
  }
  const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(frame.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  for (std::size_t s = 0; s < kStores.size(); ++s) {
    state.counters[std::string(kStores[s].name) + "_Bps"] = benchmark::Counter(bytes / seconds[s]);
    if (s > 0) {
      state.counters[std::string(kStores[s].name) + "_vs_raw"] = benchmark::Counter(seconds[s] / seconds[0]);
    }
  }
  std::printf(
      "%u x %u BayerRG8 (%.1f MB) stored as\n"
      "  RAW:  %7.1f MB/s\n"
      "  BMP:  %7.1f MB/s, %.2f x the time of RAW (median of iterations %.2f x)\n"
      "  TIFF: %7.1f MB/s, %.2f x the time of RAW (median of iterations %.2f x)\n",
      kWidth, kHeight, static_cast<double>(frame.size()) / 1e6, bytes / seconds[0] / 1e6, bytes / seconds[1] / 1e6,
      seconds[1] / seconds[0], Median(ratios[1]), bytes / seconds[2] / 1e6, seconds[2] / seconds[0], Median(ratios[2]));
}

}  // namespace

BENCHMARK(BM_StoreBayer8AsBmpAndTiffVsRaw)->Iterations(kIterations)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
