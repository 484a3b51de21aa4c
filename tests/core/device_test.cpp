// The device handles over mocked adaptor devices: creation by type, the connects (maker check,
// read-only access, source count, failures), features, priorities, disconnection and lookups.
#include "core/device.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/device_gev.h"
#include "core/device_gev_impl.h"
#include "core/device_u3v.h"
#include "core/device_u3v_impl.h"
#include "core/exception_core.h"
#include "core/found_device_info.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/genicam_document.h"
#include "tests/support/thrown_adaptor_exception.h"
#include "tests/support/xml_node_map.h"

namespace {

using quarx::AccessTypeEnum;
using quarx::ConnectException;
using quarx::CoreException;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using namespace quarx::test;
using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::Throw;

const std::string kConnectionId = "127.0.0.2";
const std::string kForeignMac = "00:11:22:33:44:55";

// A maker camera whose node map holds Width, ChunkImage, DeviceUserID and `features`.
class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeCamera(); }
  void MakeCamera(const std::string& features = "") {
    map_ = std::make_unique<XmlNodeMap>(GenicamDocument(R"(<Category Name="Root" NameSpace="Standard">
    <pFeature>Width</pFeature><pFeature>ChunkImage</pFeature><pFeature>DeviceUserID</pFeature></Category>
  <Integer Name="Width" NameSpace="Standard"><Value>8</Value></Integer>
  <Integer Name="ChunkImage" NameSpace="Standard"><Value>0</Value></Integer>
  <String Name="DeviceUserID" NameSpace="Standard"><Value>line-1</Value></String>)" + features));
    auto device = std::make_unique<NiceMock<MockDeviceGEV>>();
    gev_ = device.get();
    ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return("02:5e:c1:00:00:02"));
    ON_CALL(*gev_, GetParameters()).WillByDefault([this] { return map_->NewParameters(); });
    impl_ = std::make_shared<quarx::core::DeviceGEVImpl>(kConnectionId, std::move(device));
  }

  std::unique_ptr<XmlNodeMap> map_;
  NiceMock<MockDeviceGEV>* gev_ = nullptr;
  std::shared_ptr<quarx::core::DeviceGEVImpl> impl_;
};

TEST(DeviceCreate, RecordOfAnotherInterfaceTypeIsRefused) {
  std::unique_ptr<quarx::core::FoundDeviceInfo> info =
      std::make_unique<quarx::core::FoundDeviceInfo>("cam", quarx::DeviceInterfaceTypeEnum::Other);
  EXPECT_EQ(Failure<CoreException>([&] { quarx::core::Device::Create(info); }), "7/2 Invalid device type(2)");
}

TEST_F(DeviceTest, FeaturesNeedAConnectionLeaveOutTheChunkImageAndNeverThrowOnLookup) {
  quarx::core::DeviceGEV device(impl_);
  EXPECT_EQ(Failure<ConnectException>([&] { device.GetFeatures(); }), "2/4 Not connected to camera.");
  ON_CALL(*gev_, IsConnected()).WillByDefault(Return(true));
  ASSERT_NE(device.GetFeatures()->GetFeature("DeviceUserID"), nullptr);
  std::vector<std::string> names;
  for (const auto& feature : impl_->GetFeatures()) {
    names.push_back(feature ? feature->GetName() : "");
  }
  EXPECT_THAT(names, ::testing::UnorderedElementsAre("", "Width", "DeviceUserID"));  // "": the Root category
  EXPECT_EQ(impl_->GetString("Missing"), nullptr);
  EXPECT_EQ(Failure<quarx::FeatureException>([&] { impl_->GetString("Width"); }),
            "9/1 Width : Width is not string.");
  // Lookups over a node map that cannot be had report absence instead of throwing.
  ON_CALL(*gev_, GetParameters()).WillByDefault(Throw(std::runtime_error("no node map")));
  ON_CALL(*gev_, GetCommunicationParameters()).WillByDefault(Throw(std::runtime_error("no link map")));
  EXPECT_EQ(impl_->GetFeature("Width"), nullptr);
  EXPECT_TRUE(impl_->GetFeatures().empty());
  EXPECT_EQ(impl_->GetCommunicationParameter("AnswerTimeout"), nullptr);
  EXPECT_TRUE(impl_->GetCommunicationParameters().empty());
}

// A failed disconnect is 2001; destroying a device disconnects it only when connected, quietly.
TEST_F(DeviceTest, RefusedPriorityIs900AndFailedDisconnect2001ExceptWhenTheDeviceGoes) {
  EXPECT_CALL(*gev_, SetHeartBeatThreadPriority(99)).WillOnce(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "refused")));
  EXPECT_EQ(Failure<CoreException>([&] { quarx::core::DeviceGEV(impl_).SetHeartbeatThreadPriority(99); }),
            "7/900 GenericError, refused");
  EXPECT_CALL(*gev_, DisConnect()).Times(2).WillRepeatedly(Throw(ExceptionSdkAdaptor(0x17, "link lost")));
  EXPECT_EQ(Failure<ConnectException>([&] { impl_->DisConnect(); }), "2/2001 NotConnected, link lost");
  auto unconnected = std::make_unique<NiceMock<MockDeviceGEV>>();
  EXPECT_CALL(*unconnected, DisConnect()).Times(0);
  quarx::core::DeviceGEVImpl("127.0.0.3", std::move(unconnected));
  ON_CALL(*gev_, IsConnected()).WillByDefault(Return(true));
  EXPECT_NO_THROW(impl_.reset());
}

