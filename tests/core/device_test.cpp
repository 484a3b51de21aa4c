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

namespace {

using quarx::FeatureTypeEnum;
using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::InterfaceGenParameters;
using namespace quarx::test;
using ::testing::_;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::Throw;

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
    ON_CALL(*map, Get(::testing::TypedEq<unsigned int>(0))).WillByDefault(Return(width_));
    ON_CALL(*map, Get(::testing::TypedEq<unsigned int>(1))).WillByDefault(Return(chunk_));
    ON_CALL(*map, Get(::testing::TypedEq<unsigned int>(2))).WillByDefault(Return(user_));
    ON_CALL(*map, Get(std::string("Width"))).WillByDefault(Return(width_));
    ON_CALL(*map, Get(std::string("ChunkImage"))).WillByDefault(Return(chunk_));
    ON_CALL(*map, Get(std::string("DeviceUserID"))).WillByDefault(Return(user_));
    ON_CALL(*map, GetString("Width"))
        .WillByDefault(Throw(ExceptionSdkAdaptor(0x1000003, "Width is not string.")));
    ON_CALL(*map, GetString("Missing")).WillByDefault([](const std::string&) { return nullptr; });
    ++maps_made_;
    return map;
  }

  std::shared_ptr<NiceMock<MockGenInteger>> width_ = NodeOfType<MockGenInteger>(FeatureTypeEnum::Integer, "Width");
  std::shared_ptr<NiceMock<MockGenRegister>> chunk_ =
      NodeOfType<MockGenRegister>(FeatureTypeEnum::Register, "ChunkImage");
  std::shared_ptr<NiceMock<MockGenString>> user_ =
      NodeOfType<MockGenString>(FeatureTypeEnum::String, "DeviceUserID");
  int maps_made_ = 0;
  NiceMock<MockDeviceGEV>* gev_;
  std::shared_ptr<quarx::core::DeviceGEVImpl> impl_;
};

TEST(DeviceCreate, RecordOfAnotherInterfaceTypeIsRefusedWithoutALogLine) {
  std::unique_ptr<quarx::core::FoundDeviceInfo> info =
      std::make_unique<quarx::core::FoundDeviceInfo>("cam", quarx::DeviceInterfaceTypeEnum::Other);
  LogCapture log;
  try {
    quarx::core::Device::Create(info);
    FAIL();
  } catch (const quarx::CoreException& e) {
    EXPECT_EQ(e.GetResultCode(), 7);
    EXPECT_EQ(e.GetErrCodeDetail(), 2);
    EXPECT_STREQ(e.what(), "Invalid device type(2)");
  }
  EXPECT_THAT(log.Lines(), IsEmpty());
}

TEST_F(DeviceTest, FeaturesOfAnUnconnectedCameraAreRefusedWithDetail4) {
  quarx::core::DeviceGEV device(impl_);
  try {
    device.GetFeatures();
    FAIL();
  } catch (const quarx::ConnectException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 4);
    EXPECT_STREQ(e.what(), "Not connected to camera.");
  }
  EXPECT_NE(device.GetCommunicationParameters(), nullptr);
}

TEST_F(DeviceTest, FeaturesOfAConnectedCameraComeFromTheMapTakenAtConstruction) {
  quarx::core::DeviceGEV device(impl_);
  ON_CALL(*gev_, IsConnected()).WillByDefault(Return(true));
  const int maps = maps_made_;
  auto feature = device.GetFeatures()->GetFeature("DeviceUserID");
  ASSERT_NE(feature, nullptr);
  EXPECT_EQ(feature->GetType(), FeatureTypeEnum::String);
  EXPECT_EQ(maps_made_, maps);
}

TEST_F(DeviceTest, EachPriorityGetterReadsItsOwnThread) {
  ON_CALL(*gev_, GetHeartBeatThreadPriority()).WillByDefault(Return(1));
  ON_CALL(*gev_, GetInterruptLinkThreadPriority()).WillByDefault(Return(2));
  ON_CALL(*gev_, GetInterruptQueueThreadPriority()).WillByDefault(Return(3));
  EXPECT_CALL(*gev_, SetInterruptLinkThreadPriority(20));
  quarx::core::DeviceGEV device(impl_);
  device.SetInterruptLinkThreadPriority(20);
  EXPECT_EQ(device.GetHeartbeatThreadPriority(), 1u);
  EXPECT_EQ(device.GetInterruptLinkThreadPriority(), 2u);
  EXPECT_EQ(device.GetInterruptQueueThreadPriority(), 3u);
}

