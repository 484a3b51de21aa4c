// Buffers over Aravis buffers: memory, acquisition results and the picture they hold.
#include "camerasdk/PvBuffer.h"

#include <arv.h>

#include <mutex>
#include <unordered_map>

#include "camerasdk/PvStream.h"
#include "camerasdk/arv_support.h"
#include "camerasdk/buffer_registry.h"

using camerasdk_detail::Failure;

namespace camerasdk_detail {

namespace {

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unordered_map<const uint8_t*, ArvBuffer*>& Registry() {
  static std::unordered_map<const uint8_t*, ArvBuffer*> registry;
  return registry;
}

}  // namespace

void RegisterBufferData(const uint8_t* data, ArvBuffer* buffer) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  Registry()[data] = buffer;
}

void ForgetBufferData(const uint8_t* data) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  Registry().erase(data);
}

ArvBuffer* FindBufferByData(const uint8_t* data) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  const auto it = Registry().find(data);
  return it == Registry().end() ? nullptr : ARV_BUFFER(g_object_ref(it->second));
}

}  // namespace camerasdk_detail

namespace {

PvResult ResultFromStatus(ArvBufferStatus status) {
  switch (status) {
    case ARV_BUFFER_STATUS_SUCCESS:
      return PvResult();
    case ARV_BUFFER_STATUS_TIMEOUT:
      return Failure(PvResult::Code::TIMEOUT, "The frame was not complete in time");
    case ARV_BUFFER_STATUS_MISSING_PACKETS:
      return Failure(PvResult::Code::MISSING_PACKETS, "Packets of the frame are missing");
    case ARV_BUFFER_STATUS_WRONG_PACKET_ID:
      return Failure(PvResult::Code::MISSING_PACKETS, "A packet of another frame arrived");
    case ARV_BUFFER_STATUS_SIZE_MISMATCH:
      return Failure(PvResult::Code::BUFFER_TOO_SMALL, "The frame did not fit into the buffer");
    case ARV_BUFFER_STATUS_ABORTED:
      return Failure(PvResult::Code::ABORTED, "The acquisition was aborted");
    default:
      return Failure(PvResult::Code::GENERIC_ERROR,
                     "The frame ended with buffer status " + std::to_string(static_cast<int>(status)));
  }
}

bool CarriesImage(ArvBufferPayloadType type) {
  return type == ARV_BUFFER_PAYLOAD_TYPE_IMAGE || type == ARV_BUFFER_PAYLOAD_TYPE_EXTENDED_CHUNK_DATA;
}

}  // namespace

PvBuffer::PvBuffer(PvPayloadType type) : type_(type) {
  if (type_ == PvPayloadTypeImage) {
    image_.reset(new PvImage(this));
  }
}

PvBuffer::~PvBuffer() {
  if (stream_ != nullptr) {
    stream_->ForgetBuffer(this);
  }
  Free();
}

PvResult PvBuffer::Alloc(uint32_t size) {
  if (queued_) {
    return Failure(PvResult::Code::STATE_ERROR, "The buffer is queued in a stream");
  }
  Free();
  if (size == 0) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "A buffer of 0 bytes cannot hold data");
  }
  buffer_ = arv_buffer_new_allocate(size);
  if (buffer_ == nullptr) {
    return Failure(PvResult::Code::GENERIC_ERROR, "Cannot allocate " + std::to_string(size) + " bytes");
  }
  size_ = size;
  camerasdk_detail::RegisterBufferData(GetDataPointer(), buffer_);
  return PvResult();
}

void PvBuffer::Free() {
  if (buffer_ != nullptr) {
    camerasdk_detail::ForgetBufferData(GetDataPointer());
    g_object_unref(buffer_);
    buffer_ = nullptr;
  }
  size_ = 0;
  acquired_size_ = 0;
  if (image_) {
    image_->Clear();
  }
}

uint8_t* PvBuffer::GetDataPointer() const {
  if (buffer_ == nullptr) {
    return nullptr;
  }
  // The receiver writes into this memory; Aravis hands it out as const only by habit.
  return static_cast<uint8_t*>(const_cast<void*>(arv_buffer_get_data(buffer_, nullptr)));
}

PvResult PvBuffer::SetBlockID(uint64_t blockId) {
  block_id_ = blockId;
  return PvResult();
}

PvResult PvBuffer::SetTimestamp(uint64_t timestamp) {
  timestamp_ = timestamp;
  return PvResult();
}

PvResult PvBuffer::SetReceptionTime(uint64_t receptionTime) {
  reception_time_ = receptionTime;
  return PvResult();
}

void PvBuffer::TakeAcquisition() {
  size_t received = 0;
  arv_buffer_get_data(buffer_, &received);
  acquired_size_ = static_cast<uint32_t>(received);
  block_id_ = arv_buffer_get_frame_id(buffer_);
  timestamp_ = arv_buffer_get_timestamp(buffer_);
  reception_time_ = arv_buffer_get_system_timestamp(buffer_);
  const ArvBufferStatus status = arv_buffer_get_status(buffer_);
  operation_result_ = ResultFromStatus(status);
  if (!image_) {
    return;
  }
  image_->Clear();
  if (status != ARV_BUFFER_STATUS_SUCCESS || !CarriesImage(arv_buffer_get_payload_type(buffer_))) {
    return;
  }
  gint x = 0;
  gint y = 0;
  gint width = 0;
  gint height = 0;
  arv_buffer_get_image_region(buffer_, &x, &y, &width, &height);
  gint paddingX = 0;
  gint paddingY = 0;
  arv_buffer_get_image_padding(buffer_, &paddingX, &paddingY);
  size_t imageSize = 0;
  const void* imageData = arv_buffer_get_image_data(buffer_, &imageSize);
  image_->Describe(static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                   static_cast<PvPixelType>(arv_buffer_get_image_pixel_format(buffer_)),
                   static_cast<uint32_t>(paddingX), static_cast<uint32_t>(paddingY));
  image_->offset_x_ = static_cast<uint32_t>(x);
  image_->offset_y_ = static_cast<uint32_t>(y);
  image_->data_ = static_cast<uint8_t*>(const_cast<void*>(imageData));
  image_->received_size_ = static_cast<uint32_t>(imageSize);
  image_->received_ = true;
}
