// The device core against an emulated GigE Vision camera: connecting, the source count and the
// packet sizes, features by name, a file upload and the disconnection. The maker check's refusal
// is a call sequence and is tested with mocks. Runs only in a loopback-only network namespace.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/device.h"
#include "core/device_gev.h"
#include "core/exception_core.h"
#include "core/found_device_info.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/log_capture.h"

namespace {

using namespace quarx;
using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using quarx::test::LogCapture;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kAddress = "127.0.0.2";
constexpr std::chrono::milliseconds kAnnounceWait{3000};

EmulatedCameraSpec Camera(std::optional<std::int32_t> sources = std::nullopt) {
  EmulatedCameraSpec spec;
  spec.address = kAddress;
  spec.sources = sources;
  return spec;
}

std::shared_ptr<core::Device> Handle() {
  std::unique_ptr<core::FoundDeviceInfo> record =
      std::make_unique<core::FoundDeviceInfo>(kAddress, DeviceInterfaceTypeEnum::GEV);
  return core::Device::Create(record);
}

std::size_t CountLines(const LogCapture& log, const std::string& level, const std::string& text) {
  const std::vector<std::string> lines = log.Lines();
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.rfind("[" + level + "]", 0) == 0 && line.find(text) != std::string::npos;
  }));
}

// The checksum the emulator announces for a file it has closed.
std::uint32_t Crc32(const std::vector<std::uint8_t>& data) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t byte : data) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1u) != 0 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
  }
  return ~crc;
}

std::vector<std::uint8_t> FirmwareImage(std::size_t size) {
  const std::string head = "1.1.0\n";
  std::vector<std::uint8_t> image(head.begin(), head.end());
  for (std::size_t i = image.size(); i < size; ++i) {
    image.push_back(static_cast<std::uint8_t>(i * 31u + 7u));
  }
  return image;
}

class DeviceGEVCamera : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_CAMERA_NAMESPACE(); }
};

TEST_F(DeviceGEVCamera, MakerCameraConnectsReadsSourceCountNegotiatesAndDisconnects) {
  EmulatorLauncher cameras({Camera(1)});
  std::shared_ptr<core::Device> device = Handle();
  auto* gev = dynamic_cast<core::DeviceGEV*>(device.get());
  ASSERT_NE(gev, nullptr);
  EXPECT_FALSE(device->IsConnected());

  LogCapture log;
  device->Connect();
  EXPECT_TRUE(device->IsConnected());
  EXPECT_EQ(device->GetInterfaceType(), DeviceInterfaceTypeEnum::GEV);
  EXPECT_EQ(gev->GetMACAddress(), cameras.Spec(0).MacAddress());
  EXPECT_EQ(gev->GetIPAddress(), kAddress);
  EXPECT_THAT(log.Lines(), Contains("[info] <Connect> (AccessTypeEnum::Control)"));
  EXPECT_THAT(log.Lines(), Contains("[info] SourceCount(1)"));
  EXPECT_EQ(CountLines(log, "trace", "<NegotiatePacketSize> Result("), 1u);
  EXPECT_EQ(CountLines(log, "error", "<NegotiatePacketSize>"), 0u);

  device->DisConnect();
  EXPECT_FALSE(device->IsConnected());
  EXPECT_THROW(device->GetFeatures(), ConnectException);
}

TEST_F(DeviceGEVCamera, ReadOnlyAccessChecksTheMakerAndPreparesNothingElse) {
  EmulatorLauncher cameras({Camera(2)});
  std::shared_ptr<core::Device> device = Handle();
  LogCapture log;
  dynamic_cast<core::DeviceGEV&>(*device).Connect(AccessTypeEnum::ReadOnly);
  EXPECT_THAT(log.Lines(), Contains("[info] <Connect> (AccessType(2))"));
  EXPECT_THAT(log.Text(), Not(HasSubstr("SourceCount(")));
  EXPECT_EQ(CountLines(log, "trace", "<NegotiatePacketSize>") + CountLines(log, "error", "<NegotiatePacketSize>"), 0u);
}

TEST_F(DeviceGEVCamera, FailedNegotiationOnOneChannelDoesNotStopTheNext) {
  // The emulated camera has one stream channel: channels 1 and 2 both fail, and both are tried.
  EmulatorLauncher cameras({Camera(3)});
  std::shared_ptr<core::Device> device = Handle();
  LogCapture log;
  device->Connect();
  EXPECT_TRUE(device->IsConnected());
  EXPECT_THAT(log.Lines(), Contains("[info] SourceCount(3)"));
  EXPECT_EQ(CountLines(log, "trace", "<NegotiatePacketSize> Result("), 1u);
  EXPECT_EQ(CountLines(log, "error", "<NegotiatePacketSize>"), 2u);
}

