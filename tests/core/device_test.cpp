// The device handles over mocked adaptor devices: creation by type, the GigE Vision connect
// (maker check and its disconnect, read-only access, source count and packet-size
// negotiation), the USB3 Vision connect, features of an unconnected camera, thread
// priorities, disconnection and the lookups that report absence by null.
#include "core/device.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/device_gev.h"
#include "core/device_gev_impl.h"
#include "core/device_u3v.h"
#include "core/device_u3v_impl.h"
#include "core/exception_core.h"
#include "core/found_device_info.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/genicam_document.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"
#include "tests/support/xml_node_map.h"

namespace {

using quarx::AccessTypeEnum;
using quarx::ConnectException;
using quarx::CoreException;
using quarx::FeatureTypeEnum;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::InterfaceGenParameters;
using namespace quarx::test;
using ::testing::_;
using ::testing::Contains;
using ::testing::InSequence;
using ::testing::IsEmpty;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::Throw;
using ::testing::TypedEq;

class DeviceTest : public ::testing::Test {
 protected:
  DeviceTest() {
    auto device = std::make_unique<NiceMock<MockDeviceGEV>>();
    gev_ = device.get();
    ON_CALL(*gev_, GetParameters()).WillByDefault([this] { return MakeCameraMap(); });
    ON_CALL(*gev_, GetCommunicationParameters()).WillByDefault([] {
      return std::unique_ptr<InterfaceGenParameters>(std::make_unique<NiceMock<MockGenParameters>>());
    });
    impl_ = std::make_shared<quarx::core::DeviceGEVImpl>("127.0.0.2", std::move(device));
  }

  // The camera's node map: Width (integer), ChunkImage and DeviceUserID (string).
  std::unique_ptr<InterfaceGenParameters> MakeCameraMap() {
    auto map = std::make_unique<NiceMock<MockGenParameters>>();
    ON_CALL(*map, GetCount()).WillByDefault(Return(3));
    ON_CALL(*map, Get(TypedEq<unsigned int>(0))).WillByDefault(Return(width_));
    ON_CALL(*map, Get(TypedEq<unsigned int>(1))).WillByDefault(Return(chunk_));
    ON_CALL(*map, Get(TypedEq<unsigned int>(2))).WillByDefault(Return(user_));
    ON_CALL(*map, Get(std::string("Width"))).WillByDefault(Return(width_));
    ON_CALL(*map, Get(std::string("ChunkImage"))).WillByDefault(Return(chunk_));
    ON_CALL(*map, Get(std::string("DeviceUserID"))).WillByDefault(Return(user_));
    ON_CALL(*map, GetString("Width")).WillByDefault(Throw(ExceptionSdkAdaptor(0x1000003, "Width is not string.")));
    ON_CALL(*map, GetString("Missing")).WillByDefault([](const std::string&) { return nullptr; });
    return map;
  }

  std::shared_ptr<NiceMock<MockGenInteger>> width_ = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "Width");
  std::shared_ptr<NiceMock<MockGenRegister>> chunk_ =
      NodeOfType<MockGenRegister>(FeatureTypeEnum::Register, "ChunkImage");
  std::shared_ptr<NiceMock<MockGenString>> user_ = NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceUserID");
  NiceMock<MockDeviceGEV>* gev_;
  std::shared_ptr<quarx::core::DeviceGEVImpl> impl_;
};

TEST(DeviceCreate, RecordOfAnotherInterfaceTypeIsRefusedWithoutALogLine) {
  std::unique_ptr<quarx::core::FoundDeviceInfo> info =
      std::make_unique<quarx::core::FoundDeviceInfo>("cam", quarx::DeviceInterfaceTypeEnum::Other);
  LogCapture log;
  EXPECT_EQ(Failure<CoreException>([&] { quarx::core::Device::Create(info); }), "7/2 Invalid device type(2)");
  EXPECT_THAT(log.Lines(), IsEmpty());
}

