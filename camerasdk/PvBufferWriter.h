#pragma once
// Writes the picture of a buffer to a file: BMP (Mono8 with a grey palette, RGB8 and BGR8 as
// 24-bit), baseline uncompressed TIFF (the same pixel types) or raw pixel bytes (any type).

#include <cstdint>

#include "camerasdk/PvBuffer.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/PvString.h"

enum PvBufferFormatType {
  PvBufferFormatBMP = 0,
  PvBufferFormatRaw = 1,
  PvBufferFormatTIFF = 2,
};

class PvBufferWriter {
 public:
  PvBufferWriter();
  ~PvBufferWriter();
  PvBufferWriter(const PvBufferWriter&) = delete;
  PvBufferWriter& operator=(const PvBufferWriter&) = delete;

  // Creates or replaces the file. `bytesWritten`, when given, receives the file's size.
  PvResult Store(PvBuffer* buffer, const PvString& filename, PvBufferFormatType type = PvBufferFormatBMP,
                 uint32_t* bytesWritten = nullptr);
};
