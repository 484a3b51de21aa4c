// The adaptor's devices, node maps, typed nodes and file access against an emulated camera.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sdkadaptor/src/device_gev.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/camera_namespace.h"
#include "tests/support/emulator_launcher.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace quarx::sdkadaptor {
namespace {

using quarx::test::EmulatedCameraSpec;
using quarx::test::EmulatorLauncher;
using quarx::test::Thrown;

constexpr CodeEnum kNotConnected = 0x17;
constexpr std::chrono::seconds kCommandWait{5};

EmulatedCameraSpec Camera(const std::string& address) {
  EmulatedCameraSpec spec;
  spec.address = address;
  return spec;
}

bool WaitUntilDone(GenCommand& command) {
  const auto deadline = std::chrono::steady_clock::now() + kCommandWait;
  while (std::chrono::steady_clock::now() < deadline) {
    if (command.IsDone()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

uint32_t Crc32(const std::vector<uint8_t>& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t byte : data) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
  }
  return ~crc;
}

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> data(size);
  uint32_t state = 12345;
  for (auto& byte : data) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(state >> 16);
  }
  return data;
}

// One camera shared by the tests that leave it as they found it.
class DeviceCameraTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (quarx::test::InCameraNamespace()) {
      camera_ = std::make_unique<EmulatorLauncher>(std::vector<EmulatedCameraSpec>{Camera("127.0.0.2")});
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

TEST_F(DeviceCameraTest, ConnectReportsTheCamerasAddressesAndDisconnectEndsTheConnection) {
  EXPECT_TRUE(device_.IsConnected());
  EXPECT_EQ(device_.GetType(), DeviceInterfaceTypeEnum::GEV);
  EXPECT_EQ(device_.GetIPAddress(), "127.0.0.2");
  EXPECT_EQ(device_.GetMACAddress(), camera_->Spec(0).MacAddress());

  device_.DisConnect();
  EXPECT_FALSE(device_.IsConnected());
  EXPECT_EQ(Thrown([&] { device_.DisConnect(); }).GetCode(), kNotConnected);

  device_.Connect("127.0.0.2");
  EXPECT_TRUE(device_.IsConnected());
}

TEST_F(DeviceCameraTest, NodesOfAnEndedConnectionFailInsteadOfTouchingFreedMemory) {
  std::unique_ptr<GenInteger> width = features_->GetInteger("Width");
  ASSERT_NE(width, nullptr);
  device_.DisConnect();
  EXPECT_EQ(Thrown([&] { width->GetValue(); }).GetCode(), kNotConnected);
  EXPECT_FALSE(width->IsReadable());
  EXPECT_EQ(features_->GetCount(), 0u);
}

TEST_F(DeviceCameraTest, TypedNodesReadAndWriteByName) {
  auto width = features_->GetInteger("Width");
  ASSERT_NE(width, nullptr);
  width->SetValue(320);
  EXPECT_EQ(width->GetValue(), 320);
  const auto range = width->GetRange();
  EXPECT_LT(range.first, range.second);

  auto exposure = features_->GetFloat("ExposureTimeAbs");
  ASSERT_NE(exposure, nullptr);
  exposure->SetValue(2000.0);
  EXPECT_DOUBLE_EQ(exposure->GetValue(), 2000.0);

  auto mode = features_->GetEnum("AcquisitionMode");
  ASSERT_NE(mode, nullptr);
  mode->SetValue(std::string("Continuous"));
  EXPECT_EQ(mode->GetValueAsString(), "Continuous");

  auto flag = features_->GetBoolean("TestBoolean");
  ASSERT_NE(flag, nullptr);
  flag->SetValue(false);
  EXPECT_FALSE(flag->GetValue());

  auto userId = features_->GetString("DeviceUserID");
  ASSERT_NE(userId, nullptr);
  userId->SetValue("line-3");
  EXPECT_EQ(userId->GetValue(), "line-3");

  // Two lookups are two objects over one camera node.
  auto again = features_->GetInteger("Width");
  EXPECT_NE(again.get(), width.get());
  width->SetValue(640);
  EXPECT_EQ(again->GetValue(), 640);
}

TEST_F(DeviceCameraTest, FromStringSetsEveryKindAndToStringReadsItBack) {
  struct Case {
    const char* feature;
    const char* text;
    const char* expected;
    FeatureTypeEnum type;
  };
  const Case cases[] = {
      {"Width", "512", "512", FeatureTypeEnum::Integer},
      {"Height", "0x100", "256", FeatureTypeEnum::Integer},
      {"ExposureTimeAbs", "2500.0", "2500", FeatureTypeEnum::Float},
      {"AcquisitionMode", "MultiFrame", "MultiFrame", FeatureTypeEnum::Enum},
      {"TestBoolean", "TRUE", "true", FeatureTypeEnum::Boolean},
      {"TestBoolean", "False", "false", FeatureTypeEnum::Boolean},
      {"DeviceUserID", "cam A", "cam A", FeatureTypeEnum::String},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.feature + std::string(" <- ") + c.text);
    auto node = features_->Get(c.feature);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetType(), c.type);
    node->FromString(c.text);
    EXPECT_EQ(node->ToString(), c.expected);
  }
  features_->GetEnum("AcquisitionMode")->SetValue(std::string("Continuous"));
}

