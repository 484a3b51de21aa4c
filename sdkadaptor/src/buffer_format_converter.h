#pragma once
// Turns the system's file format of a stored buffer into the camera SDK's.

#include <unordered_map>

#include "camerasdk/PvBufferWriter.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::sdkadaptor {

class BufferFormatConverter {
 public:
  // Throws std::out_of_range for a value without a row.
  static PvBufferFormatType ConvertTo(BufferFormatType format);

 private:
  static const std::unordered_map<BufferFormatType, PvBufferFormatType> convert_tables;
};

}  // namespace quarx::sdkadaptor
