// Core streams over mocked adaptor streams: retrieval errors by SDK code, the account of
// buffers handed out (by identity, whatever their block ids), buffers that outlive their
// stream, and the GigE Vision and USB3 Vision additions.
#include "core/stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "core/exception_core.h"
#include "core/stream_gev.h"
#include "core/stream_u3v.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"

namespace {

using namespace quarx;
using quarx::test::LogCapture;
using quarx::test::MockBuffer;
using quarx::test::MockStreamGEV;
using quarx::test::MockStreamU3V;
using ::testing::Contains;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

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

struct AcquisitionRow {
  unsigned int code;
  int detail;
};

TEST_F(StreamTest, FailedAcquisitionResultsMapToTheirDetails) {
  const AcquisitionRow rows[] = {{1, 1000}, {2816, 1006}, {2819, 1006}, {5, 1001}, {0x1E, 1001}, {0x4000, 1001}};
  core::Stream stream(adaptor_, nullptr);
  for (const AcquisitionRow& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_CALL(*adaptor_, RetrieveBuffer(testing::_, kTimeoutMs))
        .WillOnce([&row](sdkadaptor::Result& result, unsigned int) -> sdkadaptor::InterfaceBuffer* {
          result = sdkadaptor::Result(row.code, "Failed", "frame lost");
          return nullptr;
        });
    try {
      stream.RetrieveBuffer(kTimeoutMs);
      FAIL() << "a failed acquisition returned a buffer";
    } catch (const AcqusitionException& e) {
      EXPECT_EQ(e.GetResultCode(), 1);
      EXPECT_EQ(e.GetErrCodeDetail(), row.detail);
      EXPECT_STREQ(e.what(), "Failed : frame lost");
    }
  }
}

TEST_F(StreamTest, FailedWaitsMapToTheirDetails) {
  const AcquisitionRow rows[] = {{30, 1005}, {2817, 1004}, {39, 1007}, {2816, 1006}, {2819, 1006}, {0x4000, 1001}};
  core::Stream stream(adaptor_, nullptr);
  for (const AcquisitionRow& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_CALL(*adaptor_, RetrieveBuffer(testing::_, kTimeoutMs))
        .WillOnce([&row](sdkadaptor::Result&, unsigned int) -> sdkadaptor::InterfaceBuffer* {
          throw sdkadaptor::ExceptionSdkAdaptor(row.code, "Timeout", "nothing came");
        });
    try {
      stream.RetrieveBuffer(kTimeoutMs);
      FAIL() << "a failed wait returned a buffer";
    } catch (const AcqusitionException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), row.detail);
      EXPECT_STREQ(e.what(), "Timeout : nothing came");
    }
  }
  EXPECT_CALL(*adaptor_, RetrieveBuffer(testing::_, kTimeoutMs))
      .WillOnce([](sdkadaptor::Result&, unsigned int) -> sdkadaptor::InterfaceBuffer* {
        throw std::runtime_error("socket closed");
      });
  try {
    stream.RetrieveBuffer(kTimeoutMs);
    FAIL() << "a failed wait returned a buffer";
  } catch (const AcqusitionException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 1001);
    EXPECT_STREQ(e.what(), "socket closed");
  }
}

TEST_F(StreamTest, BuffersWithTheSameBlockIdEachGoBackOnce) {
  core::Stream stream(adaptor_, nullptr);
  auto* first = new StrictMock<MockBuffer>;
  auto* second = new StrictMock<MockBuffer>;
  EXPECT_CALL(*adaptor_, RetrieveBuffer(testing::_, kTimeoutMs)).WillOnce(Hand(first)).WillOnce(Hand(second));
  std::unique_ptr<core::Buffer> a = stream.RetrieveBuffer(kTimeoutMs);
  std::unique_ptr<core::Buffer> b = stream.RetrieveBuffer(kTimeoutMs);
  ON_CALL(*first, GetBlockID()).WillByDefault(Return(7));
  ON_CALL(*second, GetBlockID()).WillByDefault(Return(7));
  EXPECT_CALL(*first, Release());
  EXPECT_CALL(*first, Die());
  EXPECT_CALL(*second, Release());
  EXPECT_CALL(*second, Die());
  a.reset();
  b.reset();
}

TEST_F(StreamTest, BufferTheStreamDidNotHandOutIsLeftAlone) {
  core::Stream stream(adaptor_, nullptr);
  StrictMock<MockBuffer> stranger;
  EXPECT_CALL(stranger, Die());
  stream.QueuedBuffer(&stranger);
}

TEST_F(StreamTest, BufferThatOutlivesItsStreamIsFreedWithoutCallingIt) {
  auto* adaptorBuffer = new StrictMock<MockBuffer>;
  EXPECT_CALL(*adaptor_, RetrieveBuffer(testing::_, kTimeoutMs)).WillOnce(Hand(adaptorBuffer));
  auto stream = std::make_unique<core::Stream>(adaptor_, nullptr);
  std::unique_ptr<core::Buffer> held = stream->RetrieveBuffer(kTimeoutMs);
  {
    InSequence drainThenClose;
    EXPECT_CALL(*adaptor_, ReleaseBuffers());
    EXPECT_CALL(*adaptor_, IsOpen()).WillOnce(Return(true));
    EXPECT_CALL(*adaptor_, Close());
  }
  stream.reset();
  EXPECT_CALL(*adaptorBuffer, Release()).Times(0);
  EXPECT_CALL(*adaptorBuffer, Die());
  held.reset();
}

