// GenICam file access over the SDK's file object on one device's node map.
#include "sdkadaptor/src/gen_file.h"

#include "camerasdk/PvGenFile.h"
#include "camerasdk/PvGenParameterArray.h"
#include "camerasdk/PvStringList.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kGenericError = 0x4000;

}  // namespace

GenFile::GenFile(PvGenParameterArray* parameters) : parameters_(parameters), file_(std::make_unique<PvGenFile>()) {}

GenFile::~GenFile() = default;

void GenFile::Open(const std::string& name, GenOpenMode mode) {
  const PvGenOpenMode sdkMode = mode == GenOpenMode::Write ? PvGenOpenModeWrite : PvGenOpenModeRead;
  const PvResult result = file_->Open(parameters_, PvString(name), sdkMode);
  ApplyResultRule(result, "Open", __FILE__, __LINE__);
}

int64_t GenFile::Wrire(const uint8_t* data, int64_t length) {
  int64_t written = 0;
  const PvResult result = file_->Write(data, length, written);
  ApplyResultRule(result, "Wrire", __FILE__, __LINE__);
  return written;
}

void GenFile::Close() {
  const PvResult result = file_->Close();
  ApplyResultRule(result, "Close", __FILE__, __LINE__);
}

std::string GenFile::GetStatus() const {
  PvString status;
  const PvResult result = file_->GetStatus(status);
  ApplyResultRule(result, "GetStatus", __FILE__, __LINE__);
  return status.GetAscii();
}

float GenFile::GetProgress() const {
  int64_t completed = 0;
  int64_t total = 0;
  const PvResult result = file_->GetProgress(completed, total);
  ApplyResultRule(result, "GetProgress", __FILE__, __LINE__);
  if (total == 0) {
    util::Log::GetInstance("").logger_->error("<{}> total size = 0", "GetProgress");
    throw ExceptionSdkAdaptor(kGenericError, "Return value of GetProgress() is invalid.");
  }
  return static_cast<float>(completed) / static_cast<float>(total);
}

bool GenFile::IsWritable(const std::string& name) noexcept {
  try {
    return file_->IsWritable(parameters_, PvString(name));
  } catch (const std::exception& e) {
    LogSwallowed("IsWritable", e.what());
  } catch (...) {
    LogSwallowed("IsWritable", "unknown exception");
  }
  return false;
}

bool GenFile::IsReadable(const std::string& name) noexcept {
  try {
    return file_->IsReadable(parameters_, PvString(name));
  } catch (const std::exception& e) {
    LogSwallowed("IsReadable", e.what());
  } catch (...) {
    LogSwallowed("IsReadable", "unknown exception");
  }
  return false;
}

bool GenFile::IsSupported() noexcept {
  try {
    return file_->IsSupported(parameters_);
  } catch (const std::exception& e) {
    LogSwallowed("IsSupported", e.what());
  } catch (...) {
    LogSwallowed("IsSupported", "unknown exception");
  }
  return false;
}

std::vector<std::string> GenFile::GetFiles() noexcept {
  std::vector<std::string> names;
  try {
    PvStringList files;
    file_->GetFiles(parameters_, files);
    for (uint32_t index = 0; index < files.GetSize(); ++index) {
      names.emplace_back(files.GetItem(index)->GetAscii());
    }
  } catch (const std::exception& e) {
    LogSwallowed("GetFiles", e.what());
  } catch (...) {
    LogSwallowed("GetFiles", "unknown exception");
  }
  return names;
}

}  // namespace quarx::sdkadaptor
