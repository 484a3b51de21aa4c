#pragma once
// One acquired buffer as its caller owns it: counters, times, data, picture, chunk values and
// storing it as an image file. Destroying it gives it back to its stream's queue.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/chunk_parser.h"
#include "core/image.h"
#include "sdkadaptor/src/buffer.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::core {

class Stream;

class Buffer {
 public:
  // Made by Stream::RetrieveBuffer; takes the adaptor buffer over.
  Buffer(sdkadaptor::InterfaceBuffer* buffer, Stream* stream, const std::shared_ptr<ChunkParser>& chunkParser);
  // Gives the buffer back to its stream while the stream exists; never throws.
  ~Buffer();
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  uint64_t GetBlockID() const;
  uint8_t* GetData() const;
  uint32_t GetIgnoredPacketCount() const;
  uint32_t GetLostPacketCount() const;
  uint32_t GetPayloadSize() const;
  uint32_t GetPacketOutOfOrderCount() const;
  uint32_t GetPacketsRecoveredCount() const;
  uint64_t GetReceptionTime() const;
  uint32_t GetResendGroupRequestedCount() const;
  uint32_t GetResendPacketRequestedCount() const;
  uint64_t GetTimestamp() const;

  // An image holding nothing when the buffer carries no picture.
  std::unique_ptr<Image> GetImage() const;
  std::map<std::string, std::string> GetChunkValues(const std::vector<std::string>& names) const;

  // Writes the picture as BMP, TIFF or raw, chosen by ".BMP", ".TIF" or ".RAW" in the path
  // (any case). An unknown extension throws CoreException (result 7, detail 0), a failed
  // write CoreException (result 4, detail 1).
  void Store(const std::string& path);
  sdkadaptor::BufferFormatType GetFileExtention(const std::string& path) const;

  // Called by the stream when it goes first.
  void SetStreamIsInvalid() { stream_valid_ = false; }

 private:
  // Owned; deleted by the destructor.
  sdkadaptor::InterfaceBuffer* buffer_;
  // Shared, so that the parser outlives the stream for buffers still held.
  std::shared_ptr<ChunkParser> chunk_parser_;
  Stream* stream_;
  bool stream_valid_;
};

}  // namespace quarx::core
