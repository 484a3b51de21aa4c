// Acquisition through the device core against an emulated camera: frames stored and read back,
// buffers that outlive their stream and device. Runs only in a loopback-only namespace.
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
    auto record = std::make_unique<core::FoundDeviceInfo>(spec.address, DeviceInterfaceTypeEnum::GEV);
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

// Frames as the camera sends them reach each file kind; how the writer lays out each format
// and Bayer order is the stand-in's own test.
TEST_F(StreamCamera, StoresFramesOfEachPixelFormatFamilyAsBmpTiffAndRaw) {
  util::test::ScratchDir scratch;
  for (const std::string pixelFormat : {"Mono8", "Mono16", "BayerRG8"}) {
    SCOPED_TRACE(pixelFormat);
    device_->AcquisitionStop();
    device_->GetFeatures()->GetEnum("PixelFormat")->SetValue(pixelFormat);
    device_->AcquisitionStart(kBufferCount);
    std::unique_ptr<core::Buffer> buffer = streams_[0]->RetrieveBuffer(kFrameTimeoutMs);
    ASSERT_NE(buffer, nullptr);
    const uint32_t bytes = pixelFormat == "Mono16" ? 2 : 1;
    for (const char* name : {"frame.bmp", "frame.tiff", "FRAME.RAW"}) {
      buffer->Store((scratch.Path() / name).string());
    }
    const std::vector<uint8_t> raw = test::ReadFile(scratch.Path() / "FRAME.RAW");
    EXPECT_TRUE(raw.size() == buffer->GetPayloadSize() && std::equal(raw.begin(), raw.end(), buffer->GetData()));
    // Pixel (2, 2): a red site in RGGB; 16-bit samples come little-endian.
    const uint8_t* sent = buffer->GetData() + (2 * width_ + 2) * bytes;
    const uint32_t sample = bytes == 1 ? sent[0] : sent[0] | sent[1] << 8;
    for (const bool tiff : {false, true}) {
      const test::StoredPicture picture = tiff ? test::ReadTiff(scratch.Path() / "frame.tiff")
                                               : test::ReadBmp(scratch.Path() / "frame.bmp");
      ASSERT_EQ(picture.problem, "");
      EXPECT_EQ(picture.width, width_);
      EXPECT_EQ(picture.height, raw.size() / width_ / bytes);
      // BMP scales 16-bit samples to 8 bits; TIFF keeps them.
      const uint32_t bits = tiff ? 8 * bytes : 8;
      EXPECT_EQ(picture.bitsPerSample, bits);
      EXPECT_EQ(picture.samplesPerPixel, pixelFormat == "BayerRG8" ? 3u : 1u);
      EXPECT_EQ(picture.At(2, 2, 0), sample >> (8 * bytes - bits)) << (tiff ? "TIFF" : "BMP");
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
