// The camera file writer: the order of its file operations, its status checks and the text
// of each failure.
#include "core/genicam_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/log_capture.h"
#include "util/stop_request.h"

namespace {

using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::GenOpenMode;
using quarx::test::MockFileAccess;
using ::testing::_;
using ::testing::Contains;
using ::testing::DoAll;
using ::testing::InSequence;
using ::testing::InvokeWithoutArgs;
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

// One failure of the upload: how the camera behaves, what the writer must say, and how many
// closes it tries: once when the camera may hold the file open, never when it cannot.
struct UploadFault {
  const char* name;
  std::function<void(MockFileAccess&)> camera;
  std::string message;
  int closes;
};

class GenicamFileFault : public ::testing::TestWithParam<UploadFault> {};

TEST_P(GenicamFileFault, FailsWithItsStageTextAndClosesAnOpenFileOnce) {
  auto file = std::make_unique<NiceMock<MockFileAccess>>();
  ON_CALL(*file, IsWritable(_)).WillByDefault(Return(true));
  ON_CALL(*file, GetStatus()).WillByDefault(Return("Success"));
  ON_CALL(*file, Wrire(_, _)).WillByDefault(Return(static_cast<int64_t>(kImage.size())));
  // The close fails too: the first failure must still be the one reported.
  ON_CALL(*file, Close()).WillByDefault(Throw(SdkFailure()));
  EXPECT_CALL(*file, Close()).Times(GetParam().closes);
  GetParam().camera(*file);
  quarx::test::LogCapture log;
  quarx::core::GenicamFile writer(std::move(file));
  try {
    writer.Write(kFile, kImage.data(), kImage.size());
    FAIL() << "the upload was reported as done";
  } catch (const quarx::CoreException& e) {
    EXPECT_EQ(e.GetResultCode(), 4);
    EXPECT_EQ(e.GetErrCodeDetail(), 7);
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
  const bool closedAfterFailure = GetParam().closes == 1 && GetParam().message.find("mode(close)") == std::string::npos;
  const auto lines = log.Lines();
  EXPECT_EQ(closedAfterFailure ? 1 : 0, std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
              return line.rfind("[error] <Write> Failed to close file(Firmware) after the failed upload: ", 0) == 0;
            }));
}

INSTANTIATE_TEST_SUITE_P(
    EachStage, GenicamFileFault,
    ::testing::Values(
        UploadFault{"NotWritable",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, IsWritable(kFile)).WillOnce(Return(false));
                      EXPECT_CALL(f, Open(_, _)).Times(0);
                    },
                    "Not support write file", 0},
        UploadFault{"OpenRefusedBySdk",
                    [](MockFileAccess& f) { EXPECT_CALL(f, Open(_, _)).WillOnce(Throw(SdkFailure())); },
                    "<Write> Failed to write file(Firmware) mode(open)", 0},
        UploadFault{"StatusAfterOpenUnreadable",
                    [](MockFileAccess& f) { EXPECT_CALL(f, GetStatus()).WillOnce(Throw(SdkFailure())); },
                    "<Write> Failed to write file(Firmware) mode(open)", 1},
        UploadFault{"StatusAfterOpenNotSuccess",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, GetStatus()).WillOnce(Return("Failure"));
                      EXPECT_CALL(f, Wrire(_, _)).Times(0);
                    },
                    "<CheckStatus> Failed to open file(Firmware) status(Failure)", 0},
        UploadFault{"WriteRefusedBySdk",
                    [](MockFileAccess& f) { EXPECT_CALL(f, Wrire(_, _)).WillOnce(Throw(SdkFailure())); },
                    "<Write> Failed to write file(Firmware) mode(write)", 1},
        UploadFault{"StatusAfterWriteUnreadable",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, GetStatus()).WillOnce(Return("Success")).WillOnce(Throw(SdkFailure()));
                    },
                    "<Write> Failed to write file(Firmware) mode(write)", 1},
        UploadFault{"StatusAfterWriteInLowerCase",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, GetStatus()).WillOnce(Return("Success")).WillOnce(Return("success"));
                    },
                    "<CheckStatus> Failed to write file(Firmware) status(success)", 1},
        UploadFault{"ShortWriteUnderSuccess",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, Wrire(_, _)).WillOnce(Return(static_cast<int64_t>(kImage.size() - 1)));
                    },
                    "<Write> Failed to write file(Firmware) mode(write)", 1},
        // The close of the upload itself is the one try.
        UploadFault{"CloseRefusedBySdk", [](MockFileAccess&) {},
                    "<Write> Failed to write file(Firmware) mode(close)", 1}),
    [](const ::testing::TestParamInfo<UploadFault>& info) { return info.param.name; });

// Forgets the stop request however the test ends.
struct StopRequestCleared {
  ~StopRequestCleared() { quarx::util::ClearStopRequest(); }
};

TEST(GenicamFile, WritesInPiecesAndAStopBetweenTwoClosesTheFileAndFails) {
  constexpr int64_t kPiece = 64 * 1024;
  const std::vector<uint8_t> image(2 * kPiece + 100, 0x5A);
  const StopRequestCleared cleared;
  auto file = std::make_unique<StrictMock<MockFileAccess>>();
  {
    InSequence order;
    EXPECT_CALL(*file, IsWritable(kFile)).WillOnce(Return(true));
    EXPECT_CALL(*file, Open(kFile, GenOpenMode::Write));
    EXPECT_CALL(*file, GetStatus()).WillOnce(Return("Success"));
    EXPECT_CALL(*file, Wrire(image.data(), kPiece)).WillOnce(Return(kPiece));
    EXPECT_CALL(*file, Wrire(image.data() + kPiece, kPiece))
        .WillOnce(DoAll(InvokeWithoutArgs([] { quarx::util::RequestStop(SIGINT); }), Return(kPiece)));
    EXPECT_CALL(*file, Close());
  }
  quarx::core::GenicamFile writer(std::move(file));
  try {
    writer.Write(kFile, image.data(), image.size());
    FAIL() << "a stopped upload was reported as done";
  } catch (const quarx::CoreException& e) {
    EXPECT_STREQ(e.what(), "<Write> Stopped writing file(Firmware) on request after 131072 of 131172 bytes");
  }
}

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