TEST_F(DeviceTest, FeaturesNeedAConnectionAndLeaveOutTheChunkImage) {
  quarx::core::DeviceGEV device(impl_);
  EXPECT_EQ(Failure<ConnectException>([&] { device.GetFeatures(); }), "2/4 Not connected to camera.");
  ON_CALL(*gev_, IsConnected()).WillByDefault(Return(true));
  ASSERT_NE(device.GetFeatures()->GetFeature("DeviceUserID"), nullptr);
  auto features = impl_->GetFeatures();
  ASSERT_EQ(features.size(), 2u);
  EXPECT_EQ(features[0]->GetName(), "Width");
  EXPECT_EQ(features[1]->GetName(), "DeviceUserID");
}

TEST_F(DeviceTest, RefusedPriorityIsADeviceFaultWithDetail900) {
  EXPECT_CALL(*gev_, SetHeartBeatThreadPriority(99))
      .WillOnce(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "refused")));
  quarx::core::DeviceGEV device(impl_);
  LogCapture log;
  EXPECT_EQ(Failure<CoreException>([&] { device.SetHeartbeatThreadPriority(99); }), "7/900 GenericError, refused");
  EXPECT_THAT(log.Lines(), Contains("[error] <SetHeartbeatThreadPriority> (GenericError, refused)"));
}

TEST_F(DeviceTest, FailedDisconnectIsDetail2001WithTheAdaptorsOrTheStandardText) {
  const std::pair<std::function<void()>, const char*> failures[] = {
      {[] { throw ExceptionSdkAdaptor(0x17, "link lost"); }, "2/2001 NotConnected, link lost"},
      {[] { throw std::runtime_error("gone"); }, "2/2001 gone"},
  };
  quarx::core::DeviceGEV device(impl_);
  for (const auto& [fail, text] : failures) {
    EXPECT_CALL(*gev_, DisConnect()).WillOnce(fail);
    EXPECT_EQ(Failure<ConnectException>([&] { device.DisConnect(); }), text);
  }
}

TEST_F(DeviceTest, DestroyingADeviceDisconnectsItOnlyWhenConnectedAndSwallowsAFailure) {
  auto unconnected = std::make_unique<NiceMock<MockDeviceGEV>>();
  EXPECT_CALL(*unconnected, DisConnect()).Times(0);
  quarx::core::DeviceGEVImpl("127.0.0.3", std::move(unconnected));

  ON_CALL(*gev_, IsConnected()).WillByDefault(Return(true));
  EXPECT_CALL(*gev_, DisConnect()).WillOnce(Throw(ExceptionSdkAdaptor(0x17, "link lost")));
  LogCapture log;
  EXPECT_NO_THROW(impl_.reset());
  EXPECT_THAT(log.Lines(), Contains("[warning] <~DeviceImpl> Failed to disconnect (NotConnected, link lost)"));
}

TEST_F(DeviceTest, TypedLookupIsNullForAnAbsentNameAndNamesTheFeatureForAnotherType) {
  EXPECT_EQ(impl_->GetString("Missing"), nullptr);
  EXPECT_EQ(Failure<quarx::FeatureException>([&] { impl_->GetString("Width"); }), "9/1 Width : Width is not string.");
}

// Lookups report a node map that cannot be had by null, and log it.
TEST_F(DeviceTest, FeatureAndLinkParameterLookupsNeverThrow) {
  ON_CALL(*gev_, GetParameters()).WillByDefault(Throw(std::runtime_error("no node map")));
  ON_CALL(*gev_, GetCommunicationParameters()).WillByDefault(Throw(std::runtime_error("no link map")));
  LogCapture log;
  EXPECT_EQ(impl_->GetFeature("Width"), nullptr);
  EXPECT_TRUE(impl_->GetFeatures().empty());
  EXPECT_EQ(impl_->GetCommunicationParameter("AnswerTimeout"), nullptr);
  EXPECT_TRUE(impl_->GetCommunicationParameters().empty());
  for (const char* line : {"[error] <GetFeature> (Width) no node map", "[error] <GetFeatures> no node map",
                           "[error] <GetCommunicationParameter> (AnswerTimeout) no link map",
                           "[error] <GetCommunicationParameters> no link map"}) {
    EXPECT_THAT(log.Lines(), Contains(line));
  }
}

