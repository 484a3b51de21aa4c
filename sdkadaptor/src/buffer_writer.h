#pragma once
// Stores the picture of a buffer as a BMP, TIFF or raw file.

#include <memory>
#include <string>

#include "sdkadaptor/src/buffer.h"
#include "sdkadaptor/src/quarx_types.h"

class PvBufferWriter;

namespace quarx::sdkadaptor {

class InteraceBufferWriter {
 public:
  virtual void Store(InterfaceBuffer* buffer, const std::string& path, BufferFormatType format) = 0;

 protected:
  // Writers are used as local objects, never deleted through this interface.
  ~InteraceBufferWriter() = default;
};

class BufferWriter : public InteraceBufferWriter {
 public:
  BufferWriter();
  ~BufferWriter();
  BufferWriter(const BufferWriter&) = delete;
  BufferWriter& operator=(const BufferWriter&) = delete;

  // Throws std::out_of_range for a format outside BMP, TIF and RAW, and ExceptionSdkAdaptor
  // when the buffer holds no picture or the file cannot be written.
  void Store(InterfaceBuffer* buffer, const std::string& path, BufferFormatType format) override;

 private:
  std::unique_ptr<PvBufferWriter> writer_;
};

}  // namespace quarx::sdkadaptor
