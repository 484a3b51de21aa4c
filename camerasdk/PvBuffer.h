#pragma once
// A buffer of acquired data: allocated by the caller, queued into a stream, filled by the
// stream's receiver and retrieved with its picture, times and block id.

#include <cstdint>
#include <memory>

#include "camerasdk/PvImage.h"
#include "camerasdk/PvResult.h"

typedef struct _ArvBuffer ArvBuffer;
class PvStream;

enum PvPayloadType {
  PvPayloadTypeNone = 0,
  PvPayloadTypeImage = 1,
};

class PvBuffer {
 public:
  explicit PvBuffer(PvPayloadType type = PvPayloadTypeImage);
  // A buffer still queued in a stream is taken out of it first.
  ~PvBuffer();
  PvBuffer(const PvBuffer&) = delete;
  PvBuffer& operator=(const PvBuffer&) = delete;

  PvPayloadType GetPayloadType() const { return type_; }
  // Replaces any earlier memory; refused while the buffer is queued in a stream.
  PvResult Alloc(uint32_t size);
  void Free();
  // Bytes allocated.
  uint32_t GetSize() const { return size_; }
  // Bytes the last acquisition received.
  uint32_t GetAcquiredSize() const { return acquired_size_; }
  uint32_t GetPayloadSize() const { return acquired_size_; }
  // Null before Alloc.
  uint8_t* GetDataPointer() const;

  uint64_t GetID() const { return id_; }
  void SetID(uint64_t id) { id_ = id; }
  uint64_t GetBlockID() const { return block_id_; }
  PvResult SetBlockID(uint64_t blockId);
  // Nanoseconds: the camera's clock, and the host's when the buffer was completed.
  uint64_t GetTimestamp() const { return timestamp_; }
  PvResult SetTimestamp(uint64_t timestamp);
  uint64_t GetReceptionTime() const { return reception_time_; }
  PvResult SetReceptionTime(uint64_t receptionTime);

  // Aravis counts packets per stream, not per buffer; these read 0.
  uint32_t GetLostPacketCount() const { return 0; }
  uint32_t GetIgnoredPacketCount() const { return 0; }
  uint32_t GetPacketOutOfOrderCount() const { return 0; }
  uint32_t GetPacketsRecoveredCount() const { return 0; }
  uint32_t GetResendGroupRequestedCount() const { return 0; }
  uint32_t GetResendPacketRequestedCount() const { return 0; }

  // How the last acquisition into this buffer ended.
  const PvResult& GetOperationResult() const { return operation_result_; }
  // The stream the buffer is queued in or was retrieved from; null once that stream is gone,
  // and then the buffer belongs to whoever holds it.
  PvStream* GetStream() const { return stream_; }
  bool IsQueued() const { return queued_; }

  // Null for a buffer whose payload is not an image.
  PvImage* GetImage() { return image_.get(); }
  const PvImage* GetImage() const { return image_.get(); }

 private:
  friend class PvStream;
  friend class PvImage;

  // Reads what the receiver put into the Aravis buffer.
  void TakeAcquisition();

  PvPayloadType type_;
  // One reference of our own; the data lives as long as the Aravis buffer does.
  ArvBuffer* buffer_ = nullptr;
  uint32_t size_ = 0;
  uint32_t acquired_size_ = 0;
  uint64_t id_ = 0;
  uint64_t block_id_ = 0;
  uint64_t timestamp_ = 0;
  uint64_t reception_time_ = 0;
  PvResult operation_result_;
  std::unique_ptr<PvImage> image_;
  // The stream the buffer is queued in or was retrieved from; cleared when that stream goes.
  PvStream* stream_ = nullptr;
  bool queued_ = false;
};
