// The device handles' stream and acquisition operations over mocked adaptor devices and
// streams, with the camera's node map built from GenICam text: GigE Vision streams per image
// source with their destinations and sources, USB3 Vision streams, start and stop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/device_gev.h"
#include "core/device_gev_impl.h"
#include "core/device_u3v.h"
#include "core/device_u3v_impl.h"
#include "core/exception_core.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/genicam_document.h"
#include "tests/support/log_capture.h"
#include "tests/support/xml_node_map.h"

namespace {

using namespace quarx;
using quarx::test::GenicamDocument;
using quarx::test::LogCapture;
using quarx::test::MockDeviceGEV;
using quarx::test::MockDeviceU3V;
using quarx::test::MockStreamGEV;
using quarx::test::MockStreamU3V;
using quarx::test::XmlNodeMap;
using ::testing::_;
using ::testing::Contains;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

const std::string kConnectionId = "127.0.0.2";
constexpr unsigned int kBufferCount = 4;

// A camera with `sources` image sources (SourceCount, and a SourceSelector with `entries`
// entries) and the acquisition commands unless left out.
std::string Camera(int sources, int entries, bool commands = true) {
  std::string selector;
  for (int i = 0; i < entries; ++i) {
    selector += "<EnumEntry Name=\"Source" + std::to_string(i) + "\" NameSpace=\"Standard\"><Value>" +
                std::to_string(i) + "</Value></EnumEntry>";
  }
  std::string xml = R"(
  <Category Name="Root" NameSpace="Standard">
    <pFeature>SourceCount</pFeature>
    <pFeature>SourceSelector</pFeature>
    <pFeature>AcquisitionStart</pFeature>
    <pFeature>AcquisitionStop</pFeature>
  </Category>
  <Integer Name="SourceCount" NameSpace="Standard"><Value>)" +
                    std::to_string(sources) + R"(</Value></Integer>
  <Enumeration Name="SourceSelector" NameSpace="Standard">)" +
                    selector + R"(<pValue>SourceSelectorValue</pValue></Enumeration>
  <Integer Name="SourceSelectorValue" NameSpace="Custom"><Value>0</Value></Integer>
  <Integer Name="AcquisitionStartValue" NameSpace="Custom"><Value>0</Value></Integer>
  <Integer Name="AcquisitionStopValue" NameSpace="Custom"><Value>0</Value></Integer>
)";
  if (commands) {
    xml += R"(
  <Command Name="AcquisitionStart" NameSpace="Standard"><pValue>AcquisitionStartValue</pValue><CommandValue>1</CommandValue></Command>
  <Command Name="AcquisitionStop" NameSpace="Standard"><pValue>AcquisitionStopValue</pValue><CommandValue>1</CommandValue></Command>
)";
  }
  return GenicamDocument(xml);
}

template <class Mock>
class StreamSupply {
 public:
  std::shared_ptr<Mock> Add() {
    streams_.push_back(std::make_shared<NiceMock<Mock>>());
    pending_.push_back(streams_.back());
    return streams_.back();
  }
  std::shared_ptr<sdkadaptor::InterfaceStream> Next() {
    if (pending_.empty()) {
      throw std::runtime_error("no more streams in this test");
    }
    std::shared_ptr<sdkadaptor::InterfaceStream> next = pending_.front();
    pending_.pop_front();
    return next;
  }

 private:
  std::vector<std::shared_ptr<Mock>> streams_;
  std::deque<std::shared_ptr<Mock>> pending_;
};

// A device implementation whose new adaptor streams come from the test's supply.
template <class Impl, class DeviceMock, class StreamMock>
class ScriptedDeviceImpl : public Impl {
 public:
  ScriptedDeviceImpl(std::unique_ptr<DeviceMock> device, StreamSupply<StreamMock>& supply)
      : Impl(kConnectionId, std::move(device)), supply_(supply) {}

