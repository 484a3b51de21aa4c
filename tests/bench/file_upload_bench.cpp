// Upload throughput of GenICam file access against the raw memory-write rate of the same
// link: every file-access round trip beyond the data itself shows as a lower ratio.
// Runs only inside a loopback-only network namespace (scripts/in-netns.sh), where it starts
// its own emulated camera.
#include <arpa/inet.h>
#include <arv.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "camerasdk/PvDeviceGEV.h"
#include "camerasdk/PvGenFile.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"

namespace {

constexpr const char* kCameraAddress = "127.0.0.2";
constexpr size_t kUploadSize = 4u << 20;
// The emulator's transfer buffer: the raw writes go where the file access puts its chunks.
constexpr guint64 kFileAccessBuffer = 0x9000;
constexpr size_t kFileAccessBufferSize = 4096;
constexpr int kIterations = 3;

std::vector<uint8_t> Image() {
  std::vector<uint8_t> data(kUploadSize);
  for (size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<uint8_t>(i * 131 + (i >> 12));
  }
  return data;
}

GInetAddress* Loopback(const char* text) {
  in_addr address{};
  inet_pton(AF_INET, text, &address);
  return g_inet_address_new_from_bytes(reinterpret_cast<const guint8*>(&address.s_addr), G_SOCKET_FAMILY_IPV4);
}

void BM_RawWriteMemory(benchmark::State& state) {
  GInetAddress* local = Loopback("127.0.0.1");
  GInetAddress* camera = Loopback(kCameraAddress);
  GError* error = nullptr;
  ArvDevice* device = arv_gv_device_new(local, camera, &error);
  g_object_unref(local);
  g_object_unref(camera);
  if (device == nullptr) {
    state.SkipWithError(error != nullptr ? error->message : "cannot connect");
    g_clear_error(&error);
    return;
  }
  std::vector<uint8_t> image = Image();
  for (auto _ : state) {
    for (size_t offset = 0; offset < image.size(); offset += kFileAccessBufferSize) {
      if (!arv_device_write_memory(device, kFileAccessBuffer, kFileAccessBufferSize, image.data() + offset, &error)) {
        state.SkipWithError(error->message);
        g_clear_error(&error);
        break;
      }
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
  g_object_unref(device);
}

void BM_PvGenFileUpload(benchmark::State& state) {
  PvDeviceGEV device;
  PvResult result = device.Connect(PvString(kCameraAddress), PvAccessControl);
  if (result.IsFailure()) {
    state.SkipWithError(result.GetDescription().GetAscii());
    return;
  }
  const std::vector<uint8_t> image = Image();
  for (auto _ : state) {
    PvGenFile file;
    int64_t written = 0;
    result = file.Open(device.GetParameters(), PvString("Firmware"), PvGenOpenModeWrite);
    if (result.IsOK()) {
      result = file.Write(image.data(), static_cast<int64_t>(image.size()), written);
    }
    if (result.IsOK()) {
      result = file.Close();
    }
    if (result.IsFailure() || written != static_cast<int64_t>(image.size())) {
      state.SkipWithError(result.IsFailure() ? result.GetDescription().GetAscii() : "short write");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
  device.Disconnect();
}

// Rates from wall-clock time per iteration, so that the two can be compared directly.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) {
        continue;
      }
      const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const double rate = static_cast<double>(kUploadSize) / seconds;
      if (run.benchmark_name().find("BM_RawWriteMemory") == 0) {
        raw_ = rate;
      } else if (run.benchmark_name().find("BM_PvGenFileUpload") == 0) {
        upload_ = rate;
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (raw_ > 0 && upload_ > 0) {
      std::printf(
          "raw arv_device_write_memory: %.2f MB/s\nPvGenFile upload:            %.2f MB/s\n"
          "upload / raw:                %.0f%%\n",
          raw_ / 1e6, upload_ / 1e6, 100.0 * upload_ / raw_);
    }
  }

 private:
  double raw_ = 0.0;
  double upload_ = 0.0;
};

}  // namespace

BENCHMARK(BM_RawWriteMemory)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PvGenFileUpload)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);

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
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
