// Update packages for tests, written with libzip and patched byte-wise where a test wants damage.
#include "tests/support/package_builder.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>
#include <zip.h>

namespace quarx::test {
namespace {

constexpr std::uint32_t kEndOfCentralDirSignature = 0x06054b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::size_t kEndOfCentralDirSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
// Offsets inside the central header and the local header.
constexpr std::size_t kCentralCrc = 16;
constexpr std::size_t kCentralCompressedSize = 20;
constexpr std::size_t kCentralSize = 24;
constexpr std::size_t kCentralNameLength = 28;
constexpr std::size_t kCentralExtraLength = 30;
constexpr std::size_t kCentralCommentLength = 32;
constexpr std::size_t kCentralLocalOffset = 42;
constexpr std::size_t kLocalCrc = 14;
constexpr std::size_t kLocalCompressedSize = 18;
constexpr std::size_t kLocalSize = 22;
constexpr std::size_t kEocdEntryCount = 10;
constexpr std::size_t kEocdDirOffset = 16;

std::uint32_t Read32(const std::string& b, std::size_t at) {
  if (at + 4 > b.size()) throw std::runtime_error("zip patch: read past the end");
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

std::uint16_t Read16(const std::string& b, std::size_t at) {
  if (at + 2 > b.size()) throw std::runtime_error("zip patch: read past the end");
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

void Write32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Calls `patch(centralHeaderOffset, localHeaderOffset)` for every entry named `name`.
void ForEachEntry(std::string& zip, const std::string& name,
                  const std::function<void(std::size_t, std::size_t)>& patch) {
  if (zip.size() < kEndOfCentralDirSize) throw std::runtime_error("zip patch: too short");
  std::size_t eocd = zip.size() - kEndOfCentralDirSize;
  while (Read32(zip, eocd) != kEndOfCentralDirSignature) {
    if (eocd == 0) throw std::runtime_error("zip patch: no end of central directory");
    --eocd;
  }
  const std::uint16_t count = Read16(zip, eocd + kEocdEntryCount);
  std::size_t at = Read32(zip, eocd + kEocdDirOffset);
  int found = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    if (Read32(zip, at) != kCentralHeaderSignature) throw std::runtime_error("zip patch: bad central header");
    const std::size_t nameLength = Read16(zip, at + kCentralNameLength);
    const std::size_t next = at + kCentralHeaderSize + nameLength + Read16(zip, at + kCentralExtraLength) +
                             Read16(zip, at + kCentralCommentLength);
    if (zip.compare(at + kCentralHeaderSize, nameLength, name) == 0 && name.size() == nameLength) {
      const std::size_t local = Read32(zip, at + kCentralLocalOffset);
      if (Read32(zip, local) != kLocalHeaderSignature) throw std::runtime_error("zip patch: bad local header");
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
    const std::uint32_t crc = Read32(zip, central + kCentralCrc) ^ 0x5A5A5A5A;
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

void PatchCompressedSize(std::string& zip, const std::string& name, std::uint32_t size) {
  ForEachEntry(zip, name, [&](std::size_t central, std::size_t local) {
    Write32(zip, central + kCentralCompressedSize, size);
    Write32(zip, local + kLocalCompressedSize, size);
  });
}

void RenameEntry(std::string& zip, const std::string& name, const std::string& to) {
  if (to.size() != name.size()) throw std::invalid_argument("RenameEntry: names differ in length");
  ForEachEntry(zip, name, [&](std::size_t central, std::size_t local) {
    zip.replace(central + kCentralHeaderSize, to.size(), to);
    zip.replace(local + kLocalHeaderSize, to.size(), to);
  });
}

PackageBuilder::PackageBuilder(std::string controlXml, ZipMethod method) { ControlXml(std::move(controlXml), method); }

PackageBuilder& PackageBuilder::ControlXml(std::string xml, ZipMethod method) {
  inner_.insert(inner_.begin(), ZipEntry{"control.xml", std::move(xml), method});
  return *this;
}

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

PackageBuilder& PackageBuilder::OuterName(std::string name, ZipMethod method) {
  outerName_ = std::move(name);
  outerMethod_ = method;
  return *this;
}

std::string PackageBuilder::InnerZip() const { return MakeZip(inner_); }

std::string PackageBuilder::Build() const { return BuildAround(InnerZip()); }

std::string PackageBuilder::BuildAround(const std::string& inner) const {
  std::vector<ZipEntry> outer = before_;
  outer.push_back(ZipEntry{outerName_, inner, outerMethod_});
  outer.insert(outer.end(), after_.begin(), after_.end());
  return MakeZip(outer);
}

void PackageBuilder::WriteTo(const std::string& path) const { WriteBytes(path, Build()); }

void WritePackage(const std::string& path, const std::string& controlXml,
                  const std::map<std::string, std::string>& files) {
  PackageBuilder builder(controlXml);
  for (const auto& [name, data] : files) builder.File(name, data);
  builder.WriteTo(path);
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