TEST_F(DeviceTest, RefusedPriorityIsADeviceFaultWithDetail900) {
  EXPECT_CALL(*gev_, SetHeartBeatThreadPriority(99))
      .WillOnce(Throw(ExceptionSdkAdaptor(0x4000, "GenericError", "refused")));
  quarx::core::DeviceGEV device(impl_);
  LogCapture log;
  try {
    device.SetHeartbeatThreadPriority(99);
    FAIL();
  } catch (const quarx::CoreException& e) {
    EXPECT_EQ(e.GetResultCode(), 7);
    EXPECT_EQ(e.GetErrCodeDetail(), 900);
    EXPECT_STREQ(e.what(), "GenericError, refused");
  }
  EXPECT_THAT(log.Lines(), Contains("[error] <SetHeartbeatThreadPriority> (GenericError, refused)"));
}

TEST_F(DeviceTest, FailedDisconnectIsDetail2001WithTheAdaptorsOrTheStandardText) {
  const std::pair<std::function<void()>, const char*> failures[] = {
      {[] { throw ExceptionSdkAdaptor(0x17, "link lost"); }, "NotConnected, link lost"},
      {[] { throw std::runtime_error("gone"); }, "gone"},
  };
  for (const auto& [fail, text] : failures) {
    SCOPED_TRACE(text);
    EXPECT_CALL(*gev_, DisConnect()).WillOnce(fail);
    quarx::core::DeviceGEV device(impl_);
    try {
      device.DisConnect();
      FAIL();
    } catch (const quarx::ConnectException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), 2001);
      EXPECT_STREQ(e.what(), text);
    }
  }
}

TEST_F(DeviceTest, DestroyingAConnectedDeviceDisconnectsItAndSwallowsAFailure) {
  ON_CALL(*gev_, IsConnected()).WillByDefault(Return(true));
  EXPECT_CALL(*gev_, DisConnect()).WillOnce(Throw(ExceptionSdkAdaptor(0x17, "link lost")));
  LogCapture log;
  EXPECT_NO_THROW(impl_.reset());
  EXPECT_THAT(log.Lines(), Contains(HasSubstr("[warning] <~DeviceImpl> Failed to disconnect (NotConnected, link lost)")));
}

TEST_F(DeviceTest, DestroyingAnUnconnectedDeviceDoesNotDisconnect) {
  EXPECT_CALL(*gev_, DisConnect()).Times(0);
  impl_.reset();
}

TEST_F(DeviceTest, FeatureListLeavesOutTheChunkImage) {
  auto features = impl_->GetFeatures();
  ASSERT_EQ(features.size(), 2u);
  EXPECT_EQ(features[0]->GetName(), "Width");
  EXPECT_EQ(features[1]->GetName(), "DeviceUserID");
}

TEST_F(DeviceTest, TypedLookupIsNullForAnAbsentNameAndNamesTheFeatureForAnotherType) {
  EXPECT_EQ(impl_->GetString("Missing"), nullptr);
  try {
    impl_->GetString("Width");
    FAIL();
  } catch (const quarx::FeatureException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 1);
    EXPECT_STREQ(e.what(), "Width : Width is not string.");
  }
}

TEST_F(DeviceTest, FeatureLookupNeverThrows) {
  ON_CALL(*gev_, GetParameters()).WillByDefault(Throw(std::runtime_error("no node map")));
  LogCapture log;
  EXPECT_EQ(impl_->GetFeature("Width"), nullptr);
  EXPECT_TRUE(impl_->GetFeatures().empty());
  EXPECT_THAT(log.Lines(), Contains("[error] <GetFeature> (Width) no node map"));
  EXPECT_THAT(log.Lines(), Contains("[error] <GetFeatures> no node map"));
}

TEST_F(DeviceTest, LinkParameterLookupNeverThrows) {
  ON_CALL(*gev_, GetCommunicationParameters()).WillByDefault(Throw(std::runtime_error("no link map")));
  LogCapture log;
  EXPECT_EQ(impl_->GetCommunicationParameter("AnswerTimeout"), nullptr);
  EXPECT_TRUE(impl_->GetCommunicationParameters().empty());
  EXPECT_THAT(log.Lines(), Contains("[error] <GetCommunicationParameter> (AnswerTimeout) no link map"));
  EXPECT_THAT(log.Lines(), Contains("[error] <GetCommunicationParameters> no link map"));
}

TEST_F(DeviceTest, FileAccessThatCannotBeHadFailsAtTheWrite) {
  quarx::core::DeviceGEV device(impl_);
  LogCapture log;
  auto file = device.GetGenFile();
  ASSERT_NE(file, nullptr);
  EXPECT_THAT(log.Lines(), Contains("[info] <GetGenFile>"));
  const char image[] = "1.1.0";
  EXPECT_THROW(file->Write("Firmware", image, sizeof image), quarx::CoreException);
}

}  // namespace
