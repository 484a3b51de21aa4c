// Core streams and buffers over mocked adaptor streams: retrieval errors, buffers given back by
// identity or outliving their stream, the transport additions, the file format of a store.
#include "core/stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>

#include "core/buffer.h"
#include "core/exception_core.h"
#include "core/stream_gev.h"
#include "core/stream_u3v.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace {

using namespace quarx;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::BufferFormatType;
using quarx::test::Failure;
using quarx::test::MockBuffer;
using quarx::test::MockStreamGEV;
using quarx::test::MockStreamU3V;
using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;
using ::testing::Throw;

constexpr uint32_t kTimeoutMs = 100;

// A retrieval that hands out `buffer` with a successful acquisition.
auto Hand(sdkadaptor::InterfaceBuffer* buffer) {
  return [buffer](sdkadaptor::Result& result, unsigned int) {
    result = sdkadaptor::Result();
    return buffer;
  };
}

class StreamTest : public ::testing::Test {
 protected:
  std::shared_ptr<NiceMock<MockStreamGEV>> adaptor_ = std::make_shared<NiceMock<MockStreamGEV>>();
};

// A failed acquisition (the result) and a failed wait (thrown) map SDK codes apart.
TEST_F(StreamTest, FailedAcquisitionsWaitsAndQueueReleasesMapTheirCodesToDetails) {
  core::Stream stream(adaptor_, nullptr);
  const std::tuple<bool, unsigned int, int> rows[] = {  // thrown, SDK code, detail
      {false, 1, 1000},    {false, 2816, 1006}, {false, 5, 1001}, {false, 0x1E, 1001}, {true, 30, 1005},
      {true, 2817, 1004}, {true, 39, 1007},    {true, 2819, 1006}, {true, 0x4000, 1001}};
  for (const auto& [thrown, code, detail] : rows) {
    EXPECT_CALL(*adaptor_, RetrieveBuffer(_, kTimeoutMs))
        .WillOnce([thrown = thrown, code = code](sdkadaptor::Result& result, unsigned int) {
          if (thrown) throw ExceptionSdkAdaptor(code, "Failed", "frame lost");
          result = sdkadaptor::Result(code, "Failed", "frame lost");
          return static_cast<sdkadaptor::InterfaceBuffer*>(nullptr);
        });
    EXPECT_EQ(Failure<AcqusitionException>([&] { stream.RetrieveBuffer(kTimeoutMs); }),
              "1/" + std::to_string(detail) + " Failed : frame lost") << code;
  }
  EXPECT_CALL(*adaptor_, RetrieveBuffer(_, kTimeoutMs)).WillOnce(Throw(std::runtime_error("socket closed")));
  EXPECT_EQ(Failure<AcqusitionException>([&] { stream.RetrieveBuffer(kTimeoutMs); }), "1/1001 socket closed");
  EXPECT_CALL(*adaptor_, ReleaseBuffers())
      .WillOnce([] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "abort refused"); })
      .WillOnce([] { throw std::runtime_error("no memory"); })
      .WillRepeatedly(Return());
  EXPECT_EQ(Failure<StreamException>([&] { stream.ReleaseBuffer(); }), "3/6001 GenericError, abort refused");
  EXPECT_EQ(Failure<StreamException>([&] { stream.ReleaseBuffer(); }), "3/6001 no memory");
}

TEST_F(StreamTest, BuffersGoBackOnceByIdentityAndOthersAreLeftAlone) {
  core::Stream stream(adaptor_, nullptr);
  auto* first = new StrictMock<MockBuffer>;
  auto* second = new StrictMock<MockBuffer>;
  EXPECT_CALL(*adaptor_, RetrieveBuffer(_, kTimeoutMs)).WillOnce(Hand(first)).WillOnce(Hand(second));
  std::unique_ptr<core::Buffer> a = stream.RetrieveBuffer(kTimeoutMs);
  std::unique_ptr<core::Buffer> b = stream.RetrieveBuffer(kTimeoutMs);
  ON_CALL(*first, GetBlockID()).WillByDefault(Return(7));
  ON_CALL(*second, GetBlockID()).WillByDefault(Return(7));
  for (StrictMock<MockBuffer>* buffer : {first, second}) {
    EXPECT_CALL(*buffer, Release());
    EXPECT_CALL(*buffer, Die());
  }
  a.reset();
  b.reset();
  StrictMock<MockBuffer> stranger;
  EXPECT_CALL(stranger, Die());
  stream.QueuedBuffer(&stranger);
}