TEST_F(DeviceCameraTest, FromStringRefusesTextThatIsNotAValueOfTheNode) {
  const std::pair<const char*, const char*> refused[] = {
      {"Width", "12abc"},
      {"Width", ""},
      {"ExposureTimeAbs", "fast"},
      {"TestBoolean", "yes"},
      {"AcquisitionMode", "Sometimes"},
  };
  for (const auto& [feature, text] : refused) {
    SCOPED_TRACE(std::string(feature) + " <- " + text);
    auto node = features_->Get(feature);
    ASSERT_NE(node, nullptr);
    const std::string before = node->ToString();
    Thrown([&, text = text] { node->FromString(text); });
    EXPECT_EQ(node->ToString(), before);
  }
}

TEST_F(DeviceCameraTest, ReadOnlyFeatureIsRefusedAsNotWritable) {
  for (const char* name : {"DeviceVendorName", "PayloadSize", "FileOperationStatus"}) {
    SCOPED_TRACE(name);
    auto node = features_->Get(name);
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(node->IsReadable());
    EXPECT_FALSE(node->IsWritable());
    const ExceptionSdkAdaptor e = Thrown([&] { node->FromString("1"); });
    EXPECT_EQ(e.GetDescription(), "Node is not writable");
  }
}

TEST_F(DeviceCameraTest, NodeMapListsFeaturesInDocumentOrderWithTheirCategory) {
  std::vector<std::string> names;
  for (unsigned int i = 0; i < features_->GetCount(); ++i) {
    names.push_back(features_->Get(i)->GetName());
  }
  const auto position = [&](const std::string& name) { return std::find(names.begin(), names.end(), name); };
  ASSERT_NE(position("DeviceVendorName"), names.end());
  ASSERT_NE(position("FileSelector"), names.end());
  EXPECT_LT(position("DeviceVendorName"), position("Width"));
  EXPECT_LT(position("Width"), position("FileSelector"));
  EXPECT_EQ(position("Firmware"), names.end()) << "enumeration entries are not nodes of the map";
  EXPECT_EQ(features_->Get("Width")->GetCategory(), "ImageFormatControl");
}

TEST_F(DeviceCameraTest, CommandIsNotDoneWhileTheCameraWorksAndDoneAfter) {
  features_->GetEnum("FirmwareUpdateMode")->SetValue(std::string("On"));
  auto install = features_->GetCommand("FirmwareUpdateExecute");
  ASSERT_NE(install, nullptr);
  EXPECT_EQ(install->ToString(), "FirmwareUpdateExecute");
  EXPECT_TRUE(install->IsDone());
  install->Execute();
  EXPECT_FALSE(install->IsDone());
  EXPECT_TRUE(WaitUntilDone(*install));
  features_->GetEnum("FirmwareUpdateMode")->SetValue(std::string("Off"));
}

