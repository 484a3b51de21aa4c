// The behaviour loop polls instead of hooking into Aravis's GVCP thread, which offers no
// callback: every millisecond when idle and every few tens of microseconds while the camera
// is busy, so that a file upload is paced by the tool and not by the emulator.
#include "emulator/camera_behaviour.h"

#include <signal.h>
#include <sys/prctl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "emulator/announce.h"
#include "emulator/crc32.h"
#include "emulator/discovery_probe.h"

namespace quarx::emulator {
namespace {

constexpr std::chrono::microseconds kIdlePoll{1000};
constexpr std::chrono::microseconds kBusyPoll{20};
// How long after the last command the loop keeps polling fast.
constexpr std::chrono::milliseconds kBusyPeriod{200};
// Timer slack of the loop's thread: the default 50 us would stretch every short sleep.
constexpr unsigned long kTimerSlackNs = 1000;
// A reset waits for the controlling host to say goodbye (release control), but not forever.
constexpr std::chrono::milliseconds kResetReleaseWait{500};
constexpr std::chrono::milliseconds kControlPoll{1};
constexpr std::chrono::milliseconds kBackReadyTimeout{5000};
constexpr std::chrono::milliseconds kRetryGoOnline{100};
constexpr std::size_t kMaxFileSize = 256u * 1024u * 1024u;
constexpr const char* kVersionPrefix = "version=";

const char* FileName(FileId id) {
  switch (id) {
    case FileId::Firmware:
      return "Firmware";
    case FileId::ReadOnlyFile:
      return "ReadOnlyFile";
    case FileId::FailingFile:
      return "FailingFile";
  }
  return "?";
}

std::uint32_t Raw(FileOperationStatus status) { return static_cast<std::uint32_t>(status); }
std::uint32_t Raw(FirmwareUpdateStatus status) { return static_cast<std::uint32_t>(status); }

}  // namespace

CameraBehaviour::Outcome CameraBehaviour::Failure() { return {FileOperationStatus::Failure, 0}; }

CameraBehaviour::CameraBehaviour(EmulatedCamera& camera, const EmulatorOptions& options)
    : camera_(camera), options_(options) {}

CameraBehaviour::~CameraBehaviour() { Stop(); }

void CameraBehaviour::Start() {
  InitialiseRegisters();
  thread_ = std::thread([this] { Run(); });
}

void CameraBehaviour::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) {
    thread_.join();
  }
}

bool CameraBehaviour::Stopping() {
  std::lock_guard<std::mutex> lock(mutex_);
  return stop_;
}

bool CameraBehaviour::SleepFor(std::chrono::milliseconds duration) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !wake_.wait_for(lock, duration, [this] { return stop_; });
}

void CameraBehaviour::InitialiseRegisters() {
  for (std::uint32_t id = 0; id < kFileCount; ++id) {
    camera_.WriteRegister(reg::kFileSizeBase + id * reg::kFileSizeStride,
                          static_cast<std::uint32_t>(files_[id].data.size()));
  }
  camera_.WriteRegister(reg::kFileOperationStatus, Raw(FileOperationStatus::Success));
  camera_.WriteRegister(reg::kFirmwareUpdateMode, static_cast<std::uint32_t>(FirmwareUpdateMode::Off));
  camera_.WriteRegister(reg::kFirmwareUpdateStatus, Raw(FirmwareUpdateStatus::Idle));
}

void CameraBehaviour::Run() {
  prctl(PR_SET_TIMERSLACK, kTimerSlackNs);
  Clock::time_point lastBusy = Clock::now() - kBusyPeriod;
  while (!Stopping()) {
    try {
      if (Poll()) {
        lastBusy = Clock::now();
      }
    } catch (const std::exception& e) {
      std::fprintf(stderr, "fwcam-emulator: %s\n", e.what());
    }
    std::this_thread::sleep_for(Clock::now() - lastBusy < kBusyPeriod ? kBusyPoll : kIdlePoll);
  }
}

bool CameraBehaviour::Poll() {
  bool busy = false;
  if (camera_.ReadRegister(reg::kFileOperationExecute) == kCommandValue) {
    RunFileOperation();
    busy = true;
  }
  if (!installing_ && camera_.ReadRegister(reg::kFirmwareUpdateExecute) == kCommandValue) {
    StartInstall();
    busy = true;
  }
  if (installing_ && !options_.neverDone && Clock::now() >= installEnd_) {
    FinishInstall(installWillSucceed_, installDetail_);
    busy = true;
  }
  if (camera_.ReadRegister(reg::kDeviceReset) == kCommandValue) {
    Reset();
    busy = true;
  }
  return busy;
}