const std::string kConnectionId = "127.0.0.2";
const std::string kForeignMac = "00:11:22:33:44:55";

// A camera whose node map holds `features` (GenICam text).
class DeviceGEVImplTest : public ::testing::Test {
 protected:
  void MakeCamera(const std::string& features = "") {
    map_ = std::make_unique<XmlNodeMap>(
        GenicamDocument(R"(<Category Name="Root" NameSpace="Standard"><pFeature>Width</pFeature></Category>
  <Integer Name="Width" NameSpace="Standard"><Value>8</Value></Integer>)" + features));
    auto device = std::make_unique<NiceMock<MockDeviceGEV>>();
    gev_ = device.get();
    ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return("02:5e:c1:00:00:02"));
    ON_CALL(*gev_, GetParameters()).WillByDefault([this] { return map_->NewParameters(); });
    impl_ = std::make_unique<quarx::core::DeviceGEVImpl>(kConnectionId, std::move(device));
  }
  void SetUp() override { MakeCamera(); }

  std::unique_ptr<XmlNodeMap> map_;
  NiceMock<MockDeviceGEV>* gev_ = nullptr;
  std::unique_ptr<quarx::core::DeviceGEVImpl> impl_;
};

TEST_F(DeviceGEVImplTest, VendorCheckAcceptsOnlyTheMakersPrefixInAnyCase) {
  const std::pair<const char*, bool> macs[] = {
      {"02:5e:c1:12:34:56", true}, {"02:5E:C1:12:34:56", true}, {"02:5e:c1", true},  {"02-5e-c1-12-34-56", false},
      {"02:5e:c", false},          {"", false},                 {kForeignMac.c_str(), false},
      {"\xC3\x84\xC3\x96:5e:c1:00:00:01", false}};
  for (const auto& [mac, maker] : macs) {
    ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return(mac));
    EXPECT_EQ(impl_->IsVelmoraDevice(), maker) << mac;
  }
}

TEST_F(DeviceGEVImplTest, ForeignCameraIsDisconnectedAndRefusedWith2002) {
  {
    InSequence order;
    EXPECT_CALL(*gev_, Connect(kConnectionId, AccessTypeEnum::Control));
    EXPECT_CALL(*gev_, GetMACAddress()).WillOnce(Return(kForeignMac));
    EXPECT_CALL(*gev_, DisConnect());
  }
  EXPECT_CALL(*gev_, GetParameters()).Times(0);
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  LogCapture log;
  EXPECT_EQ(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }),
            "2/2002 The specified connction_id is invalid. Is supports only VELMORA camera.");
  EXPECT_THAT(log.Lines(), Contains("[info] This is not VELMORA device. MacAddress(00:11:22:33:44:55)"));
}

// The disconnect of a foreign camera lies inside the connect's one translation: its failure
// is the failure that ends the connect.
TEST_F(DeviceGEVImplTest, ForeignCameraWhoseDisconnectFailsEndsWith2000AndTheAdaptorsText) {
  ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return(kForeignMac));
  EXPECT_CALL(*gev_, DisConnect()).WillOnce(Throw(ExceptionSdkAdaptor(0x17, "not connected")));
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  EXPECT_EQ(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }),
            "2/2000 NotConnected, not connected");
}

TEST_F(DeviceGEVImplTest, ReadOnlyAccessStopsAfterTheVendorCheck) {
  EXPECT_CALL(*gev_, Connect(kConnectionId, AccessTypeEnum::ReadOnly));
  EXPECT_CALL(*gev_, GetMACAddress());
  EXPECT_CALL(*gev_, GetParameters()).Times(0);
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  impl_->Connect(AccessTypeEnum::ReadOnly);
}

