// Acquisition through the device core against an emulated GigE Vision camera: frames of every
// pixel format the camera sends stored as BMP, TIFF and raw and read back, and buffers that
// outlive their stream and device. Runs only in a loopback-only namespace.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/buffer.h"
#include "core/device.h"
#include "core/device_gev.h"
#include "core/exception_core.h"
#include "core/found_device_info.h"
#include "core/stream.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/file_bytes.h"
#include "tests/support/stored_picture.h"
#include "tests/util/scratch_dir.h"

namespace {

using namespace quarx;
using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using quarx::test::ReadBmp;
using quarx::test::ReadFile;
using quarx::test::ReadTiff;
using quarx::test::StoredPicture;
using quarx::util::test::ScratchDir;

const std::string kAddress = "127.0.0.2";
constexpr unsigned int kBufferCount = 8;
// The emulated camera sends 25 frames a second.
constexpr uint32_t kFrameTimeoutMs = 3000;

class StreamCamera : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    EmulatedCameraSpec spec;
    spec.address = kAddress;
    cameras_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{spec});
    std::unique_ptr<core::FoundDeviceInfo> record =
        std::make_unique<core::FoundDeviceInfo>(kAddress, DeviceInterfaceTypeEnum::GEV);
    device_ = core::Device::Create(record);
    device_->Connect();
  }

  int64_t Feature(const std::string& name) { return device_->GetFeatures()->GetInteger(name)->GetValue(); }

  std::unique_ptr<EmulatorLauncher> cameras_;
  std::shared_ptr<core::Device> device_;
};

// The pixel formats the emulated camera sends, as stored files hold them.
struct StoredFormat {
  const char* pixelFormat;
  uint32_t bytesPerPixel;
  const char* bayerSites;  // the colours of the first two pixels of the first two lines; null for mono
};

constexpr std::array<StoredFormat, 6> kStoredFormats = {{
    {"Mono8", 1, nullptr},
    {"Mono16", 2, nullptr},
    {"BayerGR8", 1, "GRBG"},
    {"BayerRG8", 1, "RGGB"},
    {"BayerGB8", 1, "GBRG"},
    {"BayerBG8", 1, "BGGR"},
}};

TEST_F(StreamCamera, StoresFramesOfEveryPixelFormatAsBmpTiffAndRaw) {
  const auto width = static_cast<uint32_t>(Feature("Width"));
  const auto height = static_cast<uint32_t>(Feature("Height"));
  std::vector<std::shared_ptr<core::Stream>> streams = device_->CreateAndOpenStreams();
  ScratchDir scratch;
  for (const StoredFormat& format : kStoredFormats) {
    SCOPED_TRACE(format.pixelFormat);
    device_->GetFeatures()->GetEnum("PixelFormat")->SetValue(std::string(format.pixelFormat));
    device_->AcquisitionStart(kBufferCount);
    std::unique_ptr<core::Buffer> buffer = streams[0]->RetrieveBuffer(kFrameTimeoutMs);
    device_->AcquisitionStop();
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->GetPayloadSize(), width * height * format.bytesPerPixel);
    const uint8_t* pixels = buffer->GetData();
    // A sample as the camera sent it: 16-bit ones little-endian.
    const auto sent = [&](uint32_t x, uint32_t y) -> uint32_t {
      const uint8_t* at = pixels + (static_cast<std::size_t>(y) * width + x) * format.bytesPerPixel;
      return format.bytesPerPixel == 1 ? at[0] : at[0] | at[1] << 8;
    };

    const std::filesystem::path bmp = scratch.Path() / "frame.bmp";
    const std::filesystem::path tiff = scratch.Path() / "frame.tiff";
    const std::filesystem::path raw = scratch.Path() / "FRAME.RAW";
    buffer->Store(bmp.string());
    buffer->Store(tiff.string());
    buffer->Store(raw.string());

    const std::vector<uint8_t> r = ReadFile(raw);
    ASSERT_EQ(r.size(), buffer->GetPayloadSize());
    EXPECT_TRUE(std::equal(r.begin(), r.end(), pixels));
    for (const bool isTiff : {false, true}) {
      SCOPED_TRACE(isTiff ? "TIFF" : "BMP");
      const StoredPicture picture = isTiff ? ReadTiff(tiff) : ReadBmp(bmp);
      ASSERT_EQ(picture.problem, "");
      EXPECT_EQ(picture.width, width);
      EXPECT_EQ(picture.height, height);
      // BMP scales 16-bit samples to 8 bits; TIFF keeps them.
      const uint32_t bits = isTiff ? 8 * format.bytesPerPixel : 8;
      EXPECT_EQ(picture.bitsPerSample, bits);
      if (format.bayerSites == nullptr) {
        ASSERT_EQ(picture.samplesPerPixel, 1u);
        EXPECT_EQ(picture.At(5, 3), sent(5, 3) >> (8 * format.bytesPerPixel - bits));
      } else {
        ASSERT_EQ(picture.samplesPerPixel, 3u);
        // Each pixel keeps the colour its site recorded.
        for (uint32_t site = 0; site < 4; ++site) {
          const uint32_t x = 2 + site % 2;
          const uint32_t y = 2 + site / 2;
          const char colour = format.bayerSites[site];
          EXPECT_EQ(picture.At(x, y, colour == 'R' ? 0 : colour == 'G' ? 1 : 2), sent(x, y)) << x << ", " << y;
        }
      }
    }
  }
}

TEST_F(StreamCamera, BuffersHeldPastTheirStreamAndDeviceStayReadableAndAreFreedQuietly) {
  const auto width = static_cast<unsigned int>(Feature("Width"));
  std::vector<std::shared_ptr<core::Stream>> streams = device_->CreateAndOpenStreams();
  device_->AcquisitionStart(kBufferCount);
  std::unique_ptr<core::Buffer> held = streams[0]->RetrieveBuffer(kFrameTimeoutMs);
  std::unique_ptr<core::Buffer> second = streams[0]->RetrieveBuffer(kFrameTimeoutMs);
  device_->AcquisitionStop();
  EXPECT_TRUE(held->GetChunkValues({}).empty());  // the emulated camera has no chunk mode

  device_->DisConnect();
  streams.clear();  // the last owner: the stream is destroyed with buffers still out
  second.reset();
  EXPECT_EQ(held->GetImage()->GetWidth(), width);
  EXPECT_NE(held->GetData(), nullptr);
  device_.reset();
  try {
    held->GetChunkValues({});
    FAIL() << "chunk values were read from a device that is gone";
  } catch (const ConnectException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 4);
  }
  held.reset();
}

}  // namespace