void CameraBehaviour::RunFileOperation() {
  const std::uint32_t selected = camera_.ReadRegister(reg::kFileSelector);
  const std::uint32_t operation = camera_.ReadRegister(reg::kFileOperationSelector);
  Outcome outcome = Failure();
  if (selected < kFileCount) {
    const auto id = static_cast<FileId>(selected);
    File& file = files_[selected];
    switch (static_cast<FileOperation>(operation)) {
      case FileOperation::Open:
        outcome = Open(id, file);
        break;
      case FileOperation::Close:
        outcome = Close(id, file);
        break;
      case FileOperation::Read:
        outcome = Read(file);
        break;
      case FileOperation::Write:
        outcome = Write(file);
        break;
    }
    camera_.WriteRegister(reg::kFileSizeBase + selected * reg::kFileSizeStride,
                          static_cast<std::uint32_t>(file.data.size()));
  }
  // Back from a hang, the command register may already hold the client's next command (the
  // close after it gave up), which clearing it now would swallow. Left set, it runs next: that
  // command, or the hung operation anew.
  if (outcome.hung) {
    return;
  }
  // Results first: a client that sees the command done reads them at once.
  camera_.WriteRegister(reg::kFileOperationResult, outcome.result);
  camera_.WriteRegister(reg::kFileOperationStatus, Raw(outcome.status));
  camera_.WriteRegister(reg::kFileOperationExecute, 0);
}

CameraBehaviour::Outcome CameraBehaviour::Open(FileId id, File& file) {
  const std::uint32_t mode = camera_.ReadRegister(reg::kFileOpenMode);
  const bool writing = mode == static_cast<std::uint32_t>(FileOpenMode::Write) ||
                       mode == static_cast<std::uint32_t>(FileOpenMode::ReadWrite);
  const bool known = writing || mode == static_cast<std::uint32_t>(FileOpenMode::Read);
  if (options_.failOpen || id == FileId::FailingFile || !known || (writing && id == FileId::ReadOnlyFile)) {
    return Failure();
  }
  if (writing) {
    file.data.clear();
  }
  file.open = true;
  file.mode = static_cast<FileOpenMode>(mode);
  return {FileOperationStatus::Success, 0};
}

CameraBehaviour::Outcome CameraBehaviour::Close(FileId id, File& file) {
  if (!file.open) {
    return Failure();
  }
  file.open = false;
  if (file.mode != FileOpenMode::Read) {
    char line[160];
    std::snprintf(line, sizeof line, "%s file %s closed size=%zu crc32=%08x", camera_.Address().c_str(), FileName(id),
                  file.data.size(), Crc32(file.data.data(), file.data.size()));
    Announce(line);
  }
  return options_.failClose ? Failure() : Outcome{FileOperationStatus::Success, 0};
}

CameraBehaviour::Outcome CameraBehaviour::Write(File& file) {
  const std::uint32_t offset = camera_.ReadRegister(reg::kFileAccessOffset);
  const std::uint32_t length = camera_.ReadRegister(reg::kFileAccessLength);
  if (options_.failWrite || !file.open || file.mode == FileOpenMode::Read || length > reg::kFileAccessBufferSize ||
      offset > file.data.size() || offset + static_cast<std::size_t>(length) > kMaxFileSize) {
    return Failure();
  }
  // A slow camera: the command stays pending (its register reads 1) while GVCP, served by
  // Aravis's own thread, answers as usual.
  if (options_.writeMs != 0) {
    Announce(camera_.Address() + " slow write offset=" + std::to_string(offset) + " length=" + std::to_string(length));
    if (!SleepFor(std::chrono::milliseconds(options_.writeMs))) {
      return {FileOperationStatus::Success, 0, true};
    }
  }
  if (length > 0) {
    std::uint8_t chunk[reg::kFileAccessBufferSize];
    camera_.ReadMemory(reg::kFileAccessBuffer, length, chunk);
    file.data.resize(std::max<std::size_t>(file.data.size(), offset + static_cast<std::size_t>(length)));
    std::memcpy(file.data.data() + offset, chunk, length);
  }
  if (options_.stallAfter != 0 && !stalled_ && file.data.size() >= options_.stallAfter) {
    stalled_ = true;
    // The whole process stops, GVCP included, before the write is reported done: a camera
    // that hangs in the middle of an upload. Whoever watches for the line resumes it.
    Announce(camera_.Address() + " stalled size=" + std::to_string(file.data.size()));
    raise(SIGSTOP);
    return {FileOperationStatus::Success, length, true};
  }
  return {FileOperationStatus::Success, length};
}

