// Buffers to image files through the SDK's buffer writer.
#include "sdkadaptor/src/buffer_writer.h"

#include <fmt/format.h>

#include "camerasdk/PvBuffer.h"
#include "camerasdk/PvBufferWriter.h"
#include "sdkadaptor/src/buffer_format_converter.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInternalError = 0x1000002;
constexpr uint64_t kBitsPerByte = 8;
constexpr uint32_t kNoChunkData = 0;

}  // namespace

BufferWriter::BufferWriter() : writer_(std::make_unique<PvBufferWriter>()) {}

BufferWriter::~BufferWriter() = default;

void BufferWriter::Store(InterfaceBuffer* buffer, const std::string& path, BufferFormatType format) {
  const PvBufferFormatType sdkFormat = BufferFormatConverter::ConvertTo(format);

  std::unique_ptr<InterfaceImage> source = buffer == nullptr ? nullptr : buffer->GetImage();
  if (source == nullptr) {
    throw ExceptionSdkAdaptor(kInternalError, "Failed to Store(): the buffer holds no image");
  }
  const unsigned int width = source->GetWidth();
  const unsigned int height = source->GetHeight();
  const uint16_t paddingX = source->GetPaddingX();
  const uint64_t lineBytes =
      (static_cast<uint64_t>(width) * source->GetBitsPerPixel() + kBitsPerByte - 1) / kBitsPerByte;
  // The picture is read from the buffer's data: never past what is there. A picture that lies
  // at the start of the data (what a camera delivers, or what was allocated for it) knows its
  // own size; for any other, only what the buffer acquired counts.
  const uint64_t needed = height == 0 ? 0 : (lineBytes + paddingX) * (height - 1) + lineBytes;
  const uint64_t available =
      source->GetDataPointer() == buffer->GetDataPointer() ? source->GetImageSize() : buffer->GetAcquiredSize();
  if (needed > available) {
    throw ExceptionSdkAdaptor(kInternalError, fmt::format("Failed to Store(): {} x {} pixels do not fit in {} bytes",
                                                          width, height, available));
  }

  PvBuffer local(PvPayloadTypeImage);
  PvResult result =
      local.GetImage()->Attach(buffer->GetDataPointer(), width, height, source->GetPixelFormat().GetValue(), paddingX,
                               source->GetPaddingY(), kNoChunkData);
  ApplyResultRule(result, "Store", __FILE__, __LINE__);
  uint32_t written = 0;
  result = writer_->Store(&local, PvString(path), sdkFormat, &written);
  ApplyResultRule(result, "Store", __FILE__, __LINE__);
  util::Log::GetInstance("").logger_->debug("WrittenBytes({})", written);
}

}  // namespace quarx::sdkadaptor
