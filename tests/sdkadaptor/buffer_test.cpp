// The adaptor's buffers, images, buffer writer and streams over the stand-in, without a
// camera: setters without an SDK buffer, pictures allocated in buffers and stored in each
// format, and what a stream that was never opened does.
#include "sdkadaptor/src/buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "pixelformat/pfnc_pixel_format_mono.h"
#include "sdkadaptor/src/buffer_writer.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/pixel_type_converter.h"
#include "sdkadaptor/src/stream_gev.h"
#include "sdkadaptor/src/stream_u3v.h"
#include "tests/support/file_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/util/scratch_dir.h"

namespace {

using namespace quarx;
using quarx::sdkadaptor::BufferFormatType;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::test::LogCapture;
using quarx::test::ReadFile;
using quarx::util::test::ScratchDir;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr uint32_t kMono8 = 0x01080001;
constexpr uint32_t kWidth = 6;
constexpr uint32_t kHeight = 3;

// A buffer of its own holding a 6 x 3 Mono8 picture with the bytes 0, 1, 2, ...
std::unique_ptr<sdkadaptor::Buffer> PictureBuffer() {
  auto buffer = std::make_unique<sdkadaptor::Buffer>();
  buffer->GetImage()->Alloc(kWidth, kHeight, pixelformat::PixelFormat::Create(kMono8), 0, 0, 0);
  for (uint32_t i = 0; i < kWidth * kHeight; ++i) {
    buffer->GetDataPointer()[i] = static_cast<uint8_t>(i);
  }
  return buffer;
}

TEST(AdaptorBuffer, SettersWithoutAnSdkBufferThrowInternalError) {
  sdkadaptor::Buffer buffer(nullptr, nullptr);
  const std::pair<const char*, std::function<void()>> rows[] = {
      {"Failed to SetID()", [&] { buffer.SetID(1); }},
      {"Failed to SetBlockID()", [&] { buffer.SetBlockID(1); }},
      {"Failed to SetTimestamp()", [&] { buffer.SetTimestamp(1); }},
      {"Failed to SetReceptionTime()", [&] { buffer.SetReceptionTime(1); }},
  };
  for (const auto& [description, set] : rows) {
    SCOPED_TRACE(description);
    try {
      set();
      FAIL();
    } catch (const ExceptionSdkAdaptor& e) {
      EXPECT_EQ(e.GetCode(), 0x1000002u);
      EXPECT_EQ(e.GetCodeString(), "InternalError");
      EXPECT_EQ(e.GetDescription(), description);
    }
  }
  EXPECT_EQ(buffer.GetImage(), nullptr);
  EXPECT_EQ(buffer.GetDataPointer(), nullptr);
  EXPECT_EQ(buffer.GetBlockID(), 0u);
  EXPECT_NO_THROW(buffer.Release());
}

TEST(AdaptorBuffer, FreshBufferOfItsOwnHasNoStreamToGoBackTo) {
  sdkadaptor::Buffer buffer;
  EXPECT_EQ(buffer.GetAcquiredSize(), 0u);
  EXPECT_EQ(buffer.GetDataPointer(), nullptr);
  LogCapture log;
  buffer.Release();
  EXPECT_THAT(log.Text(), Not(HasSubstr("Release")));
  buffer.SetTimestamp(77);
  EXPECT_EQ(buffer.GetTimestamp(), 77u);
  EXPECT_THAT(log.Lines(), Contains("[trace] <SetTimestamp> Result(OK), Description()"));
}

TEST(AdaptorImage, DescribesTheAllocatedPictureAndConvertsItsPixelType) {
  std::unique_ptr<sdkadaptor::Buffer> buffer = PictureBuffer();
  std::unique_ptr<sdkadaptor::InterfaceImage> image = buffer->GetImage();
  EXPECT_EQ(image->GetWidth(), kWidth);
  EXPECT_EQ(image->GetHeight(), kHeight);
  EXPECT_EQ(image->GetImageSize(), kWidth * kHeight);
  EXPECT_EQ(image->GetBitsPerComponent(), 8u);
  EXPECT_FALSE(image->IsColor());
  EXPECT_EQ(image->GetPixelFormat().GetName(), "Mono8");
  EXPECT_EQ(sdkadaptor::PixelTypeConverter::ConvertTo(pixelformat::PixelFormat::Create(kMono8)), kMono8);
}

TEST(AdaptorImage, PixelTypeWithoutFactoryEntryIsNotSupportedRatherThanFatal) {
  sdkadaptor::Buffer buffer;
  std::unique_ptr<sdkadaptor::InterfaceImage> image = buffer.GetImage();
  // Mono8s has a class but no factory entry: its code cannot be turned back into a format.
  image->Alloc(2, 2, pixelformat::Mono8s(), 0, 0, 0);
  try {
    image->GetPixelFormat();
    FAIL();
  } catch (const ExceptionSdkAdaptor& e) {
    EXPECT_EQ(e.GetCodeString(), "NotSupported");
    EXPECT_EQ(e.GetDescription(), "Unsupported pixel type(0x01080002)");
  }
}

TEST(AdaptorBufferWriter, EachFormatGoesToItsFileKind) {
  ScratchDir scratch;
  std::unique_ptr<sdkadaptor::Buffer> buffer = PictureBuffer();
  sdkadaptor::BufferWriter writer;
  writer.Store(buffer.get(), (scratch.Path() / "a").string(), BufferFormatType::TIF);
  writer.Store(buffer.get(), (scratch.Path() / "b").string(), BufferFormatType::RAW);
  writer.Store(buffer.get(), (scratch.Path() / "c").string(), BufferFormatType::BMP);
  const std::vector<uint8_t> tiff = ReadFile(scratch.Path() / "a");
  ASSERT_GE(tiff.size(), 4u);
  EXPECT_EQ(std::string(tiff.begin(), tiff.begin() + 2), "II");
  const std::vector<uint8_t> raw = ReadFile(scratch.Path() / "b");
  ASSERT_EQ(raw.size(), kWidth * kHeight);
  EXPECT_EQ(raw[7], 7);
  const std::vector<uint8_t> bmp = ReadFile(scratch.Path() / "c");
  ASSERT_GE(bmp.size(), 2u);
  EXPECT_EQ(std::string(bmp.begin(), bmp.begin() + 2), "BM");
}

TEST(AdaptorBufferWriter, UnknownFormatAndBuffersWithoutPictureAreRefused) {
  ScratchDir scratch;
  std::unique_ptr<sdkadaptor::Buffer> buffer = PictureBuffer();
  sdkadaptor::BufferWriter writer;
  const std::string path = (scratch.Path() / "x").string();
  EXPECT_THROW(writer.Store(buffer.get(), path, static_cast<BufferFormatType>(7)), std::out_of_range);
  EXPECT_FALSE(std::filesystem::exists(path));
  sdkadaptor::Buffer empty(nullptr, nullptr);
  EXPECT_THROW(writer.Store(&empty, path, BufferFormatType::BMP), ExceptionSdkAdaptor);
  EXPECT_THROW(writer.Store(nullptr, path, BufferFormatType::BMP), ExceptionSdkAdaptor);
  sdkadaptor::Buffer fresh;
  EXPECT_THROW(writer.Store(&fresh, path, BufferFormatType::RAW), ExceptionSdkAdaptor);
}

TEST(AdaptorStream, StreamNeverOpenedQueuesNothingAndDrainsQuietly) {
  sdkadaptor::StreamGEV stream("127.0.0.99");
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_NE(stream.GetParameters(), nullptr);
  LogCapture log;
  stream.AllocBuffers(1024, 100);
  EXPECT_THAT(log.Lines(), Contains("[debug] <AllocBuffers> allocate buffer number(0)"));
  EXPECT_NO_THROW(stream.ReleaseBuffers());
  EXPECT_THAT(log.Lines(), Contains("[trace] <ReleaseBuffers> Result(OK), Description()"));
  sdkadaptor::Result result;
  try {
    stream.RetrieveBuffer(result, 10);
    FAIL();
  } catch (const ExceptionSdkAdaptor& e) {
    EXPECT_EQ(e.GetCodeString(), "StateError");
  }
  try {
    stream.Open(0);
    FAIL();
  } catch (const ExceptionSdkAdaptor& e) {
    EXPECT_EQ(e.GetCode(), 0x17u);
  }
  sdkadaptor::StreamU3V usb("Vendor-Model-1");
  EXPECT_THROW(usb.Open(), ExceptionSdkAdaptor);
  EXPECT_EQ(usb.GetGUID(), "");
}

}  // namespace
