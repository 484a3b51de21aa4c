// What only a camera shows of the adaptor's device, nodes and GigE Vision stream. Runs only in
// a loopback-only network namespace.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sdkadaptor/src/device_gev.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/stream_gev.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace quarx::sdkadaptor {
namespace {

using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using quarx::test::Thrown;

constexpr CodeEnum kNotConnected = 0x17;

// One camera shared by the tests that leave it as they found it.
class DeviceCameraTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (quarx::test::InCameraNamespace()) {
      camera_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{EmulatedCameraSpec{}});
    }
  }
  static void TearDownTestSuite() { camera_.reset(); }

  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    device_.Connect("127.0.0.2", AccessTypeEnum::Control);
    features_ = device_.GetParameters();
  }
  void TearDown() override {
    features_.reset();
    if (device_.IsConnected()) {
      device_.DisConnect();
    }
  }

  static std::unique_ptr<EmulatorLauncher> camera_;
  DeviceGEV device_;
  std::unique_ptr<InterfaceGenParameters> features_;
};

std::unique_ptr<EmulatorLauncher> DeviceCameraTest::camera_;

TEST_F(DeviceCameraTest, NodesOfAnEndedConnectionFailInsteadOfTouchingFreedMemory) {
  std::unique_ptr<GenInteger> width = features_->GetInteger("Width");
  ASSERT_NE(width, nullptr);
  device_.DisConnect();
  EXPECT_EQ(Thrown([&] { width->GetValue(); }).GetCode(), kNotConnected);
  EXPECT_FALSE(width->IsReadable());
  EXPECT_EQ(features_->GetCount(), 0u);
  EXPECT_EQ(Thrown([&] { device_.DisConnect(); }).GetCode(), kNotConnected);
}

// The queue takes at most its maximum; aborted buffers come back as null and are queued
// again; without frames a retrieval times out.
TEST_F(DeviceCameraTest, StreamQueueIsCappedAndAbortedBuffersAreQueuedAgain) {
  StreamGEV stream("127.0.0.2");
  stream.Open(0);
  device_.SetStreamDestination(stream.GetLocalIPAddress(), stream.GetLocalPort(), 0);
  stream.AllocBuffers(device_.GetPayloadSize(), 100);
  EXPECT_EQ(stream.GetQueuedBufferCount(), 64u);
  stream.ReleaseBuffers();
  EXPECT_EQ(stream.GetQueuedBufferCount(), 0u);

  stream.AllocBuffers(device_.GetPayloadSize(), 2);
  stream.AbortQueueBuffers();
  Result result;
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(stream.RetrieveBuffer(result, 3000), nullptr);
    EXPECT_EQ(result.GetCode(), 0x1Bu);
  }
  EXPECT_EQ(stream.GetQueuedBufferCount(), 2u);
  EXPECT_EQ(Thrown([&] { stream.RetrieveBuffer(result, 100); }).GetCode(), 30u);
  device_.GetParameters()->GetCommand("AcquisitionStart")->Execute();
  std::unique_ptr<InterfaceBuffer> frame(stream.RetrieveBuffer(result, 3000));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->GetAcquiredSize(), device_.GetPayloadSize());
  frame->Release();
  device_.GetParameters()->GetCommand("AcquisitionStop")->Execute();
}

TEST(DeviceCameraConnect, AccessTypesSetTheControlPrivilegeAndAHeldCameraIsRefused) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatedCameraSpec spec;
  spec.address = "127.0.0.3";
  EmulatorLauncher camera({spec});
  using Access = AccessTypeEnum;  // privilege register: 2 control, 1 exclusive, 0 none; unknown is control
  const std::pair<Access, uint8_t> cases[] = {{Access::Control, 2}, {Access::Exclusive, 1}, {Access::ReadOnly, 0},
                                              {static_cast<Access>(7), 2}};
  for (const auto& [access, privilege] : cases) {
    SCOPED_TRACE(static_cast<int>(access));
    DeviceGEV device;
    device.Connect("127.0.0.3", access);
    EXPECT_EQ(device.ReadMemory(0x0A00, 4), (std::vector<uint8_t>{0, 0, 0, privilege}));
    device.DisConnect();
  }
  DeviceGEV first;
  first.Connect("127.0.0.3", AccessTypeEnum::Control);
  DeviceGEV second;
  EXPECT_EQ(Thrown([&] { second.Connect("127.0.0.3", AccessTypeEnum::Control); }).GetDescription(),
            "The device at 127.0.0.3 is controlled by another host");
  EXPECT_FALSE(second.IsConnected());
  EXPECT_THROW(second.Connect("127.0.0.9", AccessTypeEnum::Control), ExceptionSdkAdaptor);  // nothing answers
  first.DisConnect();
}

}  // namespace
}  // namespace quarx::sdkadaptor
