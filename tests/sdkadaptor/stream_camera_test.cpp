// The adaptor's GigE Vision stream against an emulated camera: the queue capped at its
// maximum, aborted buffers that go straight back into the queue, the drain, and a buffer that
// outlives its stream. Runs only in a loopback-only network namespace.
#include "sdkadaptor/src/stream_gev.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sdkadaptor/src/device_gev.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/log_capture.h"

namespace quarx::sdkadaptor {
namespace {

using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using quarx::test::LogCapture;
using ::testing::Contains;

const std::string kAddress = "127.0.0.2";
constexpr unsigned int kQueueCapacity = 64;
constexpr CodeEnum kAborted = 0x1B;
constexpr CodeEnum kTimeout = 30;
constexpr unsigned int kFrameTimeoutMs = 3000;

class AdaptorStreamCamera : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CAMERA_NAMESPACE();
    EmulatedCameraSpec spec;
    spec.address = kAddress;
    cameras_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{spec});
    device_ = std::make_unique<DeviceGEV>();
    device_->Connect(kAddress, AccessTypeEnum::Control);
    stream_ = std::make_unique<StreamGEV>(kAddress);
    stream_->Open(0);
    device_->SetStreamDestination(stream_->GetLocalIPAddress(), stream_->GetLocalPort(), 0);
  }
  void Start() { device_->GetParameters()->GetCommand("AcquisitionStart")->Execute(); }
  void TearDown() override {
    if (device_ && device_->IsConnected()) {
      device_->GetParameters()->GetCommand("AcquisitionStop")->Execute();
    }
  }

  std::unique_ptr<EmulatorLauncher> cameras_;
  std::unique_ptr<DeviceGEV> device_;
  std::unique_ptr<StreamGEV> stream_;
};

TEST_F(AdaptorStreamCamera, QueueTakesAtMostItsMaximumAndTheDrainEmptiesIt) {
  EXPECT_EQ(stream_->GetQueuedBufferMaximum(), kQueueCapacity);
  EXPECT_EQ(stream_->GetDeviceIPAddress(), kAddress);
  LogCapture log;
  stream_->AllocBuffers(device_->GetPayloadSize(), 100);
  EXPECT_THAT(log.Lines(), Contains("[debug] <AllocBuffers> allocate buffer number(64)"));
  EXPECT_EQ(stream_->GetQueuedBufferCount(), kQueueCapacity);
  stream_->ReleaseBuffers();
  EXPECT_EQ(stream_->GetQueuedBufferCount(), 0u);
}

TEST_F(AdaptorStreamCamera, AbortedBufferComesBackAsNullAndIsQueuedAgain) {
  stream_->AllocBuffers(device_->GetPayloadSize(), 4);
  stream_->AbortQueueBuffers();
  Result result;
  LogCapture log;
  EXPECT_EQ(stream_->RetrieveBuffer(result, kFrameTimeoutMs), nullptr);
  EXPECT_EQ(result.GetCode(), kAborted);
  EXPECT_THAT(log.Lines(), Contains("[error] <RetrieveBuffer> OperationResult(Aborted)(The acquisition was aborted)"));
  EXPECT_EQ(stream_->GetQueuedBufferCount(), 4u);

  // The three still aborted come back the same way; the one queued again gets a frame.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(stream_->RetrieveBuffer(result, kFrameTimeoutMs), nullptr);
  }
  Start();
  std::unique_ptr<InterfaceBuffer> frame(stream_->RetrieveBuffer(result, kFrameTimeoutMs));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(result.GetCode(), 0u);
  EXPECT_EQ(frame->GetAcquiredSize(), device_->GetPayloadSize());
  frame->Release();
}

TEST_F(AdaptorStreamCamera, RetrievalWithoutFramesTimesOut) {
  stream_->AllocBuffers(device_->GetPayloadSize(), 2);
  Result result;
  try {
    stream_->RetrieveBuffer(result, 100);
    FAIL() << "a frame arrived before acquisition started";
  } catch (const ExceptionSdkAdaptor& e) {
    EXPECT_EQ(e.GetCode(), kTimeout);
  }
}

TEST_F(AdaptorStreamCamera, BufferHeldWhenItsStreamGoesStaysReadable) {
  stream_->AllocBuffers(device_->GetPayloadSize(), 2);
  Start();
  Result result;
  std::unique_ptr<InterfaceBuffer> held(stream_->RetrieveBuffer(result, kFrameTimeoutMs));
  ASSERT_NE(held, nullptr);
  const uint8_t first = held->GetDataPointer()[0];
  stream_->ReleaseBuffers();
  stream_->Close();
  stream_.reset();
  EXPECT_EQ(held->GetDataPointer()[0], first);
  EXPECT_GT(held->GetImage()->GetWidth(), 0u);
  held->Release();  // its stream is gone: nothing to go back to
  held.reset();
}

}  // namespace
}  // namespace quarx::sdkadaptor
