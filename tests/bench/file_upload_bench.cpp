// Upload throughput of GenICam file access against the raw memory-write rate of the same
// link: every file-access round trip beyond the data itself shows as a lower ratio.
// The two alternate within each iteration, so that both meet the same machine load.
// Runs only inside a loopback-only network namespace (scripts/in-netns.sh), where it starts
// its own emulated camera.
#include <arpa/inet.h>
#include <arv.h>
#include <benchmark/benchmark.h>

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
// The emulator's transfer buffer: the raw writes go where the file access puts its chunks.
constexpr guint64 kFileAccessBuffer = 0x9000;
constexpr size_t kFileAccessBufferSize = 4096;
constexpr int kIterations = 5;

std::vector<uint8_t> Image() {
  std::vector<uint8_t> data(kUploadSize);
  for (size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<uint8_t>(i * 131 + (i >> 12));
  }
  return data;
}

GInetAddress* Ipv4(const char* text) {
  in_addr address{};
  inet_pton(AF_INET, text, &address);
  return g_inet_address_new_from_bytes(reinterpret_cast<const guint8*>(&address.s_addr), G_SOCKET_FAMILY_IPV4);
}

// The same bytes in transfer-buffer pieces with plain arv_device_write_memory; "" or the failure.
std::string RawWrite(const std::vector<uint8_t>& image, double& seconds) {
  GInetAddress* local = Ipv4("127.0.0.1");
  GInetAddress* camera = Ipv4(kCameraAddress);
  GError* error = nullptr;
  ArvDevice* device = arv_gv_device_new(local, camera, &error);
  g_object_unref(local);
  g_object_unref(camera);
  if (device == nullptr) {
    std::string why = error != nullptr ? error->message : "cannot connect";
    g_clear_error(&error);
    return why;
  }
  std::vector<uint8_t> chunk(kFileAccessBufferSize);
  const auto start = Clock::now();
  for (size_t offset = 0; offset < image.size() && error == nullptr; offset += kFileAccessBufferSize) {
    std::copy(image.begin() + offset, image.begin() + offset + kFileAccessBufferSize, chunk.begin());
    arv_device_write_memory(device, kFileAccessBuffer, kFileAccessBufferSize, chunk.data(), &error);
  }
  seconds = std::chrono::duration<double>(Clock::now() - start).count();
  g_object_unref(device);
  std::string why = error != nullptr ? error->message : "";
  g_clear_error(&error);
  return why;
}

// The same bytes through PvGenFile into the camera's "Firmware" file; "" or the failure.
std::string Upload(const std::vector<uint8_t>& image, double& seconds) {
  PvDeviceGEV device;
  PvResult result = device.Connect(PvString(kCameraAddress), PvAccessControl);
  if (result.IsFailure()) {
    return result.GetDescription().GetAscii();
  }
  PvGenFile file;
  int64_t written = 0;
  const auto start = Clock::now();
  result = file.Open(device.GetParameters(), PvString("Firmware"), PvGenOpenModeWrite);
  if (result.IsOK()) {
    result = file.Write(image.data(), static_cast<int64_t>(image.size()), written);
  }
  if (result.IsOK()) {
    result = file.Close();
  }
  seconds = std::chrono::duration<double>(Clock::now() - start).count();
  device.Disconnect();
  if (result.IsFailure()) {
    return result.GetDescription().GetAscii();
  }
  return written == static_cast<int64_t>(image.size()) ? "" : "the camera took fewer bytes than sent";
}

void BM_PvGenFileUploadVsRawWrite(benchmark::State& state) {
  const std::vector<uint8_t> image = Image();
  double rawSeconds = 0.0;
  double uploadSeconds = 0.0;
  for (auto _ : state) {
    double raw = 0.0;
    double upload = 0.0;
    std::string failure = RawWrite(image, raw);
    if (failure.empty()) {
      failure = Upload(image, upload);
    }
    if (!failure.empty()) {
      state.SkipWithError(failure.c_str());
      return;
    }
    rawSeconds += raw;
    uploadSeconds += upload;
    state.SetIterationTime(upload);
  }
  const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(image.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["raw_write_Bps"] = benchmark::Counter(bytes / rawSeconds);
  state.counters["upload_Bps"] = benchmark::Counter(bytes / uploadSeconds);
  state.counters["upload_vs_raw"] = benchmark::Counter(rawSeconds / uploadSeconds);
  std::printf(
      "raw arv_device_write_memory: %.2f MB/s\nPvGenFile upload:            %.2f MB/s\n"
      "upload / raw:                %.0f%%\n",
      bytes / rawSeconds / 1e6, bytes / uploadSeconds / 1e6, 100.0 * rawSeconds / uploadSeconds);
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
