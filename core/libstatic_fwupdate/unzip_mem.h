#pragma once
// Extracts one named entry from a zip archive held in a file or in memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace quarx::core::fwupdate {

// Limits on an entry's declared size, checked before anything is allocated: a package is
// untrusted input and its sizes are the package's own claims.
constexpr std::uint64_t kMaxPackageZipSize = std::uint64_t{2} << 30;
constexpr std::uint64_t kMaxControlXmlSize = std::uint64_t{16} << 20;
constexpr std::uint64_t kMaxFirmwareFileSize = std::uint64_t{1} << 30;

// The bytes of one extraction with the entry's name. Copies share the bytes, which are released
// with the last copy.
class ExtractedFileInfo {
 public:
  ExtractedFileInfo();
  ExtractedFileInfo(std::shared_ptr<const std::uint8_t> data, std::size_t size);

  void SetZipFileName(const std::string& name);
  std::string GetZipFileName() const;
  // The pointer stays valid while this record or a copy of it lives.
  std::pair<const std::uint8_t*, std::size_t> GetInfo() const;

 private:
  std::shared_ptr<const std::uint8_t> data;
  std::size_t size;
  std::string zipFileName;
};

class UnzipMem {
 public:
  // File-backed: the archive is opened anew for every extraction.
  explicit UnzipMem(const std::string& path);
  // Memory-backed: the bytes are not owned and must stay valid while extracting.
  UnzipMem(const void* data, std::size_t size);

  // Fails with detail 4003 when the entry is missing, damaged or declares more than `maxSize` bytes.
  ExtractedFileInfo ExtractFile(const std::string& name, std::uint64_t maxSize = kMaxPackageZipSize) const;

 private:
  // The outer package: every entry up to and including `name` must be stored; `name` is
  // compared byte for byte.
  ExtractedFileInfo ExtractFileFromFile(const std::string& name, std::uint64_t maxSize) const;
  // The inner package: stored or deflated entries, `name` compared without regard to ASCII case.
  ExtractedFileInfo ExtractFileFromMem(const std::string& name, std::uint64_t maxSize) const;

  std::string path;
  const void* data;
  std::size_t size;
};

}  // namespace quarx::core::fwupdate
