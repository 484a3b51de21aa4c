#pragma once
// The picture of a buffer: the abstract image the core holds, and its implementation over
// the SDK image, which belongs to its buffer.

#include <cstdint>

#include "pixelformat/pixel_format.h"

class PvImage;

namespace quarx::sdkadaptor {

class InterfaceImage {
 public:
  virtual ~InterfaceImage() = default;

  virtual void Alloc(unsigned int width, unsigned int height, const pixelformat::PixelFormat& format, uint16_t paddingX,
                     uint16_t paddingY, uint32_t maximumChunkLength) = 0;
  virtual void Attach(void* data, unsigned int width, unsigned int height, const pixelformat::PixelFormat& format,
                      uint16_t paddingX, uint16_t paddingY) = 0;
  virtual void Detach() = 0;
  virtual unsigned int GetBitsPerComponent() const = 0;
  virtual unsigned int GetBitsPerPixel() const = 0;
  virtual uint64_t GetBlockID() const = 0;
  virtual unsigned int GetWidth() const = 0;
  virtual unsigned int GetImageSize() const = 0;
  virtual unsigned int GetHeight() const = 0;
  virtual unsigned int GetOffsetX() const = 0;
  virtual unsigned int GetOffsetY() const = 0;
  virtual uint16_t GetPaddingX() const = 0;
  virtual uint16_t GetPaddingY() const = 0;
  virtual uint8_t* GetDataPointer() const = 0;
  // Throws ExceptionSdkAdaptor (NotSupported) for a pixel type without a pixel-format class.
  virtual pixelformat::PixelFormat GetPixelFormat() const = 0;
  virtual uint64_t GetReceptionTime() const = 0;
  virtual uint64_t GetTimestamp() const = 0;
  virtual bool IsColor() const = 0;
  virtual bool IsImageDropped() const = 0;
};

class Image : public InterfaceImage {
 public:
  // The SDK image is borrowed from its buffer and must not be used once the buffer is gone.
  explicit Image(PvImage* image);
  ~Image() override = default;

  void Alloc(unsigned int width, unsigned int height, const pixelformat::PixelFormat& format, uint16_t paddingX,
             uint16_t paddingY, uint32_t maximumChunkLength) override;
  void Attach(void* data, unsigned int width, unsigned int height, const pixelformat::PixelFormat& format,
              uint16_t paddingX, uint16_t paddingY) override;
  void Detach() override;
  unsigned int GetBitsPerComponent() const override;
  unsigned int GetBitsPerPixel() const override;
  uint64_t GetBlockID() const override;
  unsigned int GetWidth() const override;
  unsigned int GetImageSize() const override;
  unsigned int GetHeight() const override;
  unsigned int GetOffsetX() const override;
  unsigned int GetOffsetY() const override;
  uint16_t GetPaddingX() const override;
  uint16_t GetPaddingY() const override;
  uint8_t* GetDataPointer() const override;
  pixelformat::PixelFormat GetPixelFormat() const override;
  uint64_t GetReceptionTime() const override;
  uint64_t GetTimestamp() const override;
  bool IsColor() const override;
  bool IsImageDropped() const override;

 private:
  // The SDK image, or a failure when there is none to change.
  PvImage& Writable(const char* operation) const;

  PvImage* image_;
};

}  // namespace quarx::sdkadaptor
