// Zip extraction over libzip. Failure texts name miniz calls: they are the tool's established messages.
#include "core/libstatic_fwupdate/unzip_mem.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <fmt/format.h>
#include <spdlog/spdlog.h>
#include <zip.h>

#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "util/quarxlog.h"

namespace quarx::core::fwupdate {
namespace {

// Bytes asked of the zip library per read, and the first allocation for an entry whose
// declared size is larger: the buffer grows with the data that really arrives, so a damaged
// entry that declares much more than it holds costs only what it holds.
constexpr std::size_t kReadChunk = std::size_t{1} << 20;
constexpr std::size_t kInitialAllocation = std::size_t{16} << 20;
// The smallest zip archive is its end-of-central-directory record.
constexpr std::uint64_t kMinZipSize = 22;

struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipFile = std::unique_ptr<zip_file_t, ZipFileCloser>;

struct FreeDeleter {
  void operator()(std::uint8_t* p) const { std::free(p); }
};
using HeapBytes = std::unique_ptr<std::uint8_t, FreeDeleter>;

bool EqualsIgnoringAsciiCase(const char* a, const std::string& b) {
  const std::size_t length = std::strlen(a);
  return length == b.size() && std::equal(b.begin(), b.end(), a, [](char x, char y) {
           const auto lower = [](char c) {
             const auto u = static_cast<unsigned char>(c);
             return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
           };
           return lower(x) == lower(y);
         });
}

// Reads exactly the declared size of entry `index`; a shorter or longer entry, a CRC error or an
// unreadable entry leaves `why` set and returns an empty record.
ExtractedFileInfo ReadEntry(zip_t* archive, zip_uint64_t index, std::uint64_t declared, std::string& why) {
  ZipFile file(zip_fopen_index(archive, index, 0));
  if (!file) {
    why = zip_strerror(archive);
    return ExtractedFileInfo();
  }
  const auto total = static_cast<std::size_t>(declared);
  std::size_t capacity = std::max<std::size_t>(1, std::min(total, kInitialAllocation));
  HeapBytes bytes(static_cast<std::uint8_t*>(std::malloc(capacity)));
  if (!bytes) throw std::bad_alloc();
  std::size_t got = 0;
  while (got < total) {
    if (got == capacity) {
      const std::size_t grown = std::min(total, capacity * 2);
      auto* moved = static_cast<std::uint8_t*>(std::realloc(bytes.get(), grown));
      if (moved == nullptr) throw std::bad_alloc();
      bytes.release();
      bytes.reset(moved);
      capacity = grown;
    }
    const zip_int64_t n = zip_fread(file.get(), bytes.get() + got, std::min(capacity - got, kReadChunk));
    if (n < 0) {
      why = zip_file_strerror(file.get());
      return ExtractedFileInfo();
    }
    if (n == 0) {
      why = fmt::format("entry ends after {} of {} declared bytes", got, total);
      return ExtractedFileInfo();
    }
    got += static_cast<std::size_t>(n);
  }
  // The end is where the CRC is checked, and more data than declared is damage too.
  std::uint8_t probe = 0;
  const zip_int64_t more = zip_fread(file.get(), &probe, 1);
  if (more != 0) {
    why = more < 0 ? zip_file_strerror(file.get()) : "entry holds more than its declared size";
    return ExtractedFileInfo();
  }
  if (zip_fclose(file.release()) != 0) {
    why = "entry cannot be closed";
    return ExtractedFileInfo();
  }
  return ExtractedFileInfo(std::shared_ptr<const std::uint8_t>(bytes.release(), FreeDeleter()), total);
}

}  // namespace

ExtractedFileInfo::ExtractedFileInfo() : size(0) {}

ExtractedFileInfo::ExtractedFileInfo(std::shared_ptr<const std::uint8_t> data, std::size_t size)
    : data(std::move(data)), size(size) {}

void ExtractedFileInfo::SetZipFileName(const std::string& name) { zipFileName = name; }

std::string ExtractedFileInfo::GetZipFileName() const { return zipFileName; }

std::pair<const std::uint8_t*, std::size_t> ExtractedFileInfo::GetInfo() const { return {data.get(), size}; }

UnzipMem::UnzipMem(const std::string& path) : path(path), data(nullptr), size(0) {}

UnzipMem::UnzipMem(const void* data, std::size_t size) : data(data), size(size) {}

ExtractedFileInfo UnzipMem::ExtractFile(const std::string& name, std::uint64_t maxSize) const {
  return path.empty() ? ExtractFileFromMem(name, maxSize) : ExtractFileFromFile(name, maxSize);
}

ExtractedFileInfo UnzipMem::ExtractFileFromFile(const std::string& name, std::uint64_t maxSize) const {
  auto& logger = util::Log::GetInstance("").logger_;
  ZipArchive archive;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_file_create(path.c_str(), 0, -1, &error);
  if (source != nullptr) {
    zip_stat_t whole;
    zip_stat_init(&whole);
    // The zip library takes an empty file for an empty archive; it holds no archive at all.
    if (zip_source_stat(source, &whole) == 0 && (whole.valid & ZIP_STAT_SIZE) != 0 && whole.size >= kMinZipSize) {
      archive.reset(zip_open_from_source(source, ZIP_RDONLY, &error));
    }
    if (!archive) zip_source_free(source);
  }
  zip_error_fini(&error);
  logger->trace("Result({})::mz_zip_reader_init_file({})", archive ? 1 : 0, path);
  if (!archive) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_ZIP,
                                fmt::format("Invalid Zipfile({}) failed to mz_zip_reader_init_file()", path));
  }
  const zip_int64_t total = zip_get_num_entries(archive.get(), 0);
  logger->trace("Total files({})", total);
  for (zip_int64_t index = 0; index < total; ++index) {
    zip_stat_t st;
    zip_stat_init(&st);
    const bool statOk = zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW, &st) == 0 &&
                        (st.valid & (ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD)) ==
                            (ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD);
    logger->trace("Result({})::mz_zip_reader_file_stat({})", statOk ? 1 : 0, index);
    if (!statOk) {
      throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_ZIP,
                                  fmt::format("Invalid Zipfile({}) failed to mz_zip_reader_file_stat()", path));
    }
    logger->trace("Method({})", st.comp_method);
    if (st.comp_method != ZIP_CM_STORE) {
      throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_ZIP,
                                  fmt::format("Invalid Zipfile({}) invalid zip_file_stat", path));
    }
    if (name != st.name) continue;

    // The entry that passed the walk is the one extracted, by its index.
    if (st.size > maxSize) {
      logger->error("<{}> {}({}) declares {} bytes, more than the {} allowed", __func__, path, name, st.size,
                    maxSize);
    } else {
      std::string why;
      ExtractedFileInfo extracted = ReadEntry(archive.get(), static_cast<zip_uint64_t>(index), st.size, why);
      if (why.empty()) {
        extracted.SetZipFileName(name);
        return extracted;
      }
      logger->debug("<{}> {}({}) {}", __func__, path, name, why);
    }
    throw FWUpdateExceptionImpl(
        __func__, __LINE__, ERR_UPDATE_ZIP,
        fmt::format("Invalid Zipfile({}) failed to mz_zip_reader_extract_file_to_heap()", path));
  }
  throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_ZIP, fmt::format("Not found {}", name));
}