TEST_F(DeviceCameraTest, UploadedFileArrivesIntactAndFileStatusIsTheCamerasOwn) {
  std::unique_ptr<GenFile> file = device_.GetGenFile();
  EXPECT_TRUE(file->IsSupported());
  EXPECT_TRUE(file->IsWritable("Firmware"));
  EXPECT_FALSE(file->IsWritable("ReadOnlyFile"));
  EXPECT_FALSE(file->IsWritable("NoSuchFile"));
  EXPECT_TRUE(file->IsReadable("ReadOnlyFile"));
  EXPECT_EQ(file->GetFiles(), (std::vector<std::string>{"Firmware", "ReadOnlyFile", "FailingFile"}));

  // Sizes that fill the transfer buffer exactly and ones that leave a short last block.
  for (const size_t size : {size_t{1} << 20, size_t{1}, size_t{4097}, size_t{10001}, size_t{0}}) {
    SCOPED_TRACE(size);
    std::vector<uint8_t> image = Pattern(size + 7);
    image.erase(image.begin(), image.begin() + 7);
    file->Open("Firmware", GenOpenMode::Write);
    EXPECT_EQ(file->GetStatus(), "Success");
    EXPECT_EQ(file->Wrire(image.data(), static_cast<int64_t>(image.size())), static_cast<int64_t>(image.size()));
    EXPECT_EQ(file->GetStatus(), "Success");
    if (size > 0) {
      EXPECT_FLOAT_EQ(file->GetProgress(), 1.0f);
    }
    file->Close();
    EXPECT_EQ(file->GetStatus(), "Success");
    char expected[96];
    std::snprintf(expected, sizeof(expected), "file Firmware closed size=%zu crc32=%08x", image.size(), Crc32(image));
    EXPECT_TRUE(camera_->WaitForOutput(0, expected, std::chrono::seconds(2))) << camera_->Output(0);
  }
}

TEST_F(DeviceCameraTest, LinkParametersAreKeptAndTheHeartbeatIsExtended) {
  auto link = device_.GetCommunicationParameters();
  auto answer = link->GetInteger("AnswerTimeout");
  ASSERT_NE(answer, nullptr);
  answer->SetValue(2000);
  EXPECT_EQ(answer->GetValue(), 2000);
  EXPECT_THROW(answer->SetValue(-1), ExceptionSdkAdaptor);

  quarx::test::LogCapture log;
  device_.ExtendHeartbeatTimeout();
  EXPECT_EQ(answer->GetValue(), 30000);
  EXPECT_EQ(link->GetInteger("HeartbeatInterval")->GetValue(), 60000);
  EXPECT_NE(log.Text().find("<ExtendHeartbeatTimeout> Change the AnswerTimeout(30000)"), std::string::npos);
  EXPECT_NE(log.Text().find("<ExtendHeartbeatTimeout> Change the HeartbeatInterval(60000)"), std::string::npos);
}

TEST_F(DeviceCameraTest, StreamChannelsBeyondTheCamerasCountAreRefused) {
  device_.NegotiatePacketSize(0);
  EXPECT_THROW(device_.NegotiatePacketSize(1), ExceptionSdkAdaptor);

  device_.SetStreamDestination("127.0.0.1", 50000, 0);
  const std::vector<uint8_t> destination = device_.ReadMemory(0x0D18, 4);
  EXPECT_EQ(destination, (std::vector<uint8_t>{127, 0, 0, 1}));
  EXPECT_THROW(device_.SetStreamDestination("127.0.0.1", 50000, 1), ExceptionSdkAdaptor);
  EXPECT_TRUE(device_.ReadMemory(0, 0).empty());
}

TEST(DeviceCameraConnect, AccessTypesSetTheCamerasControlPrivilegeAndAnUnknownOneWarnsAndTakesControl) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatorLauncher camera({Camera("127.0.0.3")});
  constexpr int64_t kControlChannelPrivilege = 0x0A00;
  const std::pair<AccessTypeEnum, uint8_t> cases[] = {{AccessTypeEnum::Control, 2},
                                                      {AccessTypeEnum::Exclusive, 1},
                                                      {AccessTypeEnum::ReadOnly, 0},
                                                      {static_cast<AccessTypeEnum>(7), 2}};
  for (const auto& [access, privilege] : cases) {
    SCOPED_TRACE(static_cast<int>(access));
    DeviceGEV device;
    quarx::test::LogCapture log;
    device.Connect("127.0.0.3", access);
    EXPECT_TRUE(device.IsConnected());
    EXPECT_EQ(device.ReadMemory(kControlChannelPrivilege, 4), (std::vector<uint8_t>{0, 0, 0, privilege}));
    EXPECT_GT(device.GetParameters()->GetInteger("Width")->GetValue(), 0);
    EXPECT_EQ(log.Text().find("[warning] <Connect> Invalid access_type(7) using Control") != std::string::npos,
              static_cast<int>(access) == 7);
    device.DisConnect();
  }
}

