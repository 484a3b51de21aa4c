// Program entry: builds the logger, parses the command line and runs the one operation.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "app/fwupdate_devicelist.h"
#include "app/fwupdate_execute.h"
#include "app/fwupdate_fileinfo.h"
#include "app/genfwupdate_cmd.h"
#include "app/genfwupdate_cmdline_parser.h"
#include "app/update_interruption.h"
#include "util/printable_text.h"
#include "util/quarxlog.h"

namespace {

constexpr const char* kConfigPath = "/opt/velmora/fwupdate/quarx.conf";

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// A standard descriptor the tool was started without (`<&-`, `>&-`) would be taken by the next
// file or socket the tool opens: the question would read the pattern matcher's socket and the
// preview be written into it. /dev/null takes its place, opened the wrong way round, so that a
// read of standard input fails (no answer) and a write to standard output or error fails (output
// that cannot be written), as they would on the closed descriptor.
bool TakeClosedStandardDescriptors() {
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
      continue;
    }
    // open() takes the lowest free descriptor, and the lower standard ones are open by now.
    if (open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY) < 0) {
      // Lands nowhere when standard error is the one closed, which does no harm.
      std::fprintf(stderr, "Error : Cannot open /dev/null in place of closed descriptor %d: %s\n", fd,
                   std::strerror(errno));
      return false;
    }
  }
  return true;
}

// Must not throw: it runs inside the one handler, and stdout may be the very thing that failed.
// Error texts quote camera and package texts (a model name, a version, a pattern): they are
// shown as text, whichever layer made the message.
void ReportError(const char* text, bool logIt) {
  try {
    const std::string printable = quarx::util::PrintableText(text);
    fmt::print("\n Error : {} \n", printable);
    if (logIt) {
      quarx::util::Log::GetInstance("").logger_->error("{}", printable);
    }
  } catch (...) {
  }
}

// The operations are wired in here: each takes its package path (if any) and its converted settings.
void RunDeviceList(const fwupdate::DeviceListSettings& settings) {
  fwupdate::DeviceList list;
  list.DisplayDeviceList(settings.timeoutMs);
}

void RunFileInfo(const std::string& packagePath, const fwupdate::FileInfoSettings& settings) {
  fwupdate::FWUpdateFileInfo fileInfo(packagePath);
  fileInfo.DisplayUpdateInfo(settings.deviceNumber, settings.noTest, settings.timeoutMs);
}

void RunUpdate(const std::string& packagePath, const fwupdate::UpdateSettings& settings) {
  fwupdate::FWUpdateExecute update(packagePath);
  update.Execute(settings.deviceNumber, settings.timeoutMs, settings.noPrompt, settings.silent);
}

// Whatever is still buffered is written only here, at the end: a full disk or a closed file must
// not pass for success, and standard error is the one place left to say so.
int WithStandardOutputWritten(int status) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  if (flushed && std::ferror(stdout) == 0) {
    return status;
  }
  const int error = errno;
  std::fprintf(stderr, "Error : Cannot write standard output%s%s\n", error != 0 ? ": " : "",
               error != 0 ? std::strerror(error) : "");
  return status == kExitSuccess ? kExitFailure : status;
}

int RunProgram(int argc, char** argv) {
  try {
    quarx::util::Log::GetInstance(kConfigPath);
  } catch (const std::exception& e) {
    // No logger exists, so the console is the only place left to say why.
    ReportError(e.what(), false);
    return kExitFailure;
  } catch (...) {
    ReportError("Unknown error", false);
    return kExitFailure;
  }
  quarx::util::Log::GetInstance("").logger_->debug("{}", "main");

  fwupdate::GenicamFWupdateCmdlineParser parser(argc, argv);
  try {
    const fwupdate::GenicamFWUpdateCmd cmd = parser.GetOperationCmd();
    // Every option value is converted before an operation starts, so a bad one touches no camera.
    switch (cmd.GetOperation()) {
      case fwupdate::Operation::Help:
        parser.DisplayHelp();
        break;
      case fwupdate::Operation::FileInfo:
        RunFileInfo(cmd.GetParam(), fwupdate::GetFileInfoSettings(cmd));
        break;
      case fwupdate::Operation::DeviceList:
        RunDeviceList(fwupdate::GetDeviceListSettings(cmd));
        break;
      case fwupdate::Operation::Update:
        RunUpdate(cmd.GetParam(), fwupdate::GetUpdateSettings(cmd));
        break;
    }
  } catch (const fwupdate::UpdateInterrupted& e) {
    // Logged at error level, which flushes the log.
    ReportError(e.what(), true);
    return e.ExitStatus();
  } catch (const ExceptionCmdParse& e) {
    ReportError(e.what(), true);
    return kExitUsage;
  } catch (const std::exception& e) {
    ReportError(e.what(), true);
    return kExitFailure;
  } catch (...) {
    ReportError("Unknown error", true);
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  if (!TakeClosedStandardDescriptors()) {
    return kExitFailure;
  }
  const int status = WithStandardOutputWritten(RunProgram(argc, argv));
  // Held to here, past the error line and the flush: a hang-up or a reader gone after the update
  // must not turn its status into 129 or 141. Nothing is written after this.
  fwupdate::ReleaseOutputSignals();
  return status;
}
