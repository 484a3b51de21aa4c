#pragma once
// Writes the picture of a buffer to a file: BMP (mono scaled to 8 bits with a grey palette,
// Bayer demosaiced, RGB8 and BGR8 as 24-bit), uncompressed TIFF through libtiff (mono as 8- or
// 16-bit grey with its values unchanged, Bayer demosaiced to 8- or 16-bit RGB, RGB8 and BGR8
// as RGB8) or raw pixel bytes (any type). Unpacked Mono and Bayer pixel types of 8 to 16 bits
// only; packed ones are refused.

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