ExtractedFileInfo UnzipMem::ExtractFileFromMem(const std::string& name, std::uint64_t maxSize) const {
  auto& logger = util::Log::GetInstance("").logger_;
  const auto extractFailure = [this]() {
    return FWUpdateExceptionImpl(
        "ExtractFileFromMem", __LINE__, ERR_UPDATE_ZIP,
        fmt::format("Invalid Zipfile({}) failed to mz_zip_reader_extract_file_to_heap()", path));
  };
  ZipArchive archive;
  zip_error_t error;
  zip_error_init(&error);
  // The zip library takes empty data for an empty archive; it holds no archive at all.
  if (size >= kMinZipSize) {
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    if (source != nullptr) {
      archive.reset(zip_open_from_source(source, ZIP_RDONLY, &error));
      if (!archive) zip_source_free(source);
    }
  }
  zip_error_fini(&error);
  spdlog::debug("Result({})::mz_zip_reader_init_mem({})", archive ? 1 : 0, name);
  if (!archive) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_ZIP,
                                fmt::format("Invalid Zipfile({}) failed to mz_zip_reader_init_mem()", path));
  }
  const zip_int64_t total = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t index = 0; index < total; ++index) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW, &st) != 0 ||
        (st.valid & ZIP_STAT_NAME) == 0 || !EqualsIgnoringAsciiCase(st.name, name)) {
      continue;
    }
    const bool supported = (st.valid & (ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD)) ==
                               (ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD) &&
                           (st.comp_method == ZIP_CM_STORE || st.comp_method == ZIP_CM_DEFLATE) &&
                           st.encryption_method == ZIP_EM_NONE;
    if (!supported) {
      logger->debug("<{}> {} method({}) encryption({}) not supported", __func__, name, st.comp_method,
                    st.encryption_method);
      throw extractFailure();
    }
    if (st.size > maxSize) {
      logger->error("<{}> {} declares {} bytes, more than the {} allowed", __func__, name, st.size, maxSize);
      throw extractFailure();
    }
    std::string why;
    ExtractedFileInfo extracted = ReadEntry(archive.get(), static_cast<zip_uint64_t>(index), st.size, why);
    if (!why.empty()) {
      logger->debug("<{}> {} {}", __func__, name, why);
      throw extractFailure();
    }
    extracted.SetZipFileName(name);
    return extracted;
  }
  throw extractFailure();
}

}  // namespace quarx::core::fwupdate
