// Fuzzes the package reader from the file up: outer archive, inner archive, control XML and
// package model (GetUpdates), then every firmware file a step names (GetFile).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "core/libstatic_fwupdate/guffile_info.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

// The reader takes a path; an in-memory file keeps a million runs off the disk.
int PackageFile() {
  static const int fd = [] {
    quarx::fuzz::SilenceLogging();
    const int made = memfd_create("package.guf", 0);
    if (made < 0) std::abort();
    return made;
  }();
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = PackageFile();
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
  using quarx::core::fwupdate::GuffileInfo;
  using quarx::core::fwupdate::ProcedureType;
  try {
    GuffileInfo reader("/proc/self/fd/" + std::to_string(fd));
    for (const auto& update : reader.GetUpdates()) {
      for (const auto& item : update->GetProceureItems()) {
        if (item.GetProcedureType() != ProcedureType::FileUpload) continue;
        try {
          reader.GetFile(item.GetFileName());
        } catch (const std::exception&) {
          // a missing or damaged firmware file fails its step only; the next one is still read
        }
      }
    }
  } catch (const std::exception&) {
  }
  return 0;
}
