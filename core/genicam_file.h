#pragma once
// Writes one named file into a camera through GenICam file access, checking the camera's
// file-operation status after opening and after writing, and closing the file again when the
// upload fails or is stopped.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "sdkadaptor/src/gen_file.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::core {

class GenicamFile {
 public:
  // What the writer needs of the camera's file access. The adaptor's GenFile is a plain
  // class; this is the seam through which tests stand in for the camera.
  class FileAccess {
   public:
    virtual ~FileAccess() = default;
    virtual bool IsWritable(const std::string& name) = 0;
    virtual void Open(const std::string& name, sdkadaptor::GenOpenMode mode) = 0;
    // The number of bytes the camera took.
    virtual int64_t Wrire(const uint8_t* data, int64_t length) = 0;
    virtual void Close() = 0;
    virtual std::string GetStatus() = 0;
  };

  // Takes the adaptor's file access over (the pointer is left empty). Without one, every
  // write fails as a file that cannot be written.
  explicit GenicamFile(std::unique_ptr<sdkadaptor::GenFile>& file);
  explicit GenicamFile(std::unique_ptr<FileAccess> file);
  ~GenicamFile();
  GenicamFile(const GenicamFile&) = delete;
  GenicamFile& operator=(const GenicamFile&) = delete;

  // Opens the camera file for writing, writes all `size` bytes and closes it. Throws
  // quarx::CoreException (result 4, detail 7) naming the stage that failed. The bytes go in
  // pieces; a stop request (util/stop_request.h) ends the upload between two of them. After a
  // failure or a stop, a file the camera may hold open is closed once more; that close's own
  // failure is only logged.
  void Write(const std::string& deviceFileName, const void* data, size_t size);
  // Throws unless the camera's status for the last file operation reads exactly "Success".
  void CheckStatus(const std::string& operation, const std::string& deviceFileName);

 private:
  // Writes the image piece by piece; returns the bytes the camera took.
  int64_t WritePieces(const std::string& deviceFileName, const uint8_t* data, int64_t size);
  void CloseAfterFailure(const std::string& deviceFileName) noexcept;

  std::unique_ptr<FileAccess> file_;
};

}  // namespace quarx::core
