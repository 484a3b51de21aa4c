// The camera file writer over mocked file access: each failing stage with its text and the
// close it still owes the camera, and a stop request between two pieces.
#include "core/genicam_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/exception_core.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/adaptor_mocks.h"
#include "tests/support/thrown_adaptor_exception.h"
#include "util/stop_request.h"

namespace {

using quarx::CoreException;
using quarx::sdkadaptor::GenOpenMode;
using quarx::test::Failure;
using quarx::test::MockFileAccess;
using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::Throw;

const std::string kFile = "Firmware";
const std::vector<uint8_t> kImage(4096, 0xA5);
const quarx::sdkadaptor::ExceptionSdkAdaptor kSdkFailure(0x4000, "GenericError", "file access failed");

// One failure of the upload, the text the writer must give, and how many closes it tries: once
// when the camera may hold the file open, never when it cannot.
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
  ON_CALL(*file, Close()).WillByDefault(Throw(kSdkFailure));
  EXPECT_CALL(*file, Close()).Times(GetParam().closes);
  GetParam().camera(*file);
  quarx::core::GenicamFile writer(std::move(file));
  EXPECT_EQ(Failure<CoreException>([&] { writer.Write(kFile, kImage.data(), kImage.size()); }),
            "4/7 " + GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    EachStage, GenicamFileFault,
    ::testing::Values(
        UploadFault{"NotWritable", [](MockFileAccess& f) { EXPECT_CALL(f, IsWritable(kFile)).WillOnce(Return(false)); },
                    "Not support write file", 0},
        UploadFault{"OpenRefused", [](MockFileAccess& f) { EXPECT_CALL(f, Open(_, _)).WillOnce(Throw(kSdkFailure)); },
                    "<Write> Failed to write file(Firmware) mode(open)", 0},
        UploadFault{"StatusAfterOpenUnreadable",
                    [](MockFileAccess& f) { EXPECT_CALL(f, GetStatus()).WillOnce(Throw(kSdkFailure)); },
                    "<Write> Failed to write file(Firmware) mode(open)", 1},
        UploadFault{"StatusAfterOpenNotSuccess",
                    [](MockFileAccess& f) {
                      EXPECT_CALL(f, GetStatus()).WillOnce(Return("Failure"));
                      EXPECT_CALL(f, Wrire(_, _)).Times(0);
                    },
                    "<CheckStatus> Failed to open file(Firmware) status(Failure)", 0},
        UploadFault{"WriteRefused", [](MockFileAccess& f) { EXPECT_CALL(f, Wrire(_, _)).WillOnce(Throw(kSdkFailure)); },
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
        UploadFault{"CloseRefused", [](MockFileAccess&) {}, "<Write> Failed to write file(Firmware) mode(close)", 1}),
    [](const ::testing::TestParamInfo<UploadFault>& info) { return info.param.name; });

// Forgets the stop request however the test ends.
struct StopRequestCleared {
  ~StopRequestCleared() { quarx::util::ClearStopRequest(); }
};

TEST(GenicamFile, WritesInPiecesAndAStopBetweenTwoClosesTheFileAndFails) {
  constexpr int64_t kPiece = 64 * 1024;
  const std::vector<uint8_t> image(2 * kPiece + 100, 0x5A);
  const StopRequestCleared cleared;
  auto file = std::make_unique<::testing::StrictMock<MockFileAccess>>();
  {
    InSequence order;
    EXPECT_CALL(*file, IsWritable(kFile)).WillOnce(Return(true));
    EXPECT_CALL(*file, Open(kFile, GenOpenMode::Write));
    EXPECT_CALL(*file, GetStatus()).WillOnce(Return("Success"));
    EXPECT_CALL(*file, Wrire(image.data(), kPiece)).WillOnce(Return(kPiece));
    EXPECT_CALL(*file, Wrire(image.data() + kPiece, kPiece)).WillOnce([&](const uint8_t*, int64_t) {
      quarx::util::RequestStop(SIGINT);
      return kPiece;
    });
    EXPECT_CALL(*file, Close());
  }
  quarx::core::GenicamFile writer(std::move(file));
  EXPECT_THAT(Failure<CoreException>([&] { writer.Write(kFile, image.data(), image.size()); }),
              ::testing::EndsWith(" <Write> Stopped writing file(Firmware) on request after 131072 of 131172 bytes"));
}

TEST(GenicamFile, WithoutFileAccessFailsAsNotWritable) {
  std::unique_ptr<quarx::sdkadaptor::GenFile> none;
  EXPECT_EQ(Failure<CoreException>([&] { quarx::core::GenicamFile(none).Write(kFile, kImage.data(), kImage.size()); }),
            "4/7 Not support write file");
}

}  // namespace
