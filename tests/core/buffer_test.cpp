// Core buffers over mocked adaptor buffers: the file format chosen from the path, failed
// stores, buffers without a picture, and buffers of no stream.
#include "core/buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/exception_core.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace {

using namespace quarx;
using quarx::sdkadaptor::BufferFormatType;
using quarx::test::Failure;
using quarx::test::LogCapture;
using quarx::test::MockBuffer;
using ::testing::Contains;
using ::testing::NiceMock;
using ::testing::Return;

TEST(Buffer, FileFormatIsTheFirstOfBmpTifRawFoundAnywhereInThePathOrDetail0) {
  auto* adaptor = new NiceMock<MockBuffer>;
  core::Buffer buffer(adaptor, nullptr, nullptr);
  const std::pair<const char*, BufferFormatType> found[] = {
      {"FRAME.BMP", BufferFormatType::BMP}, {"a.bmp.old", BufferFormatType::BMP}, {"x.tiff", BufferFormatType::TIF},
      {"/tmp/Shots.Raw", BufferFormatType::RAW}, {"a.raw.bmp", BufferFormatType::BMP},
      {"a.tif.raw", BufferFormatType::TIF}};
  for (const auto& [path, format] : found) {
    EXPECT_EQ(buffer.GetFileExtention(path), format) << path;
  }
  for (const std::string path : {"x.png", "bmp", ""}) {
    LogCapture log;
    EXPECT_EQ(Failure<CoreException>([&] { buffer.Store(path); }), "7/0 Unsupported file extension");
    EXPECT_THAT(log.Lines(), Contains("[error] <GetFileExtention> Unsupported file  extension(" + path + ")"));
  }
  // A picture the writer refuses is a failed store under its own text.
  EXPECT_CALL(*adaptor, GetImage()).WillRepeatedly([] { return nullptr; });
  EXPECT_EQ(Failure<CoreException>([&] { buffer.Store("/nowhere/frame.bmp"); }),
            "4/1 <Store> failed to store(/nowhere/frame.bmp)");
  std::unique_ptr<core::Image> image = buffer.GetImage();
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->IsEmpty());
  EXPECT_EQ(image->GetDataPointer(), nullptr);
  EXPECT_THROW(image->GetPixelFormat(), AcqusitionException);
  EXPECT_THROW(buffer.GetChunkValues({}), AcqusitionException);
}

TEST(Buffer, BufferOfNoStreamIsOnlyDeleted) {
  auto* adaptor = new NiceMock<MockBuffer>;
  auto buffer = std::make_unique<core::Buffer>(adaptor, nullptr, nullptr);
  EXPECT_CALL(*adaptor, Release()).Times(0);
  EXPECT_CALL(*adaptor, Die());
  buffer.reset();
}

}  // namespace