 protected:
  std::shared_ptr<sdkadaptor::InterfaceStream> NewAdaptorStream() override { return supply_.Next(); }

 private:
  StreamSupply<StreamMock>& supply_;
};

using ScriptedDeviceGEVImpl = ScriptedDeviceImpl<core::DeviceGEVImpl, MockDeviceGEV, MockStreamGEV>;
using ScriptedDeviceU3VImpl = ScriptedDeviceImpl<core::DeviceU3VImpl, MockDeviceU3V, MockStreamU3V>;

int64_t Value(XmlNodeMap& map, const std::string& name) { return map.NewParameters()->GetInteger(name)->GetValue(); }

// Whether `call` fails as the device's stream work fails (detail 6000) with exactly `message`.
template <class Call>
::testing::AssertionResult FailsWith6000(Call call, const std::string& message) {
  try {
    call();
  } catch (const StreamException& e) {
    if (e.GetErrCodeDetail() == 6000 && e.what() == message) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "detail " << e.GetErrCodeDetail() << ", \"" << e.what() << "\"";
  }
  return ::testing::AssertionFailure() << "no StreamException";
}

class GigEVisionStreams : public ::testing::Test {
 protected:
  // A connected maker camera over the given node map.
  void Connect(const std::string& xml) {
    map_ = std::make_unique<XmlNodeMap>(xml);
    auto device = std::make_unique<NiceMock<MockDeviceGEV>>();
    device_ = device.get();
    ON_CALL(*device_, GetParameters()).WillByDefault([this] { return map_->NewParameters(); });
    ON_CALL(*device_, GetMACAddress()).WillByDefault(Return("02:5e:c1:00:00:02"));
    ON_CALL(*device_, IsConnected()).WillByDefault(Return(true));
    ON_CALL(*device_, GetType()).WillByDefault(Return(DeviceInterfaceTypeEnum::GEV));
    // The payload size of the source the selector points at.
    ON_CALL(*device_, GetPayloadSize()).WillByDefault([this] {
      return 1000u * static_cast<unsigned int>(Value(*map_, "SourceSelectorValue") + 1);
    });
    handle_ = std::make_unique<core::DeviceGEV>(std::make_shared<ScriptedDeviceGEVImpl>(std::move(device), supply_));
    handle_->Connect();
  }
  // A stream that receives on 127.0.0.1 and port 40000 + channel.
  std::shared_ptr<MockStreamGEV> AddStream(uint16_t channel) {
    std::shared_ptr<MockStreamGEV> stream = supply_.Add();
    ON_CALL(*stream, GetLocalIPAddress()).WillByDefault(Return("127.0.0.1"));
    ON_CALL(*stream, GetLocalPort()).WillByDefault(Return(static_cast<uint16_t>(40000 + channel)));
    return stream;
  }

  std::unique_ptr<XmlNodeMap> map_;
  StreamSupply<MockStreamGEV> supply_;
  NiceMock<MockDeviceGEV>* device_ = nullptr;
  std::unique_ptr<core::DeviceGEV> handle_;
};

TEST_F(GigEVisionStreams, TwoSourcesGetTwoStreamsEachSentToItsOwnPort) {
  Connect(Camera(2, 2));
  std::shared_ptr<MockStreamGEV> first = AddStream(0);
  std::shared_ptr<MockStreamGEV> second = AddStream(1);
  {
    InSequence order;
    EXPECT_CALL(*first, SetUserModeDataReceiverThreadPriority(5));
    EXPECT_CALL(*first, Open(0));
    EXPECT_CALL(*device_, SetStreamDestination("127.0.0.1", 40000, 0));
    EXPECT_CALL(*second, SetUserModeDataReceiverThreadPriority(5));
    EXPECT_CALL(*second, Open(1));
    EXPECT_CALL(*device_, SetStreamDestination("127.0.0.1", 40001, 1));
  }
  LogCapture log;
  const std::vector<std::shared_ptr<core::Stream>> streams = handle_->CreateAndOpenStreams(5);
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_THAT(log.Lines(), Contains("[info] <CreateAndOpenStreams> usermode_data_receiver_thread_priority(5)"));
  EXPECT_THAT(log.Lines(),
              Contains("[info] <CreateAndOpenStreams> StreamDestination(channel = 1, ip address = 127.0.0.1, "
                       "port = 40001)"));
  EXPECT_THAT(log.Lines(), Contains("[info] <CreateAndOpenStreams> stream counts(2))"));
}

