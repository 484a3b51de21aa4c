// Core buffers over mocked adaptor buffers: the file format chosen from the path, failed
// stores, images that hold nothing, and chunk values without a parser.
#include "core/buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/exception_core.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"

namespace {

using namespace quarx;
using quarx::sdkadaptor::BufferFormatType;
using quarx::test::LogCapture;
using quarx::test::MockBuffer;
using ::testing::Contains;
using ::testing::NiceMock;
using ::testing::Return;

// A buffer of no stream over a mocked adaptor buffer, which the core buffer owns.
std::unique_ptr<core::Buffer> LooseBuffer(NiceMock<MockBuffer>** adaptor = nullptr) {
  auto* mock = new NiceMock<MockBuffer>;
  if (adaptor != nullptr) {
    *adaptor = mock;
  }
  return std::make_unique<core::Buffer>(mock, nullptr, nullptr);
}

TEST(Buffer, FileFormatIsTheFirstOfBmpTifRawFoundAnywhereInThePath) {
  const std::pair<const char*, BufferFormatType> rows[] = {
      {"frame.bmp", BufferFormatType::BMP},      {"FRAME.BMP", BufferFormatType::BMP},
      {"a.bmp.old", BufferFormatType::BMP},      {"x.tif", BufferFormatType::TIF},
      {"x.tiff", BufferFormatType::TIF},         {"x.raw", BufferFormatType::RAW},
      {"a.raw.bmp", BufferFormatType::BMP},      {"a.tif.raw", BufferFormatType::TIF},
      {"/tmp/Shots.Raw", BufferFormatType::RAW},
  };
  std::unique_ptr<core::Buffer> buffer = LooseBuffer();
  for (const auto& [path, format] : rows) {
    SCOPED_TRACE(path);
    EXPECT_EQ(buffer->GetFileExtention(path), format);
  }
}

TEST(Buffer, UnknownExtensionIsDetail0AfterAnErrorLine) {
  std::unique_ptr<core::Buffer> buffer = LooseBuffer();
  for (const std::string path : {"x.png", "bmp", "frame.jpeg", ""}) {
    SCOPED_TRACE(path);
    LogCapture log;
    try {
      buffer->Store(path);
      FAIL() << "stored as " << path;
    } catch (const CoreException& e) {
      EXPECT_EQ(e.GetResultCode(), 7);
      EXPECT_EQ(e.GetErrCodeDetail(), 0);
      EXPECT_STREQ(e.what(), "Unsupported file extension");
    }
    EXPECT_THAT(log.Lines(), Contains("[error] <GetFileExtention> Unsupported file  extension(" + path + ")"));
  }
}

TEST(Buffer, StoreThatTheWriterRefusesIsResult4Detail1) {
  NiceMock<MockBuffer>* adaptor = nullptr;
  std::unique_ptr<core::Buffer> buffer = LooseBuffer(&adaptor);
  EXPECT_CALL(*adaptor, GetImage()).WillOnce(Return(nullptr));
  try {
    buffer->Store("/nowhere/frame.bmp");
    FAIL() << "a buffer without a picture was stored";
  } catch (const CoreException& e) {
    EXPECT_EQ(e.GetResultCode(), 4);
    EXPECT_EQ(e.GetErrCodeDetail(), 1);
    EXPECT_STREQ(e.what(), "<Store> failed to store(/nowhere/frame.bmp)");
  }
}

TEST(Buffer, BufferWithoutPictureGivesAnEmptyImage) {
  NiceMock<MockBuffer>* adaptor = nullptr;
  std::unique_ptr<core::Buffer> buffer = LooseBuffer(&adaptor);
  EXPECT_CALL(*adaptor, GetImage()).WillOnce(Return(nullptr));
  std::unique_ptr<core::Image> image = buffer->GetImage();
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->IsEmpty());
  EXPECT_EQ(image->GetWidth(), 0u);
  EXPECT_EQ(image->GetDataPointer(), nullptr);
  EXPECT_THROW(image->GetPixelFormat(), AcqusitionException);
}

TEST(Buffer, ChunkValuesNeedTheStreamsParser) {
  std::unique_ptr<core::Buffer> buffer = LooseBuffer();
  EXPECT_THROW(buffer->GetChunkValues({}), AcqusitionException);
}

TEST(Buffer, BufferOfNoStreamIsOnlyDeleted) {
  NiceMock<MockBuffer>* adaptor = nullptr;
  std::unique_ptr<core::Buffer> buffer = LooseBuffer(&adaptor);
  EXPECT_CALL(*adaptor, Release()).Times(0);
  EXPECT_CALL(*adaptor, Die());
  buffer.reset();
}

}  // namespace
