// The adaptor's buffers, images and buffer writer over the stand-in, without a camera.
#include "sdkadaptor/src/buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "pixelformat/pfnc_pixel_format_mono.h"
#include "sdkadaptor/src/buffer_writer.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/file_bytes.h"
#include "tests/support/thrown_adaptor_exception.h"
#include "tests/util/scratch_dir.h"

namespace {

using namespace quarx;
using quarx::sdkadaptor::BufferFormatType;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::test::Thrown;

TEST(AdaptorBuffer, WithoutAnSdkBufferSettersThrowAndReadsGiveNothingAndAnUnlistedPixelTypeIsNotSupported) {
  sdkadaptor::Buffer buffer(nullptr, nullptr);
  const std::pair<const char*, std::function<void()>> rows[] = {
      {"Failed to SetID()", [&] { buffer.SetID(1); }},
      {"Failed to SetReceptionTime()", [&] { buffer.SetReceptionTime(1); }},
  };
  for (const auto& [description, set] : rows) {
    const ExceptionSdkAdaptor e = Thrown(set);
    EXPECT_EQ(e.GetCode(), 0x1000002u);
    EXPECT_EQ(e.GetCodeString() + "/" + e.GetDescription(), std::string("InternalError/") + description);
  }
  EXPECT_EQ(buffer.GetImage(), nullptr);
  EXPECT_EQ(buffer.GetDataPointer(), nullptr);
  EXPECT_NO_THROW(buffer.Release());
  // A pixel type with a class but no factory entry is not supported rather than fatal.
  sdkadaptor::Buffer fresh;
  std::unique_ptr<sdkadaptor::InterfaceImage> image = fresh.GetImage();
  image->Alloc(2, 2, pixelformat::Mono8s(), 0, 0, 0);
  const ExceptionSdkAdaptor e = Thrown([&] { image->GetPixelFormat(); });
  EXPECT_EQ(e.GetCodeString() + "/" + e.GetDescription(), "NotSupported/Unsupported pixel type(0x01080002)");
}

// A picture allocated in a buffer lies at its start and knows its own size: it can be stored,
// although the buffer acquired nothing. Which file kind each format gives is pinned with the
// conversion tables and the stand-in's writer.
TEST(AdaptorBufferWriter, PictureAllocatedInABufferIsStored) {
  constexpr uint32_t kWidth = 6;
  constexpr uint32_t kHeight = 3;
  util::test::ScratchDir scratch;
  sdkadaptor::Buffer buffer;
  buffer.GetImage()->Alloc(kWidth, kHeight, pixelformat::PixelFormat::Create(0x01080001), 0, 0, 0);
  std::vector<uint8_t> pixels(kWidth * kHeight);
  for (uint32_t i = 0; i < kWidth * kHeight; ++i) {
    buffer.GetDataPointer()[i] = pixels[i] = static_cast<uint8_t>(i);
  }
  sdkadaptor::BufferWriter writer;
  writer.Store(&buffer, (scratch.Path() / "frame").string(), BufferFormatType::RAW);
  EXPECT_EQ(test::ReadFile(scratch.Path() / "frame"), pixels);
  const std::string path = (scratch.Path() / "x").string();
  EXPECT_THROW(writer.Store(&buffer, path, static_cast<BufferFormatType>(7)), std::out_of_range);
  EXPECT_FALSE(std::filesystem::exists(path));
  sdkadaptor::Buffer empty(nullptr, nullptr);
  sdkadaptor::Buffer fresh;
  EXPECT_THROW(writer.Store(&empty, path, BufferFormatType::BMP), ExceptionSdkAdaptor);
  EXPECT_THROW(writer.Store(nullptr, path, BufferFormatType::BMP), ExceptionSdkAdaptor);
  EXPECT_THROW(writer.Store(&fresh, path, BufferFormatType::RAW), ExceptionSdkAdaptor);
}

}  // namespace
