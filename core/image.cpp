// Images of acquired buffers.
#include "core/image.h"

#include "core/exception_acqusition_impl.h"

namespace quarx::core {

Image::Image(std::unique_ptr<sdkadaptor::InterfaceImage>& image) : image_(std::move(image)) {}

Image::~Image() = default;

unsigned int Image::GetBitsPerComponent() const { return image_ ? image_->GetBitsPerComponent() : 0; }

unsigned int Image::GetBitsPerPixel() const { return image_ ? image_->GetBitsPerPixel() : 0; }

uint64_t Image::GetBlockID() const { return image_ ? image_->GetBlockID() : 0; }

unsigned int Image::GetWidth() const { return image_ ? image_->GetWidth() : 0; }

unsigned int Image::GetImageSize() const { return image_ ? image_->GetImageSize() : 0; }

unsigned int Image::GetHeight() const { return image_ ? image_->GetHeight() : 0; }

uint8_t* Image::GetDataPointer() const { return image_ ? image_->GetDataPointer() : nullptr; }

pixelformat::PixelFormat Image::GetPixelFormat() const {
  if (!image_) {
    throw AcqusitionExceptionImpl("GetPixelFormat", __LINE__, ERR_ACQUSITION_RETRIEVE_OTHER,
                                  "The buffer holds no image");
  }
  return image_->GetPixelFormat();
}

uint64_t Image::GetReceptionTime() const { return image_ ? image_->GetReceptionTime() : 0; }

uint64_t Image::GetTimestamp() const { return image_ ? image_->GetTimestamp() : 0; }

bool Image::IsImageDropped() const { return image_ && image_->IsImageDropped(); }

}  // namespace quarx::core
