// Buffers over SDK buffers: getters, setters and the way back into the stream's queue.
#include "sdkadaptor/src/buffer.h"

#include "camerasdk/PvBuffer.h"
#include "camerasdk/PvStream.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInternalError = 0x1000002;

}  // namespace

Buffer::Buffer() : buffer_(nullptr), stream_(nullptr), owned_(std::make_unique<PvBuffer>(PvPayloadTypeImage)) {
  buffer_ = owned_.get();
}

Buffer::Buffer(PvBuffer* buffer, PvStream* stream) : buffer_(buffer), stream_(stream) {}

Buffer::~Buffer() {
  // A retrieved buffer that did not go back belongs to nobody else: its stream has let go of
  // it (the stream is gone) or never will get it back. Deleting it also takes it off the
  // books of a stream that is still there.
  if (!owned_ && stream_ != nullptr && buffer_ != nullptr && !released_) {
    delete buffer_;
  }
}

uint32_t Buffer::GetAcquiredSize() const { return buffer_ == nullptr ? 0 : buffer_->GetAcquiredSize(); }

uint64_t Buffer::GetBlockID() const { return buffer_ == nullptr ? 0 : buffer_->GetBlockID(); }

uint8_t* Buffer::GetDataPointer() const { return buffer_ == nullptr ? nullptr : buffer_->GetDataPointer(); }

uint64_t Buffer::GetID() const { return buffer_ == nullptr ? 0 : buffer_->GetID(); }

uint32_t Buffer::GetIgnoredPacketCount() const { return buffer_ == nullptr ? 0 : buffer_->GetIgnoredPacketCount(); }

uint32_t Buffer::GetLostPacketCount() const { return buffer_ == nullptr ? 0 : buffer_->GetLostPacketCount(); }

uint32_t Buffer::GetPayloadSize() const { return buffer_ == nullptr ? 0 : buffer_->GetPayloadSize(); }

uint32_t Buffer::GetPacketOutOfOrderCount() const {
  return buffer_ == nullptr ? 0 : buffer_->GetPacketOutOfOrderCount();
}

uint32_t Buffer::GetPacketsRecoveredCount() const {
  return buffer_ == nullptr ? 0 : buffer_->GetPacketsRecoveredCount();
}

uint64_t Buffer::GetReceptionTime() const { return buffer_ == nullptr ? 0 : buffer_->GetReceptionTime(); }

uint32_t Buffer::GetResendGroupRequestedCount() const {
  return buffer_ == nullptr ? 0 : buffer_->GetResendGroupRequestedCount();
}

uint32_t Buffer::GetResendPacketRequestedCount() const {
  return buffer_ == nullptr ? 0 : buffer_->GetResendPacketRequestedCount();
}

uint64_t Buffer::GetTimestamp() const { return buffer_ == nullptr ? 0 : buffer_->GetTimestamp(); }

void Buffer::SetBlockID(uint64_t blockId) {
  if (buffer_ == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "Failed to SetBlockID()");
  }
  ApplyResultRule(buffer_->SetBlockID(blockId), "SetBlockID", __FILE__, __LINE__);
}

void Buffer::SetID(uint64_t id) {
  if (buffer_ == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "Failed to SetID()");
  }
  buffer_->SetID(id);
}

void Buffer::SetReceptionTime(uint64_t receptionTime) {
  if (buffer_ == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "Failed to SetReceptionTime()");
  }
  ApplyResultRule(buffer_->SetReceptionTime(receptionTime), "SetReceptionTime", __FILE__, __LINE__);
}

void Buffer::SetTimestamp(uint64_t timestamp) {
  if (buffer_ == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "Failed to SetTimestamp()");
  }
  ApplyResultRule(buffer_->SetTimestamp(timestamp), "SetTimestamp", __FILE__, __LINE__);
}

std::unique_ptr<InterfaceImage> Buffer::GetImage() const {
  if (buffer_ == nullptr || buffer_->GetImage() == nullptr) {
    return nullptr;
  }
  return std::make_unique<Image>(buffer_->GetImage());
}

void Buffer::Release() {
  // Only into the stream that still holds it: a stream that went away has let go of its
  // buffers, and this pointer then leads nowhere.
  if (buffer_ == nullptr || stream_ == nullptr || released_ || buffer_->GetStream() != stream_) {
    return;
  }
  const PvResult result = stream_->QueueBuffer(buffer_);
  Result::LoggingPvResult(result, "Release");
  released_ = result.IsOK();
}

}  // namespace quarx::sdkadaptor
