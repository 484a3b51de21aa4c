#pragma once
// One buffer of acquired data: the abstract buffer the core holds, and its implementation over
// an SDK buffer of a stream's queue (or a fresh one of its own).

#include <cstdint>
#include <memory>

#include "sdkadaptor/src/image.h"

class PvBuffer;
class PvStream;

namespace quarx::sdkadaptor {

class InterfaceBuffer {
 public:
  virtual ~InterfaceBuffer() = default;

  // Getters read 0 (a null data pointer) when there is no SDK buffer.
  virtual uint32_t GetAcquiredSize() const = 0;
  virtual uint64_t GetBlockID() const = 0;
  virtual uint8_t* GetDataPointer() const = 0;
  virtual uint64_t GetID() const = 0;
  virtual uint32_t GetIgnoredPacketCount() const = 0;
  virtual uint32_t GetLostPacketCount() const = 0;
  virtual uint32_t GetPayloadSize() const = 0;
  virtual uint32_t GetPacketOutOfOrderCount() const = 0;
  virtual uint32_t GetPacketsRecoveredCount() const = 0;
  virtual uint64_t GetReceptionTime() const = 0;
  virtual uint32_t GetResendGroupRequestedCount() const = 0;
  virtual uint32_t GetResendPacketRequestedCount() const = 0;
  virtual uint64_t GetTimestamp() const = 0;
  // Without an SDK buffer these throw InternalError.
  virtual void SetBlockID(uint64_t blockId) = 0;
  virtual void SetID(uint64_t id) = 0;
  virtual void SetReceptionTime(uint64_t receptionTime) = 0;
  virtual void SetTimestamp(uint64_t timestamp) = 0;
  // Null when there is no SDK buffer or it holds no image.
  virtual std::unique_ptr<InterfaceImage> GetImage() const = 0;
  // Gives the buffer back to its stream's queue; never throws.
  virtual void Release() = 0;
};

class Buffer : public InterfaceBuffer {
 public:
  // A fresh SDK buffer of its own, in no stream.
  Buffer();
  // A buffer retrieved from `stream`. It goes back to the stream through Release; one that was
  // never given back (its stream is gone, or nobody asked) is deleted with this object, since
  // nothing else can reach it. With a null stream the SDK buffer stays its owner's.
  Buffer(PvBuffer* buffer, PvStream* stream);
  ~Buffer() override;
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  uint32_t GetAcquiredSize() const override;
  uint64_t GetBlockID() const override;
  uint8_t* GetDataPointer() const override;
  uint64_t GetID() const override;
  uint32_t GetIgnoredPacketCount() const override;
  uint32_t GetLostPacketCount() const override;
  uint32_t GetPayloadSize() const override;
  uint32_t GetPacketOutOfOrderCount() const override;
  uint32_t GetPacketsRecoveredCount() const override;
  uint64_t GetReceptionTime() const override;
  uint32_t GetResendGroupRequestedCount() const override;
  uint32_t GetResendPacketRequestedCount() const override;
  uint64_t GetTimestamp() const override;
  void SetBlockID(uint64_t blockId) override;
  void SetID(uint64_t id) override;
  void SetReceptionTime(uint64_t receptionTime) override;
  void SetTimestamp(uint64_t timestamp) override;
  std::unique_ptr<InterfaceImage> GetImage() const override;
  void Release() override;

 private:
  PvBuffer* buffer_;
  PvStream* stream_;
  std::unique_ptr<PvBuffer> owned_;
  bool released_ = false;
};

}  // namespace quarx::sdkadaptor