class ImplausibleSourceCount : public DeviceGEVCamera, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(ImplausibleSourceCount, IsTreatedAsOneStream) {
  EmulatorLauncher cameras({Camera(GetParam())});
  std::shared_ptr<core::Device> device = Handle();
  LogCapture log;
  device->Connect();
  EXPECT_TRUE(device->IsConnected());
  EXPECT_THAT(log.Lines(), Contains("[warning] <Connect> Invalid SourceCount(" + std::to_string(GetParam()) +
                                    "). This camera has only 1 stream."));
  EXPECT_EQ(CountLines(log, "trace", "<NegotiatePacketSize>") + CountLines(log, "error", "<NegotiatePacketSize>"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Values, ImplausibleSourceCount, ::testing::Values(0, -1, 65, 1000000));

TEST_F(DeviceGEVCamera, FeaturesAreWrittenAndReadByName) {
  EmulatorLauncher cameras({Camera()});
  std::shared_ptr<core::Device> device = Handle();
  device->Connect();
  const std::shared_ptr<core::Parameters>& features = device->GetFeatures();

  std::shared_ptr<core::Feature> userId = features->GetFeature("DeviceUserID");
  ASSERT_NE(userId, nullptr);
  EXPECT_EQ(userId->GetType(), FeatureTypeEnum::String);
  userId->FromString("line-3");
  EXPECT_EQ(userId->GetValueAsString(), "line-3");
  EXPECT_EQ(features->GetString("DeviceUserID")->GetValue(), "line-3");

  std::unique_ptr<core::FeatureInteger> width = features->GetInteger("Width");
  ASSERT_NE(width, nullptr);
  const auto range = width->GetRange();
  EXPECT_LE(range.first, range.second);
  width->SetValue(range.first);
  EXPECT_EQ(width->GetValue(), range.first);

  EXPECT_NE(features->GetEnum("FileSelector"), nullptr);
  EXPECT_NE(features->GetCommand("DeviceReset"), nullptr);
  EXPECT_EQ(features->GetFeature("NoSuchFeature"), nullptr);
  EXPECT_TRUE(features->SetParameters({{"DeviceUserID", "line-4"}}).empty());
  EXPECT_EQ(userId->GetValueAsString(), "line-4");
}

TEST_F(DeviceGEVCamera, WritingAReadOnlyFeatureIsDetail3002) {
  EmulatorLauncher cameras({Camera()});
  std::shared_ptr<core::Device> device = Handle();
  device->Connect();
  std::shared_ptr<core::Feature> serial = device->GetFeatures()->GetFeature("DeviceSerialNumber");
  ASSERT_NE(serial, nullptr);
  try {
    serial->FromString("forged");
    FAIL() << "a read-only feature took a value";
  } catch (const FeatureException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 3002);
  }
}

TEST_F(DeviceGEVCamera, FileUploadReportsSuccessAtEveryStageAndTheBytesArrive) {
  EmulatorLauncher cameras({Camera()});
  std::shared_ptr<core::Device> device = Handle();
  device->Connect();
  const std::vector<std::uint8_t> image = FirmwareImage(10000);
  LogCapture log;
  device->GetGenFile()->Write("Firmware", image.data(), image.size());
  EXPECT_EQ(CountLines(log, "debug", "<CheckStatus> status(Success)"), 2u);
  EXPECT_THAT(log.Lines(), Contains("[debug] <Write> written_size(10000)"));

  char announced[96];
  std::snprintf(announced, sizeof announced, "file Firmware closed size=%zu crc32=%08x", image.size(), Crc32(image));
  EXPECT_TRUE(cameras.WaitForOutput(0, announced, kAnnounceWait)) << cameras.Output(0);
  device->DisConnect();
}

struct UploadFault {
  const char* name;
  const char* file;
  bool failWrite;
  std::string message;
};

class FileUploadFault : public DeviceGEVCamera, public ::testing::WithParamInterface<UploadFault> {};

TEST_P(FileUploadFault, FailsWithTheTextOfItsStage) {
  EmulatedCameraSpec spec = Camera();
  spec.failWrite = GetParam().failWrite;
  EmulatorLauncher cameras({spec});
  std::shared_ptr<core::Device> device = Handle();
  device->Connect();
  const std::vector<std::uint8_t> image = FirmwareImage(2000);
  try {
    device->GetGenFile()->Write(GetParam().file, image.data(), image.size());
    FAIL() << "the upload was reported as done";
  } catch (const CoreException& e) {
    EXPECT_EQ(e.GetResultCode(), 4);
    EXPECT_EQ(e.GetErrCodeDetail(), 7);
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stages, FileUploadFault,
    ::testing::Values(UploadFault{"FailingOpen", "FailingFile", false,
                                  "<CheckStatus> Failed to open file(FailingFile) status(Failure)"},
                      UploadFault{"FailingWrite", "Firmware", true,
                                  "<CheckStatus> Failed to write file(Firmware) status(Failure)"}),
    [](const ::testing::TestParamInfo<UploadFault>& info) { return info.param.name; });

}  // namespace
