#pragma once
// GenICam file access on one device's node map: open a camera file, write into it, read
// its status and close it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sdkadaptor/src/quarx_types.h"

class PvGenFile;
class PvGenParameterArray;

namespace quarx::sdkadaptor {

class GenFile {
 public:
  // The node map is borrowed from the device, which must stay connected while this is used.
  explicit GenFile(PvGenParameterArray* parameters);
  ~GenFile();
  GenFile(const GenFile&) = delete;
  GenFile& operator=(const GenFile&) = delete;

  void Open(const std::string& name, GenOpenMode mode);
  // Returns the number of bytes the camera took.
  int64_t Wrire(const uint8_t* data, int64_t length);
  void Close();
  std::string GetStatus() const;
  float GetProgress() const;
  bool IsWritable(const std::string& name) noexcept;
  bool IsReadable(const std::string& name) noexcept;
  bool IsSupported() noexcept;
  std::vector<std::string> GetFiles() noexcept;

 private:
  PvGenParameterArray* parameters_;
  std::unique_ptr<PvGenFile> file_;
};

}  // namespace quarx::sdkadaptor
