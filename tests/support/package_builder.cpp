// Update packages for tests, written with libzip and patched byte-wise where a test wants damage.
#include "tests/support/package_builder.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>
#include <zip.h>

namespace quarx::test {
namespace {

// Offsets inside the end-of-central-directory record, a central header and a local header.
constexpr std::size_t kEocdSize = 22, kEocdEntryCount = 10, kEocdDirOffset = 16;
constexpr std::size_t kCentralHeaderSize = 46, kCentralCrc = 16, kCentralSize = 24, kCentralNameLength = 28,
                      kCentralLocalOffset = 42;
constexpr std::size_t kLocalHeaderSize = 30, kLocalCrc = 14, kLocalSize = 22;

std::uint32_t Read(const std::string& b, std::size_t at, int bytes) {
  if (at + bytes > b.size()) throw std::runtime_error("zip patch: read past the end");
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

void Write32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Calls `patch(centralHeaderOffset, localHeaderOffset)` for every entry named `name`.
void ForEachEntry(std::string& zip, const std::string& name,
                  const std::function<void(std::size_t, std::size_t)>& patch) {
  if (zip.size() < kEocdSize) throw std::runtime_error("zip patch: too short");
  std::size_t eocd = zip.size() - kEocdSize;
  while (Read(zip, eocd, 4) != 0x06054b50) {
    if (eocd-- == 0) throw std::runtime_error("zip patch: no end of central directory");
  }
  const std::uint32_t count = Read(zip, eocd + kEocdEntryCount, 2);
  std::size_t at = Read(zip, eocd + kEocdDirOffset, 4);
  int found = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (Read(zip, at, 4) != 0x02014b50) throw std::runtime_error("zip patch: bad central header");
    const std::size_t nameLength = Read(zip, at + kCentralNameLength, 2);
    // The name is followed by the extra field and the comment, whose lengths come next.
    const std::size_t next =
        at + kCentralHeaderSize + nameLength + Read(zip, at + kCentralNameLength + 2, 2) + Read(zip, at + 32, 2);
    if (name.size() == nameLength && zip.compare(at + kCentralHeaderSize, nameLength, name) == 0) {
      const std::size_t local = Read(zip, at + kCentralLocalOffset, 4);
      if (Read(zip, local, 4) != 0x04034b50) throw std::runtime_error("zip patch: bad local header");
      patch(at, local);
      ++found;
    }
    at = next;
  }
  if (found == 0) ADD_FAILURE() << "zip patch: no entry named " << name;
}

void Check(bool ok, zip_t* za, const char* what) {
  if (!ok) throw std::runtime_error(std::string("MakeZip: ") + what + ": " + zip_strerror(za));
}

}  // namespace

std::string MakeZip(const std::vector<ZipEntry>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (buffer == nullptr) throw std::runtime_error("MakeZip: cannot create a buffer");
  zip_t* za = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  if (za == nullptr) {
    zip_source_free(buffer);
    throw std::runtime_error(std::string("MakeZip: ") + zip_error_strerror(&error));
  }
  // The archive releases the buffer on close; keep it to read the result back.
  zip_source_keep(buffer);
  std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(buffer, &zip_source_free);
  for (const ZipEntry& e : entries) {
    zip_source_t* data = zip_source_buffer(za, e.data.data(), e.data.size(), 0);
    Check(data != nullptr, za, "source");
    const zip_int64_t index = zip_file_add(za, e.name.c_str(), data, ZIP_FL_ENC_GUESS);
    if (index < 0) zip_source_free(data);
    Check(index >= 0, za, "add");
    const zip_int32_t method = e.method == ZipMethod::Stored     ? ZIP_CM_STORE
                               : e.method == ZipMethod::Deflated ? ZIP_CM_DEFLATE
                                                                 : ZIP_CM_BZIP2;
    Check(zip_set_file_compression(za, static_cast<zip_uint64_t>(index), method, 0) == 0, za, "method");
    if (e.encrypted) {
      Check(zip_file_set_encryption(za, static_cast<zip_uint64_t>(index), ZIP_EM_AES_128, "secret") == 0, za,
            "encryption");
    }
  }
  if (zip_close(za) != 0) {
    const std::string text = zip_strerror(za);
    zip_discard(za);
    throw std::runtime_error("MakeZip: close: " + text);
  }
  zip_stat_t st;
  if (zip_source_stat(buffer, &st) != 0 || zip_source_open(buffer) != 0) {
    throw std::runtime_error("MakeZip: cannot read the archive back");
  }
  std::string bytes(static_cast<std::size_t>(st.size), '\0');
  const zip_int64_t got = zip_source_read(buffer, bytes.data(), bytes.size());
  zip_source_close(buffer);
  if (got != static_cast<zip_int64_t>(bytes.size())) throw std::runtime_error("MakeZip: short read back");
  return bytes;
}

void DamageCrc(std::string& zip, const std::string& name) {
  ForEachEntry(zip, name, [&](std::size_t central, std::size_t local) {
    const std::uint32_t crc = Read(zip, central + kCentralCrc, 4) ^ 0x5A5A5A5A;
    Write32(zip, central + kCentralCrc, crc);
    Write32(zip, local + kLocalCrc, crc);
  });
}

void PatchDeclaredSize(std::string& zip, const std::string& name, std::uint32_t size) {
  ForEachEntry(zip, name, [&](std::size_t central, std::size_t local) {
    Write32(zip, central + kCentralSize, size);
    Write32(zip, local + kLocalSize, size);
  });
}

void RenameEntry(std::string& zip, const std::string& name, const std::string& to) {
  if (to.size() != name.size()) throw std::invalid_argument("RenameEntry: names differ in length");
  ForEachEntry(zip, name, [&](std::size_t central, std::size_t local) {
    zip.replace(central + kCentralHeaderSize, to.size(), to);
    zip.replace(local + kLocalHeaderSize, to.size(), to);
  });
}

PackageBuilder::PackageBuilder(std::string controlXml, ZipMethod method)
    : inner_{ZipEntry{"control.xml", std::move(controlXml), method}} {}

PackageBuilder& PackageBuilder::File(std::string name, std::string data, ZipMethod method) {
  inner_.push_back(ZipEntry{std::move(name), std::move(data), method});
  return *this;
}

PackageBuilder& PackageBuilder::OuterBefore(ZipEntry entry) {
  before_.push_back(std::move(entry));
  return *this;
}

PackageBuilder& PackageBuilder::OuterAfter(ZipEntry entry) {
  after_.push_back(std::move(entry));
  return *this;
}

std::string PackageBuilder::InnerZip() const { return MakeZip(inner_); }

std::string PackageBuilder::BuildAround(const std::string& inner) const {
  std::vector<ZipEntry> outer = before_;
  outer.push_back(ZipEntry{"package.zip", inner});
  outer.insert(outer.end(), after_.begin(), after_.end());
  return MakeZip(outer);
}

void WritePackage(const std::string& path, const std::string& controlXml,
                  const std::map<std::string, std::string>& files) {
  PackageBuilder builder(controlXml);
  for (const auto& [name, data] : files) builder.File(name, data);
  WriteBytes(path, builder.Build());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

TempPath::TempPath(const std::string& stem) {
  static std::atomic<int> counter{0};
  path_ = ::testing::TempDir() + "quarx-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" + stem;
}

TempPath::~TempPath() { std::remove(path_.c_str()); }

}  // namespace quarx::test
