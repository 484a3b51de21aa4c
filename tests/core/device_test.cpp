// The device handle and the work common to both transports, over a mocked adaptor device:
// creation by type, features of an unconnected camera, thread priorities, disconnection and
// the lookups that report absence by null.
#include "core/device.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/device_gev.h"
#include "core/device_gev_impl.h"
#include "core/exception_core.h"
#include "core/found_device_info.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace {

using quarx::ConnectException;
using quarx::CoreException;
using quarx::FeatureTypeEnum;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::InterfaceGenParameters;
using namespace quarx::test;
using ::testing::Contains;
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

TEST_F(DeviceTest, FileAccessThatCannotBeHadFailsAtTheWrite) {
  quarx::core::DeviceGEV device(impl_);
  LogCapture log;
  auto file = device.GetGenFile();
  ASSERT_NE(file, nullptr);
  EXPECT_THAT(log.Lines(), Contains("[info] <GetGenFile>"));
  const char image[] = "1.1.0";
  EXPECT_THROW(file->Write("Firmware", image, sizeof image), CoreException);
}

}  // namespace
