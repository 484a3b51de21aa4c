// GenICam file access over the File* features. Every feature access is one round trip to the
// camera, so unchanged values are not written again and completion is checked at once after
// executing, backing off only while the camera is still busy.
#include "camerasdk/PvGenFile.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "camerasdk/PvGenCommand.h"
#include "camerasdk/PvGenEnum.h"
#include "camerasdk/PvGenInteger.h"
#include "camerasdk/PvGenRegister.h"
#include "camerasdk/arv_support.h"
#include "util/stop_request.h"

using camerasdk_detail::Failure;

namespace {

constexpr std::chrono::microseconds kCheckWithoutSleeping{200};
constexpr std::chrono::microseconds kFirstBackOff{50};
// A flash erase on opening may take seconds; nothing takes this long. An operation under way is
// waited for up to this long also once a stop is requested: the camera is carrying it out, and
// the close after a stopped upload must come after it. A camera that stopped answering does not
// hold the stop up: the tool's watcher ends the tool when the camera has been silent too long.
constexpr std::chrono::seconds kOperationTimeout{30};
constexpr const char* kSuccess = "Success";

template <typename Node>
Node* Find(PvGenParameterArray* parameters, const char* name) {
  return dynamic_cast<Node*>(parameters->Get(PvString(name)));
}

}  // namespace

PvGenFile::PvGenFile() = default;

PvGenFile::~PvGenFile() = default;

PvResult PvGenFile::FindNodes(PvGenParameterArray* parameters, Nodes& nodes) {
  if (parameters == nullptr) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "No node map given for file access");
  }
  nodes.selector = Find<PvGenEnum>(parameters, "FileSelector");
  nodes.operation = Find<PvGenEnum>(parameters, "FileOperationSelector");
  nodes.openMode = Find<PvGenEnum>(parameters, "FileOpenMode");
  nodes.execute = Find<PvGenCommand>(parameters, "FileOperationExecute");
  nodes.status = Find<PvGenEnum>(parameters, "FileOperationStatus");
  nodes.result = Find<PvGenInteger>(parameters, "FileOperationResult");
  nodes.offset = Find<PvGenInteger>(parameters, "FileAccessOffset");
  nodes.length = Find<PvGenInteger>(parameters, "FileAccessLength");
  nodes.buffer = Find<PvGenRegister>(parameters, "FileAccessBuffer");
  if (nodes.selector == nullptr || nodes.operation == nullptr || nodes.openMode == nullptr ||
      nodes.execute == nullptr || nodes.status == nullptr || nodes.result == nullptr || nodes.offset == nullptr ||
      nodes.length == nullptr || nodes.buffer == nullptr) {
    return Failure(PvResult::Code::NOT_SUPPORTED, "The device offers no GenICam file access");
  }
  return PvResult();
}

PvResult PvGenFile::SelectOperation(const char* operation) {
  if (operation_ == operation) {
    return PvResult();
  }
  PvResult result = nodes_.operation->SetValue(PvString(operation));
  operation_ = result.IsOK() ? operation : "";
  return result;
}

PvResult PvGenFile::ExecuteAndWait() {
  PvResult result = nodes_.execute->Execute();
  if (result.IsFailure()) {
    return result;
  }
  const auto start = std::chrono::steady_clock::now();
  const auto deadline = start + kOperationTimeout;
  auto backOff = kFirstBackOff;
  for (;;) {
    bool done = false;
    result = nodes_.execute->IsDone(done);
    if (result.IsFailure() || done) {
      return result;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) {
      return Failure(PvResult::Code::TIMEOUT, "File operation " + operation_ + " did not complete within " +
                                                  std::to_string(kOperationTimeout.count()) + " s");
    }
    // A camera usually finishes within a few round trips, and a short sleep costs far more than
    // asked for (timer slack), so the first checks follow each other directly.
    if (now - start >= kCheckWithoutSleeping) {
      std::this_thread::sleep_for(backOff);
      backOff = std::min<std::chrono::microseconds>(backOff * 2, quarx::util::kStopCheckInterval);
    }
  }
}

PvResult PvGenFile::Open(PvGenParameterArray* parameters, const PvString& fileName, PvGenOpenMode mode) {
  open_ = false;
  operation_.clear();
  written_offset_ = -1;
  written_length_ = -1;
  file_offset_ = 0;
  completed_ = 0;
  total_ = 0;
  PvResult result = FindNodes(parameters, nodes_);
  if (result.IsFailure()) {
    return result;
  }
  const PvGenEnumEntry* success = nullptr;
  result = nodes_.status->GetEntryByName(PvString(kSuccess), success);
  if (result.IsOK()) {
    result = success->GetValue(success_value_);
  }
  if (result.IsOK()) {
    result = nodes_.buffer->GetLength(buffer_length_);
  }
  if (result.IsOK() && buffer_length_ <= 0) {
    result = Failure(PvResult::Code::NOT_SUPPORTED, "FileAccessBuffer has no room");
  }
  if (result.IsOK()) {
    result = nodes_.selector->SetValue(fileName);
  }
  if (result.IsOK()) {
    result = nodes_.openMode->SetValue(PvString(mode == PvGenOpenModeWrite ? "Write" : "Read"));
  }
  if (result.IsOK()) {
    result = SelectOperation("Open");
  }
  if (result.IsOK()) {
    result = ExecuteAndWait();
  }
  if (result.IsFailure()) {
    return result;
  }
  int64_t status = 0;
  result = nodes_.status->GetValue(status);
  open_ = result.IsOK() && status == success_value_;
  return result;
}