TEST_F(GigEVisionStreams, WithoutPriorityNoneIsSet) {
  Connect(Camera(1, 1));
  std::shared_ptr<MockStreamGEV> stream = AddStream(0);
  EXPECT_CALL(*stream, SetUserModeDataReceiverThreadPriority(_)).Times(0);
  EXPECT_CALL(*stream, Open(0));
  LogCapture log;
  EXPECT_EQ(handle_->CreateAndOpenStreams().size(), 1u);
  EXPECT_THAT(log.Lines(), Contains("[info] <CreateAndOpenStreams> usermode_data_receiver_thread_priority(-1)"));
}

TEST_F(GigEVisionStreams, AcquisitionQueuesBuffersOfEachSourcesSizeThenStartsAndStops) {
  Connect(Camera(2, 2));
  std::shared_ptr<MockStreamGEV> first = AddStream(0);
  std::shared_ptr<MockStreamGEV> second = AddStream(1);
  handle_->CreateAndOpenStreams();
  {
    InSequence order;
    EXPECT_CALL(*first, ReleaseBuffers());
    EXPECT_CALL(*first, AllocBuffers(1000u, kBufferCount));
    EXPECT_CALL(*device_, StreamEnable(0));
    EXPECT_CALL(*second, ReleaseBuffers());
    EXPECT_CALL(*second, AllocBuffers(2000u, kBufferCount));
    EXPECT_CALL(*device_, StreamEnable(1));
  }
  handle_->AcquisitionStart(kBufferCount);
  EXPECT_EQ(Value(*map_, "AcquisitionStartValue"), 1);

  EXPECT_CALL(*device_, StreamDisable(0));
  EXPECT_CALL(*device_, StreamDisable(1));
  handle_->AcquisitionStop();
  EXPECT_EQ(Value(*map_, "AcquisitionStopValue"), 1);
  // The streams drain their queues again when they go.
  testing::Mock::VerifyAndClearExpectations(first.get());
  testing::Mock::VerifyAndClearExpectations(second.get());
}

TEST_F(GigEVisionStreams, SelectorWithTooFewEntriesIsReportedNotIndexed) {
  Connect(Camera(2, 1));
  AddStream(0);
  AddStream(1);
  handle_->CreateAndOpenStreams();
  EXPECT_TRUE(FailsWith6000([&] { handle_->AcquisitionStart(kBufferCount); },
                            "SourceSelector has 1 entries; none for stream 1"))
      << "stream 1 got a source the selector does not list";
}

TEST_F(GigEVisionStreams, StreamsAreMadeOncePerConnectionAndOnlyWhenConnected) {
  Connect(Camera(1, 1));
  AddStream(0);
  handle_->CreateAndOpenStreams();
  EXPECT_TRUE(FailsWith6000([&] { handle_->CreateAndOpenStreams(); }, "Stream is already opend."));
  ON_CALL(*device_, IsConnected()).WillByDefault(Return(false));
  EXPECT_TRUE(
      FailsWith6000([&] { handle_->CreateAndOpenStreams(); }, "Need to connect to a camera before creating stream."));
}

TEST_F(GigEVisionStreams, AcquisitionBeforeStreamsSaysThereAreNone) {
  Connect(Camera(1, 1));
  EXPECT_TRUE(FailsWith6000([&] { handle_->AcquisitionStart(kBufferCount); }, "Stream does not exist."));
}

