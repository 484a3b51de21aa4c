// The camera file writer: the order of its file operations, its status checks and the text
// of each failure.
#include "core/genicam_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"

namespace {

using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::GenOpenMode;
using quarx::test::MockFileAccess;
using ::testing::_;
using ::testing::Contains;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;
using ::testing::Throw;

const std::string kFile = "Firmware";
const std::vector<uint8_t> kImage(4096, 0xA5);

ExceptionSdkAdaptor SdkFailure() { return ExceptionSdkAdaptor(0x4000, "GenericError", "file access failed"); }

TEST(GenicamFile, WritesThroughOpenStatusWriteStatusCloseEvenAnEmptyImage) {
  const std::vector<uint8_t> empty;
  for (const std::vector<uint8_t>* image : {&kImage, &empty}) {
    const auto size = static_cast<int64_t>(image->size());
    SCOPED_TRACE(size);
    auto file = std::make_unique<StrictMock<MockFileAccess>>();
    {
      InSequence order;
      EXPECT_CALL(*file, IsWritable(kFile)).WillOnce(Return(true));
      EXPECT_CALL(*file, Open(kFile, GenOpenMode::Write));
      EXPECT_CALL(*file, GetStatus()).WillOnce(Return("Success"));
      EXPECT_CALL(*file, Wrire(_, size)).WillOnce(Return(size));
      EXPECT_CALL(*file, GetStatus()).WillOnce(Return("Success"));
      EXPECT_CALL(*file, Close());
    }
    quarx::test::LogCapture log;
    quarx::core::GenicamFile writer(std::move(file));
    writer.Write(kFile, image->data(), image->size());
    EXPECT_THAT(log.Lines(), Contains("[debug] <Write> Write file to camera. DeviceFileName(Firmware) size(" +
                                      std::to_string(size) + ")"));
    EXPECT_THAT(log.Lines(), Contains("[debug] <Write> written_size(" + std::to_string(size) + ")"));
  }
}

// One failure of the upload: how the camera behaves, and what the writer must say.
struct UploadFault {
  const char* name;
  std::function<void(MockFileAccess&)> camera;
  std::string message;
};

class GenicamFileFault : public ::testing::TestWithParam<UploadFault> {};

TEST_P(GenicamFileFault, FailsWithItsStageTextAndNeverClosesAfterAFailure) {
  auto file = std::make_unique<NiceMock<MockFileAccess>>();
  ON_CALL(*file, IsWritable(_)).WillByDefault(Return(true));
  ON_CALL(*file, GetStatus()).WillByDefault(Return("Success"));
  ON_CALL(*file, Wrire(_, _)).WillByDefault(Return(static_cast<int64_t>(kImage.size())));
  GetParam().camera(*file);
  const bool closeFails = GetParam().message.find("mode(close)") != std::string::npos;
  if (!closeFails) {
    EXPECT_CALL(*file, Close()).Times(0);
  }
  quarx::core::GenicamFile writer(std::move(file));
  try {
    writer.Write(kFile, kImage.data(), kImage.size());
    FAIL() << "the upload was reported as done";
  } catch (const quarx::CoreException& e) {
    EXPECT_EQ(e.GetResultCode(), 4);
    EXPECT_EQ(e.GetErrCodeDetail(), 7);
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachStage, GenicamFileFault,
    ::testing::Values(
        UploadFault{"NotWritable",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, IsWritable(kFile)).WillOnce(Return(false));
                      EXPECT_CALL(f, Open(_, _)).Times(0);
                    },
                    "Not support write file"},
        UploadFault{"OpenRefusedBySdk",
                    [](MockFileAccess& f) { EXPECT_CALL(f, Open(_, _)).WillOnce(Throw(SdkFailure())); },
                    "<Write> Failed to write file(Firmware) mode(open)"},
        UploadFault{"StatusAfterOpenUnreadable",
                    [](MockFileAccess& f) { EXPECT_CALL(f, GetStatus()).WillOnce(Throw(SdkFailure())); },
                    "<Write> Failed to write file(Firmware) mode(open)"},
        UploadFault{"StatusAfterOpenNotSuccess",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, GetStatus()).WillOnce(Return("Failure"));
                      EXPECT_CALL(f, Wrire(_, _)).Times(0);
                    },
                    "<CheckStatus> Failed to open file(Firmware) status(Failure)"},
        UploadFault{"WriteRefusedBySdk",
                    [](MockFileAccess& f) { EXPECT_CALL(f, Wrire(_, _)).WillOnce(Throw(SdkFailure())); },
                    "<Write> Failed to write file(Firmware) mode(write)"},
        UploadFault{"StatusAfterWriteUnreadable",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, GetStatus()).WillOnce(Return("Success")).WillOnce(Throw(SdkFailure()));
                    },
                    "<Write> Failed to write file(Firmware) mode(write)"},
        UploadFault{"StatusAfterWriteInLowerCase",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, GetStatus()).WillOnce(Return("Success")).WillOnce(Return("success"));
                    },
                    "<CheckStatus> Failed to write file(Firmware) status(success)"},
        UploadFault{"ShortWriteUnderSuccess",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, Wrire(_, _)).WillOnce(Return(static_cast<int64_t>(kImage.size() - 1)));
                    },
                    "<Write> Failed to write file(Firmware) mode(write)"},
        UploadFault{"CloseRefusedBySdk",
                    [](MockFileAccess& f) { EXPECT_CALL(f, Close()).WillOnce(Throw(SdkFailure())); },
                    "<Write> Failed to write file(Firmware) mode(close)"}),
    [](const ::testing::TestParamInfo<UploadFault>& info) { return info.param.name; });

TEST(GenicamFile, LogsTheRefusedStatusAtErrorLevel) {
  auto file = std::make_unique<NiceMock<MockFileAccess>>();
  ON_CALL(*file, IsWritable(_)).WillByDefault(Return(true));
  EXPECT_CALL(*file, GetStatus()).WillOnce(Return("Failure"));
  quarx::test::LogCapture log;
  quarx::core::GenicamFile writer(std::move(file));
  EXPECT_THROW(writer.Write(kFile, kImage.data(), kImage.size()), quarx::CoreException);
  EXPECT_THAT(log.Lines(), Contains("[error] Failed to open file(Firmware)."));
}

TEST(GenicamFile, WithoutFileAccessFailsAsNotWritable) {
  std::unique_ptr<quarx::sdkadaptor::GenFile> none;
  quarx::core::GenicamFile writer(none);
  try {
    writer.Write(kFile, kImage.data(), kImage.size());
    FAIL() << "a write without file access passed";
  } catch (const quarx::CoreException& e) {
    EXPECT_STREQ(e.what(), "Not support write file");
  }
}

}  // namespace
