// Writing a file into a camera: open, the image in pieces, close, with the camera's status
// checked after opening and after writing. A camera must not be left holding the file open
// after a failure: some refuse to open it again until they are power-cycled.
#include "core/genicam_file.h"

#include <algorithm>

#include <fmt/format.h>

#include "core/exception_core_impl.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "util/quarxlog.h"
#include "util/stop_request.h"

namespace quarx::core {

namespace {

// The only status text a camera gives for a file operation that went well.
const char* const kStatusSuccess = "Success";
// The image goes to the file access in pieces of this size, so that a stop request is seen
// between two of them whatever the file access does within a piece (ours looks at it between
// its transfers as well: a camera that writes to flash as it goes takes a second or more per
// piece). A multiple of the usual transfer-buffer sizes, so that no piece ends in a short
// transfer.
constexpr int64_t kPieceSize = 64 * 1024;

// The adaptor's file access as the writer uses it.
class AdaptorFileAccess : public GenicamFile::FileAccess {
 public:
  explicit AdaptorFileAccess(std::unique_ptr<sdkadaptor::GenFile> file) : file_(std::move(file)) {}

  bool IsWritable(const std::string& name) override { return file_->IsWritable(name); }
  void Open(const std::string& name, sdkadaptor::GenOpenMode mode) override { file_->Open(name, mode); }
  int64_t Wrire(const uint8_t* data, int64_t length) override { return file_->Wrire(data, length); }
  void Close() override { file_->Close(); }
  std::string GetStatus() override { return file_->GetStatus(); }

 private:
  std::unique_ptr<sdkadaptor::GenFile> file_;
};

std::unique_ptr<GenicamFile::FileAccess> Wrap(std::unique_ptr<sdkadaptor::GenFile>& file) {
  if (!file) {
    return nullptr;
  }
  return std::make_unique<AdaptorFileAccess>(std::move(file));
}

}  // namespace

GenicamFile::GenicamFile(std::unique_ptr<sdkadaptor::GenFile>& file) : file_(Wrap(file)) {}

GenicamFile::GenicamFile(std::unique_ptr<FileAccess> file) : file_(std::move(file)) {}

GenicamFile::~GenicamFile() = default;

void GenicamFile::Write(const std::string& deviceFileName, const void* data, size_t size) {
  auto& log = *util::Log::GetInstance("").logger_;
  log.debug("<{}> Write file to camera. DeviceFileName({}) size({})", "Write", deviceFileName, size);
  if (!file_ || !file_->IsWritable(deviceFileName)) {
    throw CoreExceptionImpl("Write", RESULT_FILE_TRANSFER, ERR_FILE_WRITE, "Not support write file");
  }

  const char* stage = "open";
  // From a returned Open until the camera denies it or the close is under way. A status that
  // cannot be read after opening leaves it in doubt, and a close in doubt does no harm.
  bool mayBeOpen = false;
  try {
    file_->Open(deviceFileName, sdkadaptor::GenOpenMode::Write);
    mayBeOpen = true;
    try {
      CheckStatus("open", deviceFileName);
    } catch (const CoreException&) {
      mayBeOpen = false;
      throw;
    }

    stage = "write";
    const auto expected = static_cast<int64_t>(size);
    const int64_t written = WritePieces(deviceFileName, static_cast<const uint8_t*>(data), expected);
    log.debug("<{}> written_size({})", "Write", written);
    CheckStatus("write", deviceFileName);
    // A camera may report success for a write it cut short; an image that did not arrive
    // whole must not pass as uploaded.
    if (written != expected) {
      log.error("<{}> Only {} of {} bytes were written to file({}).", "Write", written, expected, deviceFileName);
      throw CoreExceptionImpl("Write", RESULT_FILE_TRANSFER, ERR_FILE_WRITE,
                              fmt::format("<{}> Failed to write file({}) mode({})", "Write", deviceFileName, stage));
    }

    stage = "close";
    mayBeOpen = false;  // one close only, whatever comes of it
    file_->Close();
  } catch (const sdkadaptor::ExceptionSdkAdaptor&) {
    if (mayBeOpen) {
      CloseAfterFailure(deviceFileName);
    }
    throw CoreExceptionImpl("Write", RESULT_FILE_TRANSFER, ERR_FILE_WRITE,
                            fmt::format("<{}> Failed to write file({}) mode({})", "Write", deviceFileName, stage));
  } catch (...) {
    if (mayBeOpen) {
      CloseAfterFailure(deviceFileName);
    }
    throw;
  }
}

int64_t GenicamFile::WritePieces(const std::string& deviceFileName, const uint8_t* data, int64_t size) {
  int64_t written = 0;
  // At least one call, so that an empty image is written (with length 0) like any other.
  do {
    if (util::StopRequested()) {
      throw CoreExceptionImpl("Write", RESULT_FILE_TRANSFER, ERR_FILE_WRITE,
                              fmt::format("<{}> Stopped writing file({}) on request after {} of {} bytes", "Write",
                                          deviceFileName, written, size));
    }
    const int64_t piece = std::min(size - written, kPieceSize);
    const int64_t taken = file_->Wrire(data + written, piece);
    written += taken;
    if (taken != piece) {
      break;
    }
  } while (written < size);
  return written;
}

void GenicamFile::CloseAfterFailure(const std::string& deviceFileName) noexcept {
  bool closed = false;
  std::string failure;
  try {
    file_->Close();
    closed = true;
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = "unknown exception";
  }
  try {
    auto& log = *util::Log::GetInstance("").logger_;
    if (closed) {
      log.info("<{}> Closed file({}) after the failed upload.", "Write", deviceFileName);
    } else {
      log.error("<{}> Failed to close file({}) after the failed upload: {}", "Write", deviceFileName, failure);
    }
  } catch (...) {
    // The upload's own failure is on its way to the caller; nothing here may replace it.
  }
}

void GenicamFile::CheckStatus(const std::string& operation, const std::string& deviceFileName) {
  if (!file_) {
    throw CoreExceptionImpl("CheckStatus", RESULT_FILE_TRANSFER, ERR_FILE_WRITE, "Not support write file");
  }
  auto& log = *util::Log::GetInstance("").logger_;
  const std::string status = file_->GetStatus();
  log.debug("<{}> status({})", "CheckStatus", status);
  if (status == kStatusSuccess) {
    return;
  }
  log.error("Failed to {} file({}).", operation, deviceFileName);
  throw CoreExceptionImpl(
      "CheckStatus", RESULT_FILE_TRANSFER, ERR_FILE_WRITE,
      fmt::format("<{}> Failed to {} file({}) status({})", "CheckStatus", operation, deviceFileName, status));
}

}  // namespace quarx::core
