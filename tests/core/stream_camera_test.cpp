// Acquisition through the device core against an emulated GigE Vision camera: frames of every
// pixel format the camera sends stored as BMP, TIFF and raw and read back, and buffers that
// outlive their stream and device. Runs only in a loopback-only namespace.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/buffer.h"
#include "core/device.h"
#include "core/exception_core.h"
#include "core/found_device_info.h"
#include "core/stream.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/file_bytes.h"
#include "tests/support/stored_picture.h"
#include "tests/support/thrown_adaptor_exception.h"
#include "tests/util/scratch_dir.h"

namespace {

using namespace quarx;

constexpr unsigned int kBufferCount = 8;
constexpr uint32_t kFrameTimeoutMs = 3000;  // the emulated camera sends 25 frames a second

class StreamCamera : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    test::EmulatedCameraSpec spec;
    spec.address = "127.0.0.2";
    cameras_ = std::make_unique<test::EmulatorLauncher>(std::vector<test::EmulatedCameraSpec>{spec});
    std::unique_ptr<core::FoundDeviceInfo> record =
        std::make_unique<core::FoundDeviceInfo>(spec.address, DeviceInterfaceTypeEnum::GEV);
    device_ = core::Device::Create(record);
    device_->Connect();
    width_ = static_cast<uint32_t>(device_->GetFeatures()->GetInteger("Width")->GetValue());
    streams_ = device_->CreateAndOpenStreams();
    device_->AcquisitionStart(kBufferCount);
  }

  std::unique_ptr<test::EmulatorLauncher> cameras_;
  std::shared_ptr<core::Device> device_;
  uint32_t width_ = 0;
  std::vector<std::shared_ptr<core::Stream>> streams_;
};

TEST_F(StreamCamera, StoresFramesOfEveryPixelFormatAsBmpTiffAndRaw) {
  // The colours of the first two pixels of the first two lines; "" for mono.
  const std::pair<const char*, const char*> formats[] = {{"Mono8", ""},         {"Mono16", ""},
                                                         {"BayerGR8", "GRBG"}, {"BayerRG8", "RGGB"},
                                                         {"BayerGB8", "GBRG"}, {"BayerBG8", "BGGR"}};
  util::test::ScratchDir scratch;
  for (const auto& [pixelFormat, sites] : formats) {
    SCOPED_TRACE(pixelFormat);
    device_->AcquisitionStop();
    device_->GetFeatures()->GetEnum("PixelFormat")->SetValue(std::string(pixelFormat));
    device_->AcquisitionStart(kBufferCount);
    std::unique_ptr<core::Buffer> buffer = streams_[0]->RetrieveBuffer(kFrameTimeoutMs);
    ASSERT_NE(buffer, nullptr);
    const uint32_t bytes = std::string(pixelFormat) == "Mono16" ? 2 : 1;
    const uint32_t height = buffer->GetPayloadSize() / width_ / bytes;
    // A sample as the camera sent it: 16-bit ones little-endian.
    const auto sent = [&](uint32_t x, uint32_t y) -> uint32_t {
      const uint8_t* at = buffer->GetData() + (static_cast<std::size_t>(y) * width_ + x) * bytes;
      return bytes == 1 ? at[0] : at[0] | at[1] << 8;
    };
    for (const char* name : {"frame.bmp", "frame.tiff", "FRAME.RAW"}) {
      buffer->Store((scratch.Path() / name).string());
    }
    const std::vector<uint8_t> raw = test::ReadFile(scratch.Path() / "FRAME.RAW");
    ASSERT_EQ(raw.size(), buffer->GetPayloadSize());
    EXPECT_TRUE(std::equal(raw.begin(), raw.end(), buffer->GetData()));
    for (const bool tiff : {false, true}) {
      const test::StoredPicture picture = tiff ? test::ReadTiff(scratch.Path() / "frame.tiff")
                                               : test::ReadBmp(scratch.Path() / "frame.bmp");
      ASSERT_EQ(picture.problem, "");
      EXPECT_EQ(std::make_pair(picture.width, picture.height), std::make_pair(width_, height));
      // BMP scales 16-bit samples to 8 bits; TIFF keeps them.
      const uint32_t bits = tiff ? 8 * bytes : 8;
      EXPECT_EQ(picture.bitsPerSample, bits);
      ASSERT_EQ(picture.samplesPerPixel, *sites == '\0' ? 1u : 3u);
      for (uint32_t site = 0; site < 4; ++site) {
        const uint32_t x = 2 + site % 2;
        const uint32_t y = 2 + site / 2;
        // Each pixel keeps the colour its site recorded.
        const uint32_t colour = *sites == '\0' ? 0 : sites[site] == 'R' ? 0 : sites[site] == 'G' ? 1 : 2;
        EXPECT_EQ(picture.At(x, y, colour), sent(x, y) >> (8 * bytes - bits)) << x << ", " << y << (tiff ? " TIFF" : " BMP");
      }
    }
  }
}

TEST_F(StreamCamera, BuffersHeldPastTheirStreamAndDeviceStayReadableAndAreFreedQuietly) {
  std::unique_ptr<core::Buffer> held = streams_[0]->RetrieveBuffer(kFrameTimeoutMs);
  std::unique_ptr<core::Buffer> second = streams_[0]->RetrieveBuffer(kFrameTimeoutMs);
  device_->AcquisitionStop();
  EXPECT_TRUE(held->GetChunkValues({}).empty());  // the emulated camera has no chunk mode
  device_->DisConnect();
  streams_.clear();  // the last owner: the stream is destroyed with buffers still out
  second.reset();
  EXPECT_EQ(held->GetImage()->GetWidth(), width_);
  EXPECT_NE(held->GetData(), nullptr);
  device_.reset();
  EXPECT_EQ(test::Failure<ConnectException>([&] { held->GetChunkValues({}); }), "2/4 Not connected to camera.");
  held.reset();
}

}  // namespace