TEST_F(GigEVisionStreams, CameraWithoutTheStartCommandFailsWith1002AndAnEmptyMessage) {
  Connect(Camera(1, 1, false));
  AddStream(0);
  handle_->CreateAndOpenStreams();
  LogCapture log;
  try {
    handle_->AcquisitionStart(kBufferCount);
    FAIL();
  } catch (const AcqusitionException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 1002);
    EXPECT_STREQ(e.what(), "");
  }
  EXPECT_THAT(log.Lines(), Contains("[error] <AcquisitionStart> GetCommand(\"AcquisitionStart\") is nullptr"));
  try {
    handle_->AcquisitionStop();
    FAIL();
  } catch (const AcqusitionException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 1003);
  }
  EXPECT_THAT(log.Lines(), Contains("[error] <AcquisitionStop> GetCommand(\"AcquisitionStop\") is nullptr"));
}

TEST_F(GigEVisionStreams, FailedStreamCreationLeavesNoHalfSet) {
  Connect(Camera(2, 2));
  AddStream(0);  // the second stream cannot be made
  EXPECT_THROW(handle_->CreateAndOpenStreams(), StreamException);
  AddStream(0);
  AddStream(1);
  EXPECT_EQ(handle_->CreateAndOpenStreams().size(), 2u);
}

class UsbStreams : public ::testing::Test {
 protected:
  void SetUp() override {
    map_ = std::make_unique<XmlNodeMap>(Camera(1, 0));
    auto device = std::make_unique<NiceMock<MockDeviceU3V>>();
    device_ = device.get();
    ON_CALL(*device_, GetParameters()).WillByDefault([this] { return map_->NewParameters(); });
    ON_CALL(*device_, IsConnected()).WillByDefault(Return(true));
    ON_CALL(*device_, GetPayloadSize()).WillByDefault(Return(4096u));
    handle_ = std::make_unique<core::DeviceU3V>(std::make_shared<ScriptedDeviceU3VImpl>(std::move(device), supply_));
    handle_->Connect();
  }

  std::unique_ptr<XmlNodeMap> map_;
  StreamSupply<MockStreamU3V> supply_;
  NiceMock<MockDeviceU3V>* device_ = nullptr;
  std::unique_ptr<core::DeviceU3V> handle_;
};

TEST_F(UsbStreams, EachCallAddsAStreamAndOpensOnlyTheFirst) {
  std::shared_ptr<MockStreamU3V> first = supply_.Add();
  std::shared_ptr<MockStreamU3V> second = supply_.Add();
  EXPECT_CALL(*first, Open()).Times(2);
  EXPECT_CALL(*second, Open()).Times(0);
  EXPECT_EQ(handle_->CreateAndOpenStreams().size(), 1u);
  LogCapture log;
  EXPECT_EQ(handle_->CreateAndOpenStreams().size(), 2u);
  EXPECT_THAT(log.Lines(), Contains("[info] <CreateAndOpenStreams> stream counts(2))"));
}

TEST_F(UsbStreams, AcquisitionUsesTheFirstStreamAndChannel0) {
  std::shared_ptr<MockStreamU3V> stream = supply_.Add();
  handle_->CreateAndOpenStreams();
  EXPECT_CALL(*stream, ReleaseBuffers()).Times(0);
  EXPECT_CALL(*stream, AllocBuffers(4096u, kBufferCount));
  EXPECT_CALL(*device_, StreamEnable(0));
  handle_->AcquisitionStart(kBufferCount);
  EXPECT_EQ(Value(*map_, "AcquisitionStartValue"), 1);
  // The stream drains its queue when it goes.
  testing::Mock::VerifyAndClearExpectations(stream.get());
}

TEST_F(UsbStreams, StreamsNeedAConnection) {
  ON_CALL(*device_, IsConnected()).WillByDefault(Return(false));
  EXPECT_TRUE(
      FailsWith6000([&] { handle_->CreateAndOpenStreams(); }, "Need to connect to a camera before creating stream."));
}

}  // namespace