// A plausible source count (1 to 64) is the number of channels negotiated; anything else
// is one channel. A channel the adaptor cannot negotiate does not stop the next.
TEST_F(DeviceGEVImplTest, SourceCountSetsTheChannelsNegotiated) {
  struct Row {
    const char* count;  // null: no SourceCount
    unsigned int channels;
    std::string line;
  };
  const Row rows[] = {
      {nullptr, 1, "[info] <Connect> Not found SourceCount. This camera has only 1 stream."},
      {"0", 1, "[warning] <Connect> Invalid SourceCount(0). This camera has only 1 stream."},
      {"65", 1, "[warning] <Connect> Invalid SourceCount(65). This camera has only 1 stream."},
      {"64", 64, "[info] SourceCount(64)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    MakeCamera(row.count == nullptr ? "" : std::string(R"(<Integer Name="SourceCount" NameSpace="Standard"><Value>)") +
                                               row.count + "</Value></Integer>");
    EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(row.channels > 1 ? row.channels - 1 : 1);
    if (row.channels > 1) {
      EXPECT_CALL(*gev_, NegotiatePacketSize(1)).WillOnce(Throw(ExceptionSdkAdaptor(0x4000, "no stream channel")));
    }
    LogCapture log;
    impl_->Connect(AccessTypeEnum::Control);
    EXPECT_THAT(log.Lines(), Contains(row.line));
  }
}

TEST_F(DeviceGEVImplTest, EveryOtherFailureWhileConnectingIs2000WithItsText) {
  EXPECT_CALL(*gev_, NegotiatePacketSize(0)).WillOnce(Throw(std::runtime_error("socket")));
  EXPECT_EQ(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }),
            "2/2000 Failed to Negotiate Packet Size");

  const std::pair<std::function<void()>, std::string> faults[] = {
      {[] { throw ExceptionSdkAdaptor(0x1E, "Timeout", "no answer"); }, "2/2000 Timeout, no answer"},
      {[] { throw std::runtime_error("out of memory"); }, "2/2000 out of memory"},
  };
  for (const auto& [raise, text] : faults) {
    EXPECT_CALL(*gev_, Connect(kConnectionId, _)).WillOnce([&](const std::string&, AccessTypeEnum) { raise(); });
    EXPECT_EQ(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }), text);
  }

  // A source count the camera will not let be read.
  MakeCamera(R"(<Integer Name="SourceCount" NameSpace="Standard"><ImposedAccessMode>WO</ImposedAccessMode><Value>2</Value></Integer>)");
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  EXPECT_THROW(impl_->Connect(AccessTypeEnum::Control), ConnectException);
}

const std::string kUsbConnectionId = "2676016B7F2A";

TEST(DeviceU3V, ConnectOpensTheControlChannelOnlyAndTranslatesItsFailuresTo2000) {
  auto device = std::make_unique<::testing::NiceMock<MockDeviceU3V>>();
  MockDeviceU3V* u3v = device.get();
  auto impl = std::make_shared<quarx::core::DeviceU3VImpl>(kUsbConnectionId, std::move(device));
  EXPECT_THROW(impl->GetUUID(), quarx::CoreException);  // the adaptor device is no SDK device
  EXPECT_CALL(*u3v, Connect(kUsbConnectionId));
  {
    LogCapture log;
    quarx::core::DeviceU3V(impl).Connect();
    EXPECT_THAT(log.Lines(), ::testing::IsEmpty());
  }
  const std::pair<std::function<void()>, const char*> failures[] = {
      {[] { throw ExceptionSdkAdaptor(0x202, "Busy", "held"); }, "2/2000 Busy, held"},
      {[] { throw std::runtime_error("usb gone"); }, "2/2000 usb gone"},
  };
  for (const auto& [fail, text] : failures) {
    EXPECT_CALL(*u3v, Connect(kUsbConnectionId)).WillOnce(::testing::InvokeWithoutArgs(fail));
    EXPECT_EQ(Failure<quarx::ConnectException>([&] { impl->Connect(); }), text);
  }
}

}  // namespace
