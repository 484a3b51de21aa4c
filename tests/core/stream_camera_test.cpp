// Acquisition through the device core against an emulated GigE Vision camera: streams created
// and opened, frames retrieved and given back, a frame stored as BMP, TIFF and raw, and buffers
// that outlive their stream and device. Runs only in a loopback-only namespace.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
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
#include "core/stream_gev.h"
#include "pixelformat/pixel_format.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/file_bytes.h"
#include "tests/util/scratch_dir.h"

namespace {

using namespace quarx;
using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using quarx::test::ReadFile;
using quarx::test::U16;
using quarx::test::U32;
using quarx::util::test::ScratchDir;

const std::string kAddress = "127.0.0.2";
constexpr uint32_t kMono8 = 0x01080001;
constexpr unsigned int kBufferCount = 8;
constexpr unsigned int kFrames = 10;
// The emulated camera sends 25 frames a second.
constexpr uint32_t kFrameTimeoutMs = 3000;

// The value of a TIFF directory entry of a little-endian file; 0 when the tag is absent.
uint32_t TiffTag(const std::vector<uint8_t>& file, uint16_t tag) {
  const uint32_t directory = U32(file, 4);
  const uint16_t count = U16(file, directory);
  for (uint16_t i = 0; i < count; ++i) {
    const std::size_t entry = directory + 2 + 12u * i;
    if (U16(file, entry) == tag) {
      return U16(file, entry + 2) == 3 ? U16(file, entry + 8) : U32(file, entry + 8);
    }
  }
  return 0;
}

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

TEST_F(StreamCamera, AcquiresTenMono8FramesAndGivesEachBack) {
  const int64_t width = Feature("Width");
  const int64_t height = Feature("Height");
  std::vector<std::shared_ptr<core::Stream>> streams = device_->CreateAndOpenStreams();
  ASSERT_EQ(streams.size(), 1u);
  core::Stream& stream = *streams[0];
  EXPECT_TRUE(stream.IsOpen());
  EXPECT_EQ(stream.GetChannel(), 0u);
  auto* gev = dynamic_cast<core::StreamGEV*>(&stream);
  ASSERT_NE(gev, nullptr);
  EXPECT_EQ(gev->GetDeviceIPAddress(), kAddress);
  EXPECT_NE(gev->GetLocaPort(), 0);

  device_->AcquisitionStart(kBufferCount);
  EXPECT_EQ(stream.GetQueuedBufferCount(), kBufferCount);
  uint64_t previousBlock = 0;
  for (unsigned int frame = 0; frame < kFrames; ++frame) {
    SCOPED_TRACE(frame);
    std::unique_ptr<core::Buffer> buffer = stream.RetrieveBuffer(kFrameTimeoutMs);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(stream.GetQueuedBufferCount(), kBufferCount - 1);
    EXPECT_EQ(buffer->GetPayloadSize(), static_cast<uint32_t>(width * height));
    ASSERT_NE(buffer->GetData(), nullptr);
    if (frame > 0) {
      // Every frame has its own block id; GigE Vision's 16-bit ids may wrap, so no order.
      EXPECT_NE(buffer->GetBlockID(), previousBlock);
    }
    previousBlock = buffer->GetBlockID();
    std::unique_ptr<core::Image> image = buffer->GetImage();
    EXPECT_EQ(image->GetWidth(), static_cast<unsigned int>(width));
    EXPECT_EQ(image->GetHeight(), static_cast<unsigned int>(height));
    EXPECT_EQ(image->GetBitsPerPixel(), 8u);
    EXPECT_EQ(image->GetBlockID(), buffer->GetBlockID());
    EXPECT_FALSE(image->IsImageDropped());
    EXPECT_EQ(image->GetPixelFormat().GetValue(), kMono8);
    image.reset();
    buffer.reset();
    EXPECT_EQ(stream.GetQueuedBufferCount(), kBufferCount);
  }
  device_->AcquisitionStop();
  EXPECT_TRUE(stream.IsOpen());
  device_->DisConnect();
}

TEST_F(StreamCamera, StoresOneFrameAsBmpTiffAndRaw) {
  const auto width = static_cast<uint32_t>(Feature("Width"));
  const auto height = static_cast<uint32_t>(Feature("Height"));
  std::vector<std::shared_ptr<core::Stream>> streams = device_->CreateAndOpenStreams();
  device_->AcquisitionStart(kBufferCount);
  std::unique_ptr<core::Buffer> buffer = streams[0]->RetrieveBuffer(kFrameTimeoutMs);
  device_->AcquisitionStop();
  const uint8_t* pixels = buffer->GetData();

  ScratchDir scratch;
  const std::filesystem::path bmp = scratch.Path() / "frame.bmp";
  const std::filesystem::path tiff = scratch.Path() / "frame.tiff";
  const std::filesystem::path raw = scratch.Path() / "FRAME.RAW";
  buffer->Store(bmp.string());
  buffer->Store(tiff.string());
  buffer->Store(raw.string());

  // BMP: 8-bit with a 256-entry grey palette, rows bottom-up and padded to 4 bytes.
  const std::vector<uint8_t> b = ReadFile(bmp);
  const uint32_t rowSize = (width + 3) / 4 * 4;
  const uint32_t bmpOffset = 14 + 40 + 256 * 4;
  ASSERT_EQ(b.size(), bmpOffset + rowSize * height);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(U32(b, 2), b.size());
  EXPECT_EQ(U32(b, 10), bmpOffset);
  EXPECT_EQ(U32(b, 18), width);
  EXPECT_EQ(U32(b, 22), height);
  EXPECT_EQ(U16(b, 28), 8);
  EXPECT_EQ(b[54 + 4 * 200], 200);  // the palette is grey
  EXPECT_EQ(b[bmpOffset + 5], pixels[(height - 1) * width + 5]);

  // TIFF: baseline, little-endian, uncompressed, one strip of grey pixels.
  const std::vector<uint8_t> t = ReadFile(tiff);
  ASSERT_GT(t.size(), 8u);
  EXPECT_EQ(t[0], 'I');
  EXPECT_EQ(t[1], 'I');
  EXPECT_EQ(U16(t, 2), 42);
  EXPECT_EQ(TiffTag(t, 256), width);
  EXPECT_EQ(TiffTag(t, 257), height);
  EXPECT_EQ(TiffTag(t, 258), 8u);
  EXPECT_EQ(TiffTag(t, 259), 1u);
  EXPECT_EQ(TiffTag(t, 262), 1u);
  EXPECT_EQ(TiffTag(t, 279), width * height);
  const uint32_t strip = TiffTag(t, 273);
  ASSERT_EQ(t.size(), strip + width * height);
  EXPECT_EQ(t[strip + width + 3], pixels[width + 3]);

  // RAW: the pixels and nothing else.
  const std::vector<uint8_t> r = ReadFile(raw);
  ASSERT_EQ(r.size(), width * height);
  EXPECT_TRUE(std::equal(r.begin(), r.end(), pixels));
}

TEST(StreamCameraTwoSources, SecondSourceNeedsAStreamChannelTheEmulatedCameraLacks) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatedCameraSpec spec;
  spec.address = kAddress;
  spec.sources = 2;
  EmulatorLauncher cameras({spec});
  std::unique_ptr<core::FoundDeviceInfo> record =
      std::make_unique<core::FoundDeviceInfo>(kAddress, DeviceInterfaceTypeEnum::GEV);
  std::shared_ptr<core::Device> device = core::Device::Create(record);
  device->Connect();
  // The camera reports two sources but, like Aravis's fake camera, serves one stream channel.
  try {
    device->CreateAndOpenStreams();
    FAIL() << "a stream opened on a channel the camera does not have";
  } catch (const StreamException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 6000);
    EXPECT_THAT(e.what(), ::testing::HasSubstr("Stream channel 1 does not exist"));
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
