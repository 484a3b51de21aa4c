#pragma once
// The picture held by a buffer: size, pixel type, offsets, padding and where its pixels lie.
// It belongs to its buffer; it either describes what the buffer received, or pixels the
// caller attached or allocated.

#include <cstdint>

#include "camerasdk/PvPixelType.h"
#include "camerasdk/PvResult.h"

class PvBuffer;

class PvImage {
 public:
  PvImage(const PvImage&) = delete;
  PvImage& operator=(const PvImage&) = delete;

  uint32_t GetWidth() const { return width_; }
  uint32_t GetHeight() const { return height_; }
  uint32_t GetOffsetX() const { return offset_x_; }
  uint32_t GetOffsetY() const { return offset_y_; }
  uint32_t GetPaddingX() const { return padding_x_; }
  uint32_t GetPaddingY() const { return padding_y_; }
  PvPixelType GetPixelType() const { return pixel_type_; }
  uint32_t GetBitsPerPixel() const { return PvPixelTypeGetBitsPerPixel(pixel_type_); }
  // Bytes of pixel data, line and image padding included.
  uint32_t GetImageSize() const;
  // Null while the image describes no pixels.
  uint8_t* GetDataPointer() const;
  // The owning buffer's values.
  uint64_t GetBlockID() const;
  uint64_t GetTimestamp() const;
  uint64_t GetReceptionTime() const;
  // True when the buffer's last acquisition did not complete.
  bool IsImageDropped() const;

  // Allocates the owning buffer's memory for such a picture (and chunk data after it).
  PvResult Alloc(uint32_t width, uint32_t height, PvPixelType pixelType, uint16_t paddingX = 0, uint16_t paddingY = 0,
                 uint32_t maximumChunkLength = 0);
  // Describes pixels the caller owns; they must outlive the attachment.
  PvResult Attach(void* data, uint32_t width, uint32_t height, PvPixelType pixelType, uint16_t paddingX = 0,
                  uint16_t paddingY = 0, uint32_t maximumChunkLength = 0);
  void Detach();

 private:
  friend class PvBuffer;
  friend class PvStream;
  explicit PvImage(PvBuffer* owner) : owner_(owner) {}

  void Describe(uint32_t width, uint32_t height, PvPixelType pixelType, uint32_t paddingX, uint32_t paddingY);
  void Clear();

  PvBuffer* owner_;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  uint32_t offset_x_ = 0;
  uint32_t offset_y_ = 0;
  uint32_t padding_x_ = 0;
  uint32_t padding_y_ = 0;
  PvPixelType pixel_type_ = PvPixelUndefined;
  // Pixels outside the owning buffer (attached), or inside it at an offset (received); with
  // neither, the image starts at the buffer's data.
  uint8_t* data_ = nullptr;
  // Set when the size is known from the acquisition rather than computed.
  uint32_t received_size_ = 0;
  bool received_ = false;
};