// The stream drains and closes as it goes, logging instead of throwing; a buffer it handed out
// is freed later without it.
TEST_F(StreamTest, StreamGoesDrainingAndClosingQuietlyAndABufferOutlivingItIsFreedWithoutIt) {
  auto* adaptorBuffer = new StrictMock<MockBuffer>;
  EXPECT_CALL(*adaptor_, RetrieveBuffer(_, kTimeoutMs)).WillOnce(Hand(adaptorBuffer));
  auto stream = std::make_unique<core::Stream>(adaptor_, nullptr);
  std::unique_ptr<core::Buffer> held = stream->RetrieveBuffer(kTimeoutMs);
  {
    InSequence drainThenClose;
    EXPECT_CALL(*adaptor_, ReleaseBuffers()).WillOnce([] { throw std::runtime_error("drain failed"); });
    EXPECT_CALL(*adaptor_, IsOpen()).WillOnce(Return(true));
    EXPECT_CALL(*adaptor_, Close()).WillOnce([] { throw ExceptionSdkAdaptor(0x4000, "GenericError", "gone"); });
  }
  EXPECT_NO_THROW(stream.reset());
  EXPECT_CALL(*adaptorBuffer, Release()).Times(0);
  EXPECT_CALL(*adaptorBuffer, Die());
  held.reset();
}

TEST_F(StreamTest, GigEVisionStreamTranslatesAFailedOpenAndGuardsItsReceiverPriority) {
  // The adaptor's 0xFFFF is "no priority set".
  EXPECT_CALL(*adaptor_, GetUserModeDataReceiverThreadPriority()).WillOnce(Return(0xFFFFu));
  core::StreamGEV stream(adaptor_, nullptr);
  EXPECT_EQ(stream.GetUserModeDataReceiverThreadPriority(), -1);
  EXPECT_CALL(*adaptor_, Open(0)).WillOnce([](uint16_t) { throw ExceptionSdkAdaptor(0x17, "NotConnected", "no device"); });
  EXPECT_EQ(Failure<StreamException>([&] { stream.Open(0); }), "3/6000 NotConnected, no device");

  // A refused receiver priority is put down to an open stream when the stream is open.
  EXPECT_CALL(*adaptor_, SetUserModeDataReceiverThreadPriority(5))
      .Times(2)
      .WillRepeatedly([](unsigned int) { throw ExceptionSdkAdaptor(0x1C, "StateError", "thread runs"); });
  EXPECT_CALL(*adaptor_, IsOpen()).WillOnce(Return(true)).WillRepeatedly(Return(false));
  for (const char* failure : {"3/6002 Stream is already opend.", "3/1 StateError, thread runs"}) {
    EXPECT_EQ(Failure<StreamException>([&] { stream.SetUserModeDataReceiverThreadPriority(5); }), failure);
  }
}

TEST_F(StreamTest, UsbStreamOpensWithoutAChannelAndStreamsOfTheWrongTransportAreRefused) {
  auto u3v = std::make_shared<NiceMock<MockStreamU3V>>();
  EXPECT_THROW(core::StreamGEV(u3v, nullptr), StreamException);
  EXPECT_THROW(core::StreamU3V(adaptor_, nullptr), StreamException);
  EXPECT_THROW(core::Stream(nullptr, nullptr), StreamException);
  core::StreamU3V stream(u3v, nullptr);
  EXPECT_CALL(*u3v, Open()).WillOnce(Return()).WillOnce([] { throw std::runtime_error("unplugged"); });
  stream.Open(7);
  EXPECT_EQ(Failure<StreamException>([&] { stream.Open(0); }), "3/6000 unplugged");
}

TEST(Buffer, OfNoStreamPicksTheFileFormatFromThePathAndIsOnlyDeleted) {
  auto* adaptor = new NiceMock<MockBuffer>;
  EXPECT_CALL(*adaptor, Release()).Times(0);
  core::Buffer buffer(adaptor, nullptr, nullptr);
  // The first of bmp, tif and raw found anywhere in the path, in any case.
  const std::pair<const char*, BufferFormatType> found[] = {
      {"a.bmp.old", BufferFormatType::BMP}, {"Shots.Raw", BufferFormatType::RAW}, {"a.tif.raw", BufferFormatType::TIF}};
  for (const auto& [path, format] : found) {
    EXPECT_EQ(buffer.GetFileExtention(path), format) << path;
  }
  for (const std::string path : {"x.png", "bmp", ""}) {
    EXPECT_EQ(Failure<CoreException>([&] { buffer.Store(path); }), "7/0 Unsupported file extension") << path;
  }
  // A picture the writer refuses is a failed store under its own text.
  EXPECT_CALL(*adaptor, GetImage()).WillRepeatedly([] { return nullptr; });
  EXPECT_EQ(Failure<CoreException>([&] { buffer.Store("/nowhere/frame.bmp"); }),
            "4/1 <Store> failed to store(/nowhere/frame.bmp)");
  std::unique_ptr<core::Image> image = buffer.GetImage();
  ASSERT_TRUE(image != nullptr && image->IsEmpty());
  EXPECT_THROW(image->GetPixelFormat(), AcqusitionException);
  EXPECT_THROW(buffer.GetChunkValues({}), AcqusitionException);
}

}  // namespace
