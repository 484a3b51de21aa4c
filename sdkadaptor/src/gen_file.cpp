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

// For the questions that promise not to throw: what the layers below threw is logged under the
// operation's name, and the answer is then no.
template <class Ask>
bool AnswerOrNo(const char* operation, Ask ask) noexcept {
  try {
    return ask();
  } catch (const std::exception& e) {
    LogSwallowed(operation, e.what());
  } catch (...) {
    LogSwallowed(operation, "unknown exception");
  }
  return false;
}

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
  return AnswerOrNo("IsWritable", [&] { return file_->IsWritable(parameters_, PvString(name)); });
}

bool GenFile::IsReadable(const std::string& name) noexcept {
  return AnswerOrNo("IsReadable", [&] { return file_->IsReadable(parameters_, PvString(name)); });
}

bool GenFile::IsSupported() noexcept {
  return AnswerOrNo("IsSupported", [&] { return file_->IsSupported(parameters_); });
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