TEST_F(DeviceTest, VendorCheckAcceptsOnlyTheMakersPrefixInAnyCase) {
  const std::pair<const char*, bool> macs[] = {
      {"02:5e:c1:12:34:56", true}, {"02:5E:C1:12:34:56", true}, {"02:5e:c1", true},  {"02-5e-c1-12-34-56", false},
      {"02:5e:c", false},          {"", false},                 {kForeignMac.c_str(), false},
      {"\xC3\x84\xC3\x96:5e:c1:00:00:01", false}};
  for (const auto& [mac, maker] : macs) {
    ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return(mac));
    EXPECT_EQ(impl_->IsVelmoraDevice(), maker) << mac;
  }
}

// A foreign camera is disconnected before the connect fails; a failure of that disconnect lies
// inside the connect's one translation and is the failure that ends it.
TEST_F(DeviceTest, ForeignCameraIsDisconnectedAndRefusedOrFailsAsItsDisconnectAndReadOnlyStopsAfterTheCheck) {
  ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return(kForeignMac));
  EXPECT_CALL(*gev_, GetParameters()).Times(0);
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  {
    InSequence order;
    EXPECT_CALL(*gev_, Connect(kConnectionId, AccessTypeEnum::Control));
    EXPECT_CALL(*gev_, DisConnect());
    EXPECT_CALL(*gev_, Connect(kConnectionId, AccessTypeEnum::Control));
    EXPECT_CALL(*gev_, DisConnect()).WillOnce(Throw(ExceptionSdkAdaptor(0x17, "not connected")));
  }
  EXPECT_THAT(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }), ::testing::StartsWith("2/2002 "));
  EXPECT_EQ(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }),
            "2/2000 NotConnected, not connected");
  // Read-only access stops after the vendor check: still no node map, no negotiation.
  ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return("02:5e:c1:00:00:02"));
  EXPECT_CALL(*gev_, Connect(kConnectionId, AccessTypeEnum::ReadOnly));
  impl_->Connect(AccessTypeEnum::ReadOnly);
}

// A source count of 1 to 64 is the channels negotiated, else one; a failing channel stops none.
TEST_F(DeviceTest, SourceCountSetsTheChannelsNegotiated) {
  const std::pair<const char*, unsigned int> rows[] = {{nullptr, 1}, {"0", 1}, {"65", 1}, {"64", 64}};
  for (const auto& [count, channels] : rows) {
    MakeCamera(count == nullptr ? ""
                                : std::string(R"(<Integer Name="SourceCount" NameSpace="Standard"><Value>)") + count +
                                      "</Value></Integer>");
    EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(channels > 1 ? channels - 1 : 1);
    if (channels > 1) {
      EXPECT_CALL(*gev_, NegotiatePacketSize(1)).WillOnce(Throw(ExceptionSdkAdaptor(0x4000, "no stream channel")));
    }
    impl_->Connect(AccessTypeEnum::Control);
  }
}

TEST_F(DeviceTest, EveryOtherFailureWhileConnectingIs2000WithItsText) {
  EXPECT_CALL(*gev_, NegotiatePacketSize(0)).WillOnce(Throw(std::runtime_error("socket")));
  EXPECT_EQ(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }),
            "2/2000 Failed to Negotiate Packet Size");
  EXPECT_CALL(*gev_, Connect(kConnectionId, _))
      .WillOnce(Throw(ExceptionSdkAdaptor(0x1E, "Timeout", "no answer")))
      .WillOnce(Throw(std::runtime_error("out of memory")));
  EXPECT_EQ(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }), "2/2000 Timeout, no answer");
  EXPECT_EQ(Failure<ConnectException>([&] { impl_->Connect(AccessTypeEnum::Control); }), "2/2000 out of memory");
  // A source count the camera will not let be read.
  MakeCamera(R"(<Integer Name="SourceCount" NameSpace="Standard"><ImposedAccessMode>WO</ImposedAccessMode><Value>2</Value></Integer>)");
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  EXPECT_THROW(impl_->Connect(AccessTypeEnum::Control), ConnectException);
}

TEST(DeviceU3V, ConnectOpensTheControlChannelOnlyAndTranslatesItsFailuresTo2000) {
  auto device = std::make_unique<NiceMock<MockDeviceU3V>>();
  MockDeviceU3V* u3v = device.get();
  auto impl = std::make_shared<quarx::core::DeviceU3VImpl>("2676016B7F2A", std::move(device));
  EXPECT_CALL(*u3v, Connect("2676016B7F2A"))
      .WillOnce(Return())
      .WillOnce(Throw(ExceptionSdkAdaptor(0x202, "Busy", "held")));
  quarx::core::DeviceU3V(impl).Connect();
  EXPECT_EQ(Failure<ConnectException>([&] { impl->Connect(); }), "2/2000 Busy, held");
}

}  // namespace
