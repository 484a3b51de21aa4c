// Upload throughput of GenICam file access against the raw memory-write rate of the same
// link: every file-access round trip beyond the data itself shows as a lower ratio.
// On a shared or virtual machine the cost of one round trip changes several-fold from one
// moment to the next, so the two alternate block by block over one connection: each block
// of the upload is timed beside a raw write of the same bytes made just before or after it.
// Runs only inside a loopback-only network namespace (scripts/in-netns.sh), where it starts
// its own emulated camera.
#include <arv.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "camerasdk/PvDeviceGEV.h"
#include "camerasdk/PvGenFile.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kCameraAddress = "127.0.0.2";
constexpr size_t kUploadSize = 4u << 20;
// Short enough that both halves of a pair meet the same machine, and that the raw half ends
// within the few milliseconds the emulator stays watchful after a command (a gap no real
// upload has); four chunks still take far longer than the clock's and the loop's own cost.
constexpr size_t kBlockSize = 16u << 10;
// The emulator's transfer buffer: the raw writes go where the file access puts its chunks.
constexpr guint64 kFileAccessBuffer = 0x9000;
constexpr size_t kFileAccessBufferSize = 4096;
constexpr int kIterations = 5;

static_assert(kUploadSize % kBlockSize == 0 && kBlockSize % kFileAccessBufferSize == 0,
              "blocks are whole transfer buffers and the image whole blocks");

std::vector<uint8_t> Image() {
  std::vector<uint8_t> data(kUploadSize);
  for (size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<uint8_t>(i * 131 + (i >> 12));
  }
  return data;
}

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The stand-in's device keeps its Aravis device to itself; the raw writes go through the
// very same connection, so that they cross the same link as the upload.
class BenchDevice : public PvDeviceGEV {
 public:
  ArvDevice* Aravis() const { return device_; }
};

// The block in transfer-buffer pieces with plain arv_device_write_memory; "" or the failure.
std::string RawWrite(ArvDevice* device, const uint8_t* block, double& seconds) {
  std::vector<uint8_t> chunk(kFileAccessBufferSize);
  GError* error = nullptr;
  const auto start = Clock::now();
  for (size_t offset = 0; offset < kBlockSize && error == nullptr; offset += kFileAccessBufferSize) {
    std::copy(block + offset, block + offset + kFileAccessBufferSize, chunk.begin());
    arv_device_write_memory(device, kFileAccessBuffer, kFileAccessBufferSize, chunk.data(), &error);
  }
  seconds = Seconds(start);
  std::string why = error != nullptr ? error->message : "";
  g_clear_error(&error);
  return why;
}

// The block through PvGenFile::Write into the open file; "" or the failure.
std::string UploadBlock(PvGenFile& file, const uint8_t* block, double& seconds) {
  int64_t written = 0;
  const auto start = Clock::now();
  const PvResult result = file.Write(block, static_cast<int64_t>(kBlockSize), written);
  seconds = Seconds(start);
  if (result.IsFailure()) {
    return result.GetDescription().GetAscii();
  }
  return written == static_cast<int64_t>(kBlockSize) ? "" : "the camera took fewer bytes than sent";
}

// One image: opened, written block by block, closed, each block beside its raw twin.
std::string Iteration(BenchDevice& device, const std::vector<uint8_t>& image, double& raw, double& upload,
                      std::vector<double>& blockRatios) {
  raw = 0.0;
  upload = 0.0;
  PvGenFile file;
  auto start = Clock::now();
  PvResult result = file.Open(device.GetParameters(), PvString("Firmware"), PvGenOpenModeWrite);
  upload += Seconds(start);
  if (result.IsFailure()) {
    return result.GetDescription().GetAscii();
  }
  for (size_t offset = 0; offset < image.size(); offset += kBlockSize) {
    double rawBlock = 0.0;
    double uploadBlock = 0.0;
    // Alternating which goes first keeps a drift of the machine from favouring either.
    const bool rawFirst = (offset / kBlockSize) % 2 == 0;
    std::string failure = rawFirst ? RawWrite(device.Aravis(), image.data() + offset, rawBlock)
                                   : UploadBlock(file, image.data() + offset, uploadBlock);
    if (failure.empty()) {
      failure = rawFirst ? UploadBlock(file, image.data() + offset, uploadBlock)
                         : RawWrite(device.Aravis(), image.data() + offset, rawBlock);
    }
    if (!failure.empty()) {
      return failure;
    }
    raw += rawBlock;
    upload += uploadBlock;
    blockRatios.push_back(rawBlock / uploadBlock);
  }
  start = Clock::now();
  result = file.Close();
  upload += Seconds(start);
  return result.IsFailure() ? result.GetDescription().GetAscii() : "";
}

double Quantile(const std::vector<double>& sorted, double q) {
  return sorted[static_cast<size_t>(q * static_cast<double>(sorted.size() - 1))];
}

void BM_PvGenFileUploadVsRawWrite(benchmark::State& state) {
  const std::vector<uint8_t> image = Image();
  BenchDevice device;
  const PvResult connected = device.Connect(PvString(kCameraAddress), PvAccessControl);
  if (connected.IsFailure()) {
    state.SkipWithError(connected.GetDescription().GetAscii());
    return;
  }
  double rawSeconds = 0.0;
  double uploadSeconds = 0.0;
  std::vector<double> blockRatios;
  for (auto _ : state) {
    double raw = 0.0;
    double upload = 0.0;
    const std::string failure = Iteration(device, image, raw, upload, blockRatios);
    if (!failure.empty()) {
      state.SkipWithError(failure.c_str());
      device.Disconnect();
      return;
    }
    rawSeconds += raw;
    uploadSeconds += upload;
    state.SetIterationTime(upload);
  }
  device.Disconnect();
  std::sort(blockRatios.begin(), blockRatios.end());
  const double median = Quantile(blockRatios, 0.5);
  const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(image.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["raw_write_Bps"] = benchmark::Counter(bytes / rawSeconds);
  state.counters["upload_Bps"] = benchmark::Counter(bytes / uploadSeconds);
  state.counters["upload_vs_raw"] = benchmark::Counter(rawSeconds / uploadSeconds);
  state.counters["upload_vs_raw_block_median"] = benchmark::Counter(median);
  std::printf(
      "raw arv_device_write_memory: %.2f MB/s\nPvGenFile upload:            %.2f MB/s\n"
      "upload / raw:                %.0f%% (per %zu KiB block: median %.0f%%, 10%%-90%% %.0f%%-%.0f%%)\n",
      bytes / rawSeconds / 1e6, bytes / uploadSeconds / 1e6, 100.0 * rawSeconds / uploadSeconds, kBlockSize >> 10,
      100.0 * median, 100.0 * Quantile(blockRatios, 0.1), 100.0 * Quantile(blockRatios, 0.9));
}

}  // namespace

BENCHMARK(BM_PvGenFileUploadVsRawWrite)->Iterations(kIterations)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  const std::string problem = quarx::test::CameraNamespaceProblem();
  if (!problem.empty()) {
    std::fprintf(stderr, "file_upload_bench: not run on the host network (%s); run it through scripts/in-netns.sh\n",
                 problem.c_str());
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  quarx::test::EmulatedCameraSpec spec;
  spec.address = kCameraAddress;
  quarx::test::EmulatorLauncher camera({spec});
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