TEST_F(StreamTest, FailuresWhileTheStreamGoesAreLoggedNotThrown) {
  auto stream = std::make_unique<core::Stream>(adaptor_, nullptr);
  EXPECT_CALL(*adaptor_, ReleaseBuffers()).WillOnce([] { throw std::runtime_error("drain failed"); });
  EXPECT_CALL(*adaptor_, IsOpen()).WillOnce(Return(true));
  EXPECT_CALL(*adaptor_, Close()).WillOnce([] {
    throw sdkadaptor::ExceptionSdkAdaptor(0x4000, "GenericError", "gone");
  });
  LogCapture log;
  EXPECT_NO_THROW(stream.reset());
  EXPECT_THAT(log.Lines(), Contains("[warning] <~Stream> Failed to release the buffers (drain failed)"));
  EXPECT_THAT(log.Lines(), Contains("[warning] <~Stream> Failed to close (GenericError, gone)"));
}

TEST_F(StreamTest, ReleasingTheQueueFailsWith6001) {
  core::Stream stream(adaptor_, nullptr);
  EXPECT_CALL(*adaptor_, ReleaseBuffers())
      .WillOnce([] { throw sdkadaptor::ExceptionSdkAdaptor(0x4000, "GenericError", "abort refused"); })
      .WillOnce([] { throw std::runtime_error("no memory"); })
      .WillRepeatedly(Return());
  for (const char* message : {"GenericError, abort refused", "no memory"}) {
    try {
      stream.ReleaseBuffer();
      FAIL() << message;
    } catch (const StreamException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), 6001);
      EXPECT_STREQ(e.what(), message);
    }
  }
}

TEST_F(StreamTest, AllocationIsLoggedAndForwarded) {
  core::Stream stream(adaptor_, nullptr);
  EXPECT_CALL(*adaptor_, AllocBuffers(1024u, 16u));
  LogCapture log;
  stream.AllocBuffers(1024, 16);
  EXPECT_THAT(log.Lines(), Contains("[info] In<AllocBuffers> payload_size(1024) buffer_counts(16)"));
}

TEST_F(StreamTest, GigEVisionStreamOpensAndReportsWhereItReceives) {
  EXPECT_CALL(*adaptor_, GetUserModeDataReceiverThreadPriority()).WillOnce(Return(0xFFFFu));
  core::StreamGEV stream(adaptor_, nullptr);
  EXPECT_EQ(stream.GetUserModeDataReceiverThreadPriority(), -1);
  EXPECT_CALL(*adaptor_, Open(3));
  EXPECT_CALL(*adaptor_, GetLocalIPAddress()).WillRepeatedly(Return("127.0.0.1"));
  EXPECT_CALL(*adaptor_, GetLocalPort()).WillRepeatedly(Return(40000));
  EXPECT_EQ(stream.Open(3), std::make_pair(std::string("127.0.0.1"), uint16_t{40000}));

  EXPECT_CALL(*adaptor_, Open(0)).WillOnce([](uint16_t) {
    throw sdkadaptor::ExceptionSdkAdaptor(0x17, "NotConnected", "no device");
  });
  try {
    stream.Open(0);
    FAIL();
  } catch (const StreamException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 6000);
    EXPECT_STREQ(e.what(), "NotConnected, no device");
  }
}

TEST_F(StreamTest, ReceiverPriorityRefusalsDependOnWhetherTheStreamIsOpen) {
  core::StreamGEV stream(adaptor_, nullptr);
  auto refuse = [](unsigned int) { throw sdkadaptor::ExceptionSdkAdaptor(0x1C, "StateError", "thread runs"); };
  EXPECT_CALL(*adaptor_, SetUserModeDataReceiverThreadPriority(5))
      .WillOnce(refuse)
      .WillOnce(refuse)
      .WillOnce([](unsigned int) { throw std::runtime_error("bad priority"); })
      .WillOnce(Return());
  EXPECT_CALL(*adaptor_, IsOpen()).WillOnce(Return(true)).WillOnce(Return(false)).WillRepeatedly(Return(false));
  const std::pair<int, std::string> expected[] = {
      {6002, "Stream is already opend."}, {1, "StateError, thread runs"}, {900, "bad priority"}};
  for (const auto& [detail, message] : expected) {
    try {
      stream.SetUserModeDataReceiverThreadPriority(5);
      FAIL() << detail;
    } catch (const StreamException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), detail);
      EXPECT_EQ(e.what(), message);
    }
  }
  EXPECT_EQ(stream.GetUserModeDataReceiverThreadPriority(), 0);
  EXPECT_CALL(*adaptor_, GetUserModeDataReceiverThreadPriority()).WillOnce(Return(5u));
  stream.SetUserModeDataReceiverThreadPriority(5);
  EXPECT_EQ(stream.GetUserModeDataReceiverThreadPriority(), 5);
}

TEST_F(StreamTest, StreamOfTheWrongTransportIsRefused) {
  auto u3v = std::make_shared<NiceMock<MockStreamU3V>>();
  EXPECT_THROW(core::StreamGEV(u3v, nullptr), StreamException);
  EXPECT_THROW(core::StreamU3V(adaptor_, nullptr), StreamException);
  EXPECT_THROW(core::Stream(nullptr, nullptr), StreamException);
}

TEST_F(StreamTest, UsbStreamOpensWithoutAChannel) {
  auto u3v = std::make_shared<NiceMock<MockStreamU3V>>();
  core::StreamU3V stream(u3v, nullptr);
  EXPECT_CALL(*u3v, Open()).WillOnce(Return()).WillOnce([] { throw std::runtime_error("unplugged"); });
  EXPECT_CALL(*u3v, GetGUID()).WillOnce(Return("GUID-1"));
  stream.Open(7);
  EXPECT_EQ(stream.GetGUID(), "GUID-1");
  try {
    stream.Open(0);
    FAIL();
  } catch (const StreamException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 6000);
    EXPECT_STREQ(e.what(), "unplugged");
  }
}

}  // namespace