TEST(DeviceCameraConnect, ConnectingWhereNoCameraAnswersFails) {
  REQUIRE_CAMERA_NAMESPACE();
  DeviceGEV device;
  EXPECT_THROW(device.Connect("127.0.0.9", AccessTypeEnum::Control), ExceptionSdkAdaptor);
  EXPECT_FALSE(device.IsConnected());
}

TEST(DeviceCameraConnect, CreateAndConnectMakesAGigEVisionDeviceForAnAddress) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatorLauncher camera({Camera("127.0.0.3")});
  std::unique_ptr<Device> device = Device::CreateAndConnect("127.0.0.3");
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->GetType(), DeviceInterfaceTypeEnum::GEV);
  EXPECT_TRUE(device->IsConnected());
  device->DisConnect();
}

TEST(DeviceCameraFailures, InjectedFileFailuresShowInTheCamerasStatus) {
  REQUIRE_CAMERA_NAMESPACE();
  struct Case {
    const char* name;
    bool EmulatedCameraSpec::*knob;
    const char* afterOpen;
    int64_t written;
    const char* afterWrite;
    const char* afterClose;
  };
  const Case cases[] = {
      {"open", &EmulatedCameraSpec::failOpen, "Failure", -1, nullptr, "Failure"},
      {"write", &EmulatedCameraSpec::failWrite, "Success", 0, "Failure", "Success"},
      {"close", &EmulatedCameraSpec::failClose, "Success", 4096, "Success", "Failure"},
  };
  const std::vector<uint8_t> data = Pattern(4096);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedCameraSpec spec = Camera("127.0.0.4");
    spec.*c.knob = true;
    EmulatorLauncher camera({spec});
    DeviceGEV device;
    device.Connect("127.0.0.4", AccessTypeEnum::Control);
    std::unique_ptr<GenFile> file = device.GetGenFile();
    EXPECT_TRUE(file->IsWritable("Firmware"));
    file->Open("Firmware", GenOpenMode::Write);
    EXPECT_EQ(file->GetStatus(), c.afterOpen);
    if (c.written < 0) {
      // A file the camera did not open takes no bytes at all.
      EXPECT_EQ(Thrown([&] { file->Wrire(data.data(), static_cast<int64_t>(data.size())); }).GetDescription(),
                "The file is not open");
    } else {
      EXPECT_EQ(file->Wrire(data.data(), static_cast<int64_t>(data.size())), c.written);
      EXPECT_EQ(file->GetStatus(), c.afterWrite);
    }
    file->Close();
    EXPECT_EQ(file->GetStatus(), c.afterClose);
    device.DisConnect();
  }
}

TEST(DeviceCameraFailures, ACameraThatLeavesTheNetworkEndsTheConnectionAndItsFeaturesFail) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatedCameraSpec spec = Camera("127.0.0.6");
  spec.neverBack = true;
  EmulatorLauncher camera({spec});
  DeviceGEV device;
  device.Connect("127.0.0.6", AccessTypeEnum::Control);
  auto features = device.GetParameters();
  auto width = features->GetInteger("Width");
  features->GetCommand("DeviceReset")->Execute();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (device.IsConnected() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_FALSE(device.IsConnected());
  EXPECT_THROW(width->GetValue(), ExceptionSdkAdaptor);
  device.DisConnect();
}

TEST(DeviceCameraConnect, ControlOfACameraHeldByAnotherConnectionIsRefused) {
  REQUIRE_CAMERA_NAMESPACE();
  EmulatorLauncher camera({Camera("127.0.0.7")});
  DeviceGEV first;
  first.Connect("127.0.0.7", AccessTypeEnum::Control);
  DeviceGEV second;
  const ExceptionSdkAdaptor e = Thrown([&] { second.Connect("127.0.0.7", AccessTypeEnum::Control); });
  EXPECT_EQ(e.GetDescription(), "The device at 127.0.0.7 is controlled by another host");
  EXPECT_FALSE(second.IsConnected());
  EXPECT_TRUE(first.IsConnected());
  first.GetParameters()->GetInteger("Width")->SetValue(320);
  first.DisConnect();
}

}  // namespace
}  // namespace quarx::sdkadaptor
