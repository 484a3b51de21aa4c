#pragma once
// The picture of an acquired buffer; it borrows from its buffer and is used only while the
// buffer has not been given back.

#include <cstdint>
#include <memory>

#include "pixelformat/pixel_format.h"
#include "sdkadaptor/src/image.h"

namespace quarx::core {

class Image {
 public:
  // Takes the adaptor image over; the caller's pointer is left empty. An empty image reads 0
  // everywhere and has no pixel format.
  explicit Image(std::unique_ptr<sdkadaptor::InterfaceImage>& image);
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  bool IsEmpty() const { return !image_; }
  unsigned int GetBitsPerComponent() const;
  unsigned int GetBitsPerPixel() const;
  uint64_t GetBlockID() const;
  unsigned int GetWidth() const;
  unsigned int GetImageSize() const;
  unsigned int GetHeight() const;
  uint8_t* GetDataPointer() const;
  // Throws AcqusitionException (detail 1001) for an empty image.
  pixelformat::PixelFormat GetPixelFormat() const;
  uint64_t GetReceptionTime() const;
  uint64_t GetTimestamp() const;
  bool IsImageDropped() const;

 private:
  std::unique_ptr<sdkadaptor::InterfaceImage> image_;
};

}  // namespace quarx::core
