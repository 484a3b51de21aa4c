// Connecting a GigE Vision camera through a mocked adaptor device: the maker check and its
// disconnect, read-only access, the source count and the packet-size negotiation.
#include "core/device_gev_impl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"

namespace {

using quarx::AccessTypeEnum;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::InterfaceGenParameters;
using namespace quarx::test;
using ::testing::_;
using ::testing::AnyNumber;
using ::testing::ByMove;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::Throw;

const std::string kConnectionId = "127.0.0.2";
const std::string kMakerMac = "02:5e:c1:00:00:02";
const std::string kVendorMessage = "The specified connction_id is invalid. Is supports only VELMORA camera.";

class DeviceGEVImplTest : public ::testing::Test {
 protected:
  DeviceGEVImplTest() {
    auto device = std::make_unique<NiceMock<MockDeviceGEV>>();
    gev_ = device.get();
    ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return(kMakerMac));
    // Every lookup asks for a fresh node map; this camera has no "SourceCount".
    ON_CALL(*gev_, GetParameters()).WillByDefault([] {
      auto map = std::make_unique<NiceMock<MockGenParameters>>();
      ON_CALL(*map, GetInteger(_)).WillByDefault([](const std::string&) { return nullptr; });
      return std::unique_ptr<InterfaceGenParameters>(std::move(map));
    });
    impl_ = std::make_unique<quarx::core::DeviceGEVImpl>(kConnectionId, std::move(device));
  }

  NiceMock<MockDeviceGEV>* gev_;
  std::unique_ptr<quarx::core::DeviceGEVImpl> impl_;
};

struct MacCase {
  const char* mac;
  bool maker;
};

class VendorCheck : public DeviceGEVImplTest, public ::testing::WithParamInterface<MacCase> {};

TEST_P(VendorCheck, AcceptsOnlyTheMakersPrefixInAnyCase) {
  ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return(GetParam().mac));
  EXPECT_EQ(impl_->IsVelmoraDevice(), GetParam().maker);
}

INSTANTIATE_TEST_SUITE_P(Macs, VendorCheck,
                         ::testing::Values(MacCase{"02:5e:c1:12:34:56", true}, MacCase{"02:5E:C1:12:34:56", true},
                                           MacCase{"02:5e:c1", true}, MacCase{"02-5e-c1-12-34-56", false},
                                           MacCase{"02:5e:c", false}, MacCase{"", false},
                                           MacCase{"00:11:22:33:44:55", false},
                                           MacCase{"\xC3\x84\xC3\x96:5e:c1:00:00:01", false}));

TEST_F(DeviceGEVImplTest, ForeignCameraIsDisconnectedAndRefusedWith2002) {
  {
    InSequence order;
    EXPECT_CALL(*gev_, Connect(kConnectionId, AccessTypeEnum::Control));
    EXPECT_CALL(*gev_, GetMACAddress()).WillOnce(Return("00:11:22:33:44:55"));
    EXPECT_CALL(*gev_, DisConnect());
  }
  EXPECT_CALL(*gev_, GetParameters()).Times(0);
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  LogCapture log;
  try {
    impl_->Connect(AccessTypeEnum::Control);
    FAIL() << "a foreign camera was accepted";
  } catch (const quarx::ConnectException& e) {
    EXPECT_EQ(e.GetResultCode(), 2);
    EXPECT_EQ(e.GetErrCodeDetail(), 2002);
    EXPECT_EQ(std::string(e.what()), kVendorMessage);
  }
  EXPECT_THAT(log.Lines(), Contains("[info] This is not VELMORA device. MacAddress(00:11:22:33:44:55)"));
}

// The disconnect of a foreign camera lies inside the connect's one translation: its failure
// is the failure that ends the connect.
TEST_F(DeviceGEVImplTest, ForeignCameraWhoseDisconnectFailsEndsWith2000AndTheAdaptorsText) {
  ON_CALL(*gev_, GetMACAddress()).WillByDefault(Return("00:11:22:33:44:55"));
  EXPECT_CALL(*gev_, DisConnect()).WillOnce(Throw(ExceptionSdkAdaptor(0x17, "not connected")));
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  LogCapture log;
  try {
    impl_->Connect(AccessTypeEnum::Control);
    FAIL();
  } catch (const quarx::ConnectException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 2000);
    EXPECT_STREQ(e.what(), "NotConnected, not connected");
  }
  EXPECT_THAT(log.Lines(), Contains(HasSubstr("throw ConnectException err_code_detail(2000) msg(NotConnected, not "
                                              "connected)")));
}

