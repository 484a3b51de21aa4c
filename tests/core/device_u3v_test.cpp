// Connecting a USB3 Vision camera through a mocked adaptor device. No USB3 Vision camera
// can be reached in the test namespace, so these are its only tests.
#include "core/device_u3v.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/device_u3v_impl.h"
#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"

namespace {

using quarx::sdkadaptor::ExceptionSdkAdaptor;
using namespace quarx::test;
using ::testing::IsEmpty;
using ::testing::NiceMock;
using ::testing::Return;

const std::string kConnectionId = "2676016B7F2A";

class DeviceU3VTest : public ::testing::Test {
 protected:
  DeviceU3VTest() {
    auto device = std::make_unique<NiceMock<MockDeviceU3V>>();
    u3v_ = device.get();
    impl_ = std::make_shared<quarx::core::DeviceU3VImpl>(kConnectionId, std::move(device));
  }

  NiceMock<MockDeviceU3V>* u3v_;
  std::shared_ptr<quarx::core::DeviceU3VImpl> impl_;
};

TEST_F(DeviceU3VTest, ConnectOpensTheControlChannelOnlyAndLogsNothingOfItsOwn) {
  EXPECT_CALL(*u3v_, Connect(kConnectionId));
  quarx::core::DeviceU3V device(impl_);
  LogCapture log;
  device.Connect();
  EXPECT_THAT(log.Lines(), IsEmpty());
}

TEST_F(DeviceU3VTest, AdaptorOrStandardFailureWhileConnectingIs2000WithItsText) {
  const std::pair<std::function<void()>, const char*> failures[] = {
      {[] { throw ExceptionSdkAdaptor(0x202, "Busy", "held"); }, "Busy, held"},
      {[] { throw std::runtime_error("usb gone"); }, "usb gone"},
  };
  for (const auto& [fail, text] : failures) {
    SCOPED_TRACE(text);
    EXPECT_CALL(*u3v_, Connect(kConnectionId)).WillOnce(::testing::InvokeWithoutArgs(fail));
    try {
      impl_->Connect();
      FAIL();
    } catch (const quarx::ConnectException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), 2000);
      EXPECT_STREQ(e.what(), text);
    }
  }
}

TEST_F(DeviceU3VTest, GuidOfADeviceThatIsNotTheAdaptorsIsRefused) {
  EXPECT_THROW(impl_->GetUUID(), quarx::CoreException);
}

}  // namespace
