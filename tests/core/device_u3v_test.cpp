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
#include "tests/support/thrown_adaptor_exception.h"

namespace {

using quarx::sdkadaptor::ExceptionSdkAdaptor;
using namespace quarx::test;

const std::string kConnectionId = "2676016B7F2A";

TEST(DeviceU3V, ConnectOpensTheControlChannelOnlyAndTranslatesItsFailuresTo2000) {
  auto device = std::make_unique<::testing::NiceMock<MockDeviceU3V>>();
  MockDeviceU3V* u3v = device.get();
  auto impl = std::make_shared<quarx::core::DeviceU3VImpl>(kConnectionId, std::move(device));
  EXPECT_THROW(impl->GetUUID(), quarx::CoreException);  // the adaptor device is no SDK device
  EXPECT_CALL(*u3v, Connect(kConnectionId));
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
    EXPECT_CALL(*u3v, Connect(kConnectionId)).WillOnce(::testing::InvokeWithoutArgs(fail));
    EXPECT_EQ(Failure<quarx::ConnectException>([&] { impl->Connect(); }), text);
  }
}

}  // namespace
