// The device handles' streams and acquisition over mocked adaptor devices and streams, with node
// maps from GenICam text: GigE Vision streams per image source, USB3 Vision streams.
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
#include "tests/support/thrown_adaptor_exception.h"
#include "tests/support/xml_node_map.h"

namespace {

using namespace quarx;
using quarx::test::Failure;
using quarx::test::MockDeviceGEV;
using quarx::test::MockDeviceU3V;
using quarx::test::MockStreamGEV;
using quarx::test::MockStreamU3V;
using quarx::test::XmlNodeMap;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

const std::string kConnectionId = "127.0.0.2";
constexpr unsigned int kBufferCount = 4;

// A camera with `sources` image sources, a SourceSelector of `entries` entries and the
// acquisition commands unless left out.
std::string Camera(int sources, int entries, bool commands = true) {
  std::string xml = "<Integer Name=\"SourceCount\" NameSpace=\"Standard\"><Value>" + std::to_string(sources) +
                    "</Value></Integer><Enumeration Name=\"SourceSelector\" NameSpace=\"Standard\">";
  for (int i = 0; i < entries; ++i) {
    xml += "<EnumEntry Name=\"Source" + std::to_string(i) + "\"><Value>" + std::to_string(i) + "</Value></EnumEntry>";
  }
  xml += R"(<pValue>SourceSelectorValue</pValue></Enumeration>
  <Category Name="Root" NameSpace="Standard"><pFeature>SourceCount</pFeature></Category>
  <Integer Name="SourceSelectorValue" NameSpace="Custom"><Value>0</Value></Integer>)";
  for (const std::string command : {"AcquisitionStart", "AcquisitionStop"}) {
    xml += "<Integer Name=\"" + command + "Value\" NameSpace=\"Custom\"><Value>0</Value></Integer>";
    if (commands) {
      xml += "<Command Name=\"" + command + "\" NameSpace=\"Standard\"><pValue>" + command +
             "Value</pValue><CommandValue>1</CommandValue></Command>";
    }
  }
  return test::GenicamDocument(xml);
}

// A device implementation whose new adaptor streams are the test's, in order.
template <class Impl, class DeviceMock, class StreamMock>
class ScriptedDeviceImpl : public Impl {
 public:
  ScriptedDeviceImpl(std::unique_ptr<DeviceMock> device, std::deque<std::shared_ptr<StreamMock>>& supply)
      : Impl(kConnectionId, std::move(device)), supply_(supply) {}

 protected:
  std::shared_ptr<sdkadaptor::InterfaceStream> NewAdaptorStream() override {
    if (supply_.empty()) {
      throw std::runtime_error("no more streams in this test");
    }
    std::shared_ptr<sdkadaptor::InterfaceStream> next = supply_.front();
    supply_.pop_front();
    return next;
  }

 private:
  std::deque<std::shared_ptr<StreamMock>>& supply_;
};

int64_t Value(XmlNodeMap& map, const std::string& name) { return map.NewParameters()->GetInteger(name)->GetValue(); }

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
    // The payload size of the source the selector points at.
    ON_CALL(*device_, GetPayloadSize()).WillByDefault([this] {
      return 1000u * static_cast<unsigned int>(Value(*map_, "SourceSelectorValue") + 1);
    });
    handle_ = std::make_unique<core::DeviceGEV>(
        std::make_shared<ScriptedDeviceImpl<core::DeviceGEVImpl, MockDeviceGEV, MockStreamGEV>>(std::move(device),
                                                                                                 supply_));
    handle_->Connect();
  }
  // A stream that receives on 127.0.0.1 and port 40000 + channel.
  std::shared_ptr<MockStreamGEV> AddStream(uint16_t channel) {
    supply_.push_back(std::make_shared<NiceMock<MockStreamGEV>>());
    ON_CALL(*supply_.back(), GetLocalIPAddress()).WillByDefault(Return("127.0.0.1"));
    ON_CALL(*supply_.back(), GetLocalPort()).WillByDefault(Return(static_cast<uint16_t>(40000 + channel)));
    return supply_.back();
  }

  std::unique_ptr<XmlNodeMap> map_;
  std::deque<std::shared_ptr<MockStreamGEV>> supply_;
  NiceMock<MockDeviceGEV>* device_ = nullptr;
  std::unique_ptr<core::DeviceGEV> handle_;
};

