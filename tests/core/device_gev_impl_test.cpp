// Connecting a GigE Vision camera through a mocked adaptor device: the maker check and its
// disconnect, read-only access, the source count and the packet-size negotiation.
#include "core/device_gev_impl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/genicam_document.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"
#include "tests/support/xml_node_map.h"

namespace {

using quarx::AccessTypeEnum;
using quarx::ConnectException;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using namespace quarx::test;
using ::testing::_;
using ::testing::Contains;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::Throw;

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

}  // namespace