TEST_F(DeviceGEVImplTest, ReadOnlyAccessStopsAfterTheVendorCheck) {
  EXPECT_CALL(*gev_, Connect(kConnectionId, AccessTypeEnum::ReadOnly));
  EXPECT_CALL(*gev_, GetMACAddress());
  EXPECT_CALL(*gev_, GetParameters()).Times(0);
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  impl_->Connect(AccessTypeEnum::ReadOnly);
}

TEST_F(DeviceGEVImplTest, CameraWithoutSourceCountNegotiatesChannelZeroOnly) {
  EXPECT_CALL(*gev_, NegotiatePacketSize(0));
  EXPECT_CALL(*gev_, NegotiatePacketSize(1)).Times(0);
  LogCapture log;
  impl_->Connect(AccessTypeEnum::Control);
  EXPECT_THAT(log.Lines(), Contains("[info] <Connect> Not found SourceCount. This camera has only 1 stream."));
}

TEST_F(DeviceGEVImplTest, SdkFailureOfTheNegotiationDoesNotEndConnect) {
  EXPECT_CALL(*gev_, NegotiatePacketSize(0)).WillOnce(Throw(ExceptionSdkAdaptor(0x4000, "no stream channel")));
  EXPECT_NO_THROW(impl_->Connect(AccessTypeEnum::Control));
}

TEST_F(DeviceGEVImplTest, OtherFailureOfTheNegotiationEndsConnectWith2000) {
  EXPECT_CALL(*gev_, NegotiatePacketSize(0)).WillOnce(Throw(std::runtime_error("socket")));
  try {
    impl_->Connect(AccessTypeEnum::Control);
    FAIL();
  } catch (const quarx::ConnectException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 2000);
    EXPECT_STREQ(e.what(), "Failed to Negotiate Packet Size");
  }
}

// A failure while connecting, and the message of the 2000 it must become.
struct ConnectFault {
  const char* name;
  std::function<void()> raise;
  std::string message;
};

class ConnectTranslation : public DeviceGEVImplTest, public ::testing::WithParamInterface<ConnectFault> {};

TEST_P(ConnectTranslation, BecomesConnectException2000) {
  EXPECT_CALL(*gev_, Connect(kConnectionId, _)).WillOnce([&](const std::string&, AccessTypeEnum) {
    GetParam().raise();
  });
  try {
    impl_->Connect(AccessTypeEnum::Control);
    FAIL();
  } catch (const quarx::ConnectException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 2000);
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ConnectTranslation,
    ::testing::Values(ConnectFault{"Adaptor", [] { throw ExceptionSdkAdaptor(0x1E, "Timeout", "no answer"); },
                                   "Timeout, no answer"},
                      ConnectFault{"Standard", [] { throw std::runtime_error("out of memory"); }, "out of memory"}),
    [](const ::testing::TestParamInfo<ConnectFault>& info) { return info.param.name; });

TEST_F(DeviceGEVImplTest, UnreadableSourceCountEndsConnectWith2000) {
  ON_CALL(*gev_, GetParameters()).WillByDefault([] {
    auto map = std::make_unique<NiceMock<MockGenParameters>>();
    // A node without an SDK node behind it: reading its value fails in the adaptor.
    ON_CALL(*map, GetInteger("SourceCount")).WillByDefault([](const std::string&) {
      return std::make_unique<NiceMock<MockGenInteger>>();
    });
    return std::unique_ptr<InterfaceGenParameters>(std::move(map));
  });
  EXPECT_CALL(*gev_, NegotiatePacketSize(_)).Times(0);
  try {
    impl_->Connect(AccessTypeEnum::Control);
    FAIL();
  } catch (const quarx::ConnectException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 2000);
  }
}


}  // namespace