TEST_F(GigEVisionStreams, TwoSourcesGetTwoStreamsEachSentToItsOwnPortAndAcquireAtTheirOwnSize) {
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
  ASSERT_EQ(handle_->CreateAndOpenStreams(5).size(), 2u);
  EXPECT_EQ(Failure<StreamException>([&] { handle_->CreateAndOpenStreams(); }), "3/6000 Stream is already opend.");
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

TEST_F(GigEVisionStreams, StreamWorkOutOfOrderFailsWith6000AndMissingAcquisitionCommandsWith1002And1003) {
  Connect(Camera(2, 1));
  EXPECT_EQ(Failure<StreamException>([&] { handle_->AcquisitionStart(kBufferCount); }), "3/6000 Stream does not exist.");
  AddStream(0);  // the second stream cannot be made: no half set is kept
  EXPECT_THROW(handle_->CreateAndOpenStreams(), StreamException);
  AddStream(0);
  AddStream(1);
  EXPECT_EQ(handle_->CreateAndOpenStreams().size(), 2u);
  EXPECT_EQ(Failure<StreamException>([&] { handle_->AcquisitionStart(kBufferCount); }),
            "3/6000 SourceSelector has 1 entries; none for stream 1");
  ON_CALL(*device_, IsConnected()).WillByDefault(Return(false));
  EXPECT_EQ(Failure<StreamException>([&] { handle_->CreateAndOpenStreams(); }),
            "3/6000 Need to connect to a camera before creating stream.");
  Connect(Camera(1, 1, false));
  AddStream(0);
  handle_->CreateAndOpenStreams();
  EXPECT_EQ(Failure<AcqusitionException>([&] { handle_->AcquisitionStart(kBufferCount); }), "1/1002 ");
  EXPECT_EQ(Failure<AcqusitionException>([&] { handle_->AcquisitionStop(); }), "1/1003 ");
}

TEST(UsbStreams, EachCallAddsAStreamAndOpensOnlyTheFirstWhichAcquiresOnChannel0) {
  XmlNodeMap map(Camera(1, 0));
  auto first = std::make_shared<NiceMock<MockStreamU3V>>();
  std::deque<std::shared_ptr<MockStreamU3V>> supply = {first, std::make_shared<NiceMock<MockStreamU3V>>()};
  EXPECT_CALL(*supply[1], Open()).Times(0);
  auto device = std::make_unique<NiceMock<MockDeviceU3V>>();
  ON_CALL(*device, GetParameters()).WillByDefault([&] { return map.NewParameters(); });
  ON_CALL(*device, IsConnected()).WillByDefault(Return(true));
  ON_CALL(*device, GetPayloadSize()).WillByDefault(Return(4096u));
  EXPECT_CALL(*device, StreamEnable(0));
  core::DeviceU3V handle(
      std::make_shared<ScriptedDeviceImpl<core::DeviceU3VImpl, MockDeviceU3V, MockStreamU3V>>(std::move(device), supply));
  handle.Connect();
  EXPECT_CALL(*first, Open()).Times(2);
  EXPECT_EQ(handle.CreateAndOpenStreams().size(), 1u);
  EXPECT_EQ(handle.CreateAndOpenStreams().size(), 2u);
  EXPECT_CALL(*first, ReleaseBuffers()).Times(0);
  EXPECT_CALL(*first, AllocBuffers(4096u, kBufferCount));
  handle.AcquisitionStart(kBufferCount);
  EXPECT_EQ(Value(map, "AcquisitionStartValue"), 1);
  testing::Mock::VerifyAndClearExpectations(first.get());  // the stream drains its queue when it goes
}

}  // namespace