PvResult PvGenFile::Write(const uint8_t* buffer, int64_t length, int64_t& written) {
  written = 0;
  completed_ = 0;
  total_ = length;
  if (!open_) {
    return Failure(PvResult::Code::GENERIC_ERROR, "The file is not open");
  }
  if (length < 0 || (length > 0 && buffer == nullptr)) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "Invalid buffer to write");
  }
  PvResult result;
  while (written < length) {
    // A transfer can take long on a camera that writes to flash as it goes: a stop is heard
    // between two of them, not only between the caller's pieces, so that the file is closed
    // while the camera still answers.
    if (quarx::util::StopRequested()) {
      result = Failure(PvResult::Code::ABORTED, "File operation Write stopped on request after " +
                                                    std::to_string(written) + " of " + std::to_string(length) +
                                                    " bytes");
      break;
    }
    const int64_t chunk = std::min(length - written, buffer_length_);
    result = nodes_.buffer->Set(buffer + written, chunk);
    if (result.IsOK() && file_offset_ != written_offset_) {
      result = nodes_.offset->SetValue(file_offset_);
      written_offset_ = result.IsOK() ? file_offset_ : -1;
    }
    if (result.IsOK() && chunk != written_length_) {
      result = nodes_.length->SetValue(chunk);
      written_length_ = result.IsOK() ? chunk : -1;
    }
    if (result.IsOK()) {
      result = SelectOperation("Write");
    }
    if (result.IsOK()) {
      result = ExecuteAndWait();
    }
    int64_t status = 0;
    if (result.IsOK()) {
      result = nodes_.status->GetValue(status);
    }
    int64_t taken = 0;
    if (result.IsOK()) {
      result = nodes_.result->GetValue(taken);
    }
    if (result.IsFailure() || status != success_value_ || taken == 0) {
      break;
    }
    if (taken < 0 || taken > chunk) {
      result = Failure(PvResult::Code::GENERIC_ERROR, "The camera reported " + std::to_string(taken) +
                                                          " bytes written of " + std::to_string(chunk) + " sent");
      break;
    }
    written += taken;
    file_offset_ += taken;
    completed_ = written;
  }
  return result;
}

PvResult PvGenFile::Close() {
  if (nodes_.execute == nullptr) {
    return Failure(PvResult::Code::GENERIC_ERROR, "The file was never opened");
  }
  PvResult result = SelectOperation("Close");
  if (result.IsOK()) {
    result = ExecuteAndWait();
  }
  open_ = false;
  return result;
}

PvResult PvGenFile::GetStatus(PvString& status) const {
  if (nodes_.status == nullptr) {
    return Failure(PvResult::Code::GENERIC_ERROR, "The file was never opened");
  }
  return nodes_.status->GetValue(status);
}

PvResult PvGenFile::GetProgress(int64_t& completed, int64_t& total) const {
  completed = completed_;
  total = total_;
  return PvResult();
}

bool PvGenFile::Offers(PvGenParameterArray* parameters, const PvString& fileName, const char* access) {
  Nodes nodes;
  const PvGenEnumEntry* file = nullptr;
  const PvGenEnumEntry* mode = nullptr;
  const PvGenEnumEntry* operation = nullptr;
  // What the camera allows may depend on the selected file, so it is selected first.
  return FindNodes(parameters, nodes).IsOK() && nodes.selector->GetEntryByName(fileName, file).IsOK() &&
         file->IsAvailable() && nodes.selector->SetValue(fileName).IsOK() &&
         nodes.openMode->GetEntryByName(PvString(access), mode).IsOK() && mode->IsAvailable() &&
         nodes.operation->GetEntryByName(PvString(access), operation).IsOK() && operation->IsAvailable();
}

bool PvGenFile::IsWritable(PvGenParameterArray* parameters, const PvString& fileName) {
  return Offers(parameters, fileName, "Write");
}

bool PvGenFile::IsReadable(PvGenParameterArray* parameters, const PvString& fileName) {
  return Offers(parameters, fileName, "Read");
}

bool PvGenFile::IsSupported(PvGenParameterArray* parameters) {
  Nodes nodes;
  return FindNodes(parameters, nodes).IsOK();
}

PvResult PvGenFile::GetFiles(PvGenParameterArray* parameters, PvStringList& files) {
  files.Clear();
  Nodes nodes;
  PvResult result = FindNodes(parameters, nodes);
  int64_t count = 0;
  if (result.IsOK()) {
    result = nodes.selector->GetEntriesCount(count);
  }
  for (int64_t index = 0; result.IsOK() && index < count; ++index) {
    const PvGenEnumEntry* entry = nullptr;
    PvString name;
    result = nodes.selector->GetEntryByIndex(index, entry);
    if (result.IsOK() && entry->IsAvailable()) {
      result = entry->GetName(name);
      if (result.IsOK()) {
        files.Add(name);
      }
    }
  }
  return result;
}
