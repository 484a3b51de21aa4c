// Writing a file into a camera: open, one write of the whole image, close, with the
// camera's status checked after each of the first two.
#include "core/genicam_file.h"

#include <fmt/format.h>

#include "core/exception_core_impl.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "util/quarxlog.h"

namespace quarx::core {

namespace {

// The only status text a camera gives for a file operation that went well.
const char* const kStatusSuccess = "Success";

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
  try {
    file_->Open(deviceFileName, sdkadaptor::GenOpenMode::Write);
    CheckStatus("open", deviceFileName);

    stage = "write";
    const auto expected = static_cast<int64_t>(size);
    const int64_t written = file_->Wrire(static_cast<const uint8_t*>(data), expected);
    log.debug("<{}> written_size({})", "Write", written);
    CheckStatus("write", deviceFileName);
    // A camera may report success for a write it cut short; an image that did not arrive
    // whole must not pass as uploaded.
    if (written < expected) {
      log.error("<{}> Only {} of {} bytes were written to file({}).", "Write", written, expected, deviceFileName);
      throw CoreExceptionImpl("Write", RESULT_FILE_TRANSFER, ERR_FILE_WRITE,
                              fmt::format("<{}> Failed to write file({}) mode({})", "Write", deviceFileName, stage));
    }

    stage = "close";
    file_->Close();
  } catch (const sdkadaptor::ExceptionSdkAdaptor&) {
    throw CoreExceptionImpl("Write", RESULT_FILE_TRANSFER, ERR_FILE_WRITE,
                            fmt::format("<{}> Failed to write file({}) mode({})", "Write", deviceFileName, stage));
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