CameraBehaviour::Outcome CameraBehaviour::Read(File& file) {
  const std::uint32_t offset = camera_.ReadRegister(reg::kFileAccessOffset);
  const std::uint32_t length = camera_.ReadRegister(reg::kFileAccessLength);
  if (!file.open || file.mode == FileOpenMode::Write || length > reg::kFileAccessBufferSize ||
      offset > file.data.size()) {
    return Failure();
  }
  const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(length, file.data.size() - offset));
  if (count > 0) {
    camera_.WriteMemory(reg::kFileAccessBuffer, count, file.data.data() + offset);
  }
  return {FileOperationStatus::Success, count};
}

std::string CameraBehaviour::VersionFromImage(std::string& why) const {
  const std::vector<std::uint8_t>& image = files_[static_cast<std::size_t>(FileId::Firmware)].data;
  if (image.empty()) {
    why = "the Firmware file is empty";
    return "";
  }
  const auto lineEnd = std::find(image.begin(), image.end(), '\n');
  std::string line(image.begin(), lineEnd);
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  if (line.compare(0, std::strlen(kVersionPrefix), kVersionPrefix) == 0) {
    line.erase(0, std::strlen(kVersionPrefix));
  }
  const bool printable = std::all_of(line.begin(), line.end(), [](char c) {
    return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) <= 0x7E;
  });
  if (line.empty() || line.size() > bootstrap::kDeviceVersionSize || !printable) {
    why = "the first line of the Firmware file is no version (1 to 32 printable characters)";
    return "";
  }
  return line;
}

void CameraBehaviour::StartInstall() {
  if (camera_.ReadRegister(reg::kFirmwareUpdateMode) != static_cast<std::uint32_t>(FirmwareUpdateMode::On)) {
    FinishInstall(false, "FirmwareUpdateMode is Off");
    return;
  }
  std::string why;
  const std::string version = VersionFromImage(why);
  installWillSucceed_ = !version.empty() && !options_.failInstall;
  installDetail_ = options_.failInstall ? "injected by --fail-install" : version.empty() ? why : version;
  installing_ = true;
  installEnd_ = Clock::now() + std::chrono::milliseconds(options_.installMs);
  camera_.WriteRegister(reg::kFirmwareUpdateStatus, Raw(FirmwareUpdateStatus::InProgress));
}

void CameraBehaviour::FinishInstall(bool succeeded, const std::string& detail) {
  installing_ = false;
  if (succeeded) {
    // The new firmware runs from the next start on, as on a real camera.
    camera_.SetVersion(detail);
    Announce(camera_.Address() + " install succeeded version=" + detail);
  } else {
    Announce(camera_.Address() + " install failed: " + detail);
  }
  camera_.WriteRegister(reg::kFirmwareUpdateStatus,
                        Raw(succeeded ? FirmwareUpdateStatus::Success : FirmwareUpdateStatus::Failure));
  camera_.WriteRegister(reg::kFirmwareUpdateExecute, 0);
}

void CameraBehaviour::Reset() {
  const Clock::time_point giveUp = Clock::now() + kResetReleaseWait;
  while (camera_.HasController() && Clock::now() < giveUp && SleepFor(kControlPoll)) {
  }
  camera_.GoOffline();
  Announce(camera_.Address() + " reset");
  for (File& file : files_) {
    file.open = false;
  }
  installing_ = false;  // an install in progress dies with the reset
  if (!SleepFor(std::chrono::milliseconds(options_.resetMs))) {
    return;
  }
  if (options_.neverBack) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock, [this] { return stop_; });
    return;
  }
  for (;;) {
    try {
      camera_.GoOnline();
      break;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "fwcam-emulator: cannot come back after the reset, retrying: %s\n", e.what());
      if (!SleepFor(kRetryGoOnline)) {
        return;
      }
    }
  }
  InitialiseRegisters();
  if (AnswersDiscovery(camera_.Address(), MacBytes(options_.mac), kBackReadyTimeout)) {
    Announce(camera_.Address() + " back version=" + camera_.Version());
  } else {
    std::fprintf(stderr, "fwcam-emulator: the camera on %s does not answer discovery after its reset\n",
                 camera_.Address().c_str());
  }
}

}  // namespace quarx::emulator
