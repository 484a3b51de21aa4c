// Pictures of buffers: what a buffer received, or pixels described by the caller.
#include "camerasdk/PvImage.h"

#include <limits>

#include "camerasdk/PvBuffer.h"
#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;

namespace {

constexpr uint64_t kBitsPerByte = 8;

// Bytes of a picture with its line and image padding, or 0 when it cannot be described.
uint64_t ComputeImageSize(uint32_t width, uint32_t height, PvPixelType pixelType, uint32_t paddingX,
                          uint32_t paddingY) {
  const uint64_t bitsPerPixel = PvPixelTypeGetBitsPerPixel(pixelType);
  const uint64_t lineBytes = (static_cast<uint64_t>(width) * bitsPerPixel + kBitsPerByte - 1) / kBitsPerByte;
  return (lineBytes + paddingX) * height + paddingY;
}

PvResult CheckDescription(uint32_t width, uint32_t height, PvPixelType pixelType) {
  if (width == 0 || height == 0) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "An image needs a width and a height");
  }
  if (PvPixelTypeGetBitsPerPixel(pixelType) == 0) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "Pixel type " + std::to_string(pixelType) + " has no size");
  }
  return PvResult();
}

}  // namespace

uint32_t PvImage::GetImageSize() const {
  if (received_) {
    return received_size_;
  }
  if (width_ == 0 || height_ == 0) {
    return 0;
  }
  return static_cast<uint32_t>(ComputeImageSize(width_, height_, pixel_type_, padding_x_, padding_y_));
}

uint8_t* PvImage::GetDataPointer() const { return data_ != nullptr ? data_ : owner_->GetDataPointer(); }

uint64_t PvImage::GetBlockID() const { return owner_->GetBlockID(); }

uint64_t PvImage::GetTimestamp() const { return owner_->GetTimestamp(); }

uint64_t PvImage::GetReceptionTime() const { return owner_->GetReceptionTime(); }

bool PvImage::IsImageDropped() const { return owner_->GetOperationResult().IsFailure(); }

PvResult PvImage::Alloc(uint32_t width, uint32_t height, PvPixelType pixelType, uint16_t paddingX, uint16_t paddingY,
                        uint32_t maximumChunkLength) {
  PvResult result = CheckDescription(width, height, pixelType);
  if (result.IsFailure()) {
    return result;
  }
  const uint64_t size = ComputeImageSize(width, height, pixelType, paddingX, paddingY) + maximumChunkLength;
  if (size > std::numeric_limits<uint32_t>::max()) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "The image needs more than 4 GiB");
  }
  result = owner_->Alloc(static_cast<uint32_t>(size));
  if (result.IsFailure()) {
    return result;
  }
  Describe(width, height, pixelType, paddingX, paddingY);
  return PvResult();
}

PvResult PvImage::Attach(void* data, uint32_t width, uint32_t height, PvPixelType pixelType, uint16_t paddingX,
                         uint16_t paddingY, uint32_t /*maximumChunkLength*/) {
  if (data == nullptr) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "No pixels to attach");
  }
  PvResult result = CheckDescription(width, height, pixelType);
  if (result.IsFailure()) {
    return result;
  }
  if (ComputeImageSize(width, height, pixelType, paddingX, paddingY) > std::numeric_limits<uint32_t>::max()) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "The image needs more than 4 GiB");
  }
  Describe(width, height, pixelType, paddingX, paddingY);
  data_ = static_cast<uint8_t*>(data);
  return PvResult();
}

void PvImage::Detach() { Clear(); }

void PvImage::Describe(uint32_t width, uint32_t height, PvPixelType pixelType, uint32_t paddingX, uint32_t paddingY) {
  Clear();
  width_ = width;
  height_ = height;
  pixel_type_ = pixelType;
  padding_x_ = paddingX;
  padding_y_ = paddingY;
}

void PvImage::Clear() {
  width_ = 0;
  height_ = 0;
  offset_x_ = 0;
  offset_y_ = 0;
  padding_x_ = 0;
  padding_y_ = 0;
  pixel_type_ = PvPixelUndefined;
  data_ = nullptr;
  received_size_ = 0;
  received_ = false;
}
