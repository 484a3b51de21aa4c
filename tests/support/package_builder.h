#pragma once
// Builds update packages (a zip whose stored "package.zip" is itself a zip) from readable
// descriptions, and damages them on purpose, so that tests need no binary fixtures.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quarx::test {

// Bzip2 is there to build entries the reader must refuse.
enum class ZipMethod { Stored, Deflated, Bzip2 };

struct ZipEntry {
  std::string name;  // written as given, byte for byte
  std::string data;
  ZipMethod method = ZipMethod::Stored;
  bool encrypted = false;  // AES-128 with the password "secret"
};

// A zip archive holding `entries` in this order (which is also the central-directory order).
std::string MakeZip(const std::vector<ZipEntry>& entries);

// Damage over the bytes of a zip archive: each patches the central directory and the local
// header of every entry named `name`, and fails the calling test when there is none.
void DamageCrc(std::string& zip, const std::string& name);
void PatchDeclaredSize(std::string& zip, const std::string& name, std::uint32_t size);
// Renames in place, so `to` must be as long as `name`: the way to two entries of one name.
void RenameEntry(std::string& zip, const std::string& name, const std::string& to);

// The inner and outer archive of one package. By default the outer archive holds only a stored
// "package.zip"; the inner one holds "control.xml" (when given) followed by the added files.
class PackageBuilder {
 public:
  PackageBuilder() = default;
  explicit PackageBuilder(std::string controlXml, ZipMethod method = ZipMethod::Stored);

  PackageBuilder& File(std::string name, std::string data, ZipMethod method = ZipMethod::Stored);
  // Outer entries placed before or after the "package.zip" entry.
  PackageBuilder& OuterBefore(ZipEntry entry);
  PackageBuilder& OuterAfter(ZipEntry entry);

  std::string InnerZip() const;
  std::string Build() const { return BuildAround(InnerZip()); }
  // The outer archive around another inner archive.
  std::string BuildAround(const std::string& inner) const;

 private:
  std::vector<ZipEntry> inner_;
  std::vector<ZipEntry> before_;
  std::vector<ZipEntry> after_;
};

// The one-line way to a package file: "control.xml" plus the named firmware files, all stored.
void WritePackage(const std::string& path, const std::string& controlXml,
                  const std::map<std::string, std::string>& files = {});

void WriteBytes(const std::string& path, const std::string& bytes);

// A file path in the test temporary directory, removed when the object goes.
class TempPath {
 public:
  explicit TempPath(const std::string& stem);
  ~TempPath();
  TempPath(const TempPath&) = delete;
  TempPath& operator=(const TempPath&) = delete;
  const std::string& str() const { return path_; }

 private:
  std::string path_;
};

}  // namespace quarx::test
