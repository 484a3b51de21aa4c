// Images over SDK images.
#include "sdkadaptor/src/image.h"

#include <fmt/format.h>

#include <functional>

#include "camerasdk/PvImage.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/pixel_type_converter.h"
#include "sdkadaptor/src/result_rule.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kNotSupported = 26;
constexpr CodeEnum kInternalError = 0x1000002;
constexpr uint32_t kPaddingMask = 0xFFFF;
constexpr uint32_t kNoChunkData = 0;

}  // namespace

Image::Image(PvImage* image) : image_(image) {}

PvImage& Image::Writable(const char* operation) const {
  if (image_ == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, fmt::format("Failed to {}(): no image", operation));
  }
  return *image_;
}

void Image::Alloc(unsigned int width, unsigned int height, const pixelformat::PixelFormat& format, uint16_t paddingX,
                  uint16_t paddingY, uint32_t maximumChunkLength) {
  const PvResult result = Writable("Alloc").Alloc(width, height, PixelTypeConverter::ConvertTo(format), paddingX,
                                                  paddingY, maximumChunkLength);
  ApplyResultRule(result, "Alloc", __FILE__, __LINE__);
}

void Image::Attach(void* data, unsigned int width, unsigned int height, const pixelformat::PixelFormat& format,
                   uint16_t paddingX, uint16_t paddingY) {
  const PvResult result = Writable("Attach").Attach(data, width, height, PixelTypeConverter::ConvertTo(format),
                                                    paddingX, paddingY, kNoChunkData);
  ApplyResultRule(result, "Attach", __FILE__, __LINE__);
}

void Image::Detach() {
  if (image_ != nullptr) {
    image_->Detach();
  }
}

unsigned int Image::GetBitsPerComponent() const {
  return image_ == nullptr ? 0 : PvPixelTypeGetBitsPerComponent(image_->GetPixelType());
}

unsigned int Image::GetBitsPerPixel() const { return image_ == nullptr ? 0 : image_->GetBitsPerPixel(); }

uint64_t Image::GetBlockID() const { return image_ == nullptr ? 0 : image_->GetBlockID(); }

unsigned int Image::GetWidth() const { return image_ == nullptr ? 0 : image_->GetWidth(); }

unsigned int Image::GetImageSize() const { return image_ == nullptr ? 0 : image_->GetImageSize(); }

unsigned int Image::GetHeight() const { return image_ == nullptr ? 0 : image_->GetHeight(); }

unsigned int Image::GetOffsetX() const { return image_ == nullptr ? 0 : image_->GetOffsetX(); }

unsigned int Image::GetOffsetY() const { return image_ == nullptr ? 0 : image_->GetOffsetY(); }

uint16_t Image::GetPaddingX() const {
  return image_ == nullptr ? 0 : static_cast<uint16_t>(image_->GetPaddingX() & kPaddingMask);
}

uint16_t Image::GetPaddingY() const {
  return image_ == nullptr ? 0 : static_cast<uint16_t>(image_->GetPaddingY() & kPaddingMask);
}

uint8_t* Image::GetDataPointer() const { return image_ == nullptr ? nullptr : image_->GetDataPointer(); }

pixelformat::PixelFormat Image::GetPixelFormat() const {
  const PvPixelType type = image_ == nullptr ? PvPixelUndefined : image_->GetPixelType();
  try {
    return pixelformat::PixelFormat::Create(type);
  } catch (const std::bad_function_call&) {
    // The camera chose the pixel type; one without a format class is refused, not fatal.
    throw ExceptionSdkAdaptor(kNotSupported, fmt::format("Unsupported pixel type(0x{:08X})", type));
  }
}

uint64_t Image::GetReceptionTime() const { return image_ == nullptr ? 0 : image_->GetReceptionTime(); }

uint64_t Image::GetTimestamp() const { return image_ == nullptr ? 0 : image_->GetTimestamp(); }

bool Image::IsColor() const { return image_ != nullptr && PvPixelTypeIsColor(image_->GetPixelType()); }

bool Image::IsImageDropped() const { return image_ != nullptr && image_->IsImageDropped(); }

}  // namespace quarx::sdkadaptor
