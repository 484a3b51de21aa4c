// Acquired buffers: the way back to the stream, chunk values and image files.
#include "core/buffer.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>

#include "core/exception_acqusition_impl.h"
#include "core/exception_core_impl.h"
#include "core/stream.h"
#include "sdkadaptor/src/buffer_writer.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "util/quarxlog.h"

namespace quarx::core {
namespace {

spdlog::logger& Log() { return *util::Log::GetInstance("").logger_; }

}  // namespace

Buffer::Buffer(sdkadaptor::InterfaceBuffer* buffer, Stream* stream, const std::shared_ptr<ChunkParser>& chunkParser)
    : buffer_(buffer), chunk_parser_(chunkParser), stream_(stream), stream_valid_(stream != nullptr) {}

Buffer::~Buffer() {
  try {
    if (stream_valid_ && stream_ != nullptr) {
      stream_->QueuedBuffer(buffer_);
    }
  } catch (const std::exception& e) {
    Log().warn("<{}> Failed to give the buffer back ({})", "~Buffer", e.what());
  } catch (...) {
    Log().warn("<{}> Failed to give the buffer back", "~Buffer");
  }
  delete buffer_;
}

uint64_t Buffer::GetBlockID() const { return buffer_->GetBlockID(); }

uint8_t* Buffer::GetData() const { return buffer_->GetDataPointer(); }

uint32_t Buffer::GetIgnoredPacketCount() const { return buffer_->GetIgnoredPacketCount(); }

uint32_t Buffer::GetLostPacketCount() const { return buffer_->GetLostPacketCount(); }

uint32_t Buffer::GetPayloadSize() const { return buffer_->GetPayloadSize(); }

uint32_t Buffer::GetPacketOutOfOrderCount() const { return buffer_->GetPacketOutOfOrderCount(); }

uint32_t Buffer::GetPacketsRecoveredCount() const { return buffer_->GetPacketsRecoveredCount(); }

uint64_t Buffer::GetReceptionTime() const { return buffer_->GetReceptionTime(); }

uint32_t Buffer::GetResendGroupRequestedCount() const { return buffer_->GetResendGroupRequestedCount(); }

uint32_t Buffer::GetResendPacketRequestedCount() const { return buffer_->GetResendPacketRequestedCount(); }

uint64_t Buffer::GetTimestamp() const { return buffer_->GetTimestamp(); }

std::unique_ptr<Image> Buffer::GetImage() const {
  std::unique_ptr<sdkadaptor::InterfaceImage> image = buffer_->GetImage();
  return std::make_unique<Image>(image);
}

std::map<std::string, std::string> Buffer::GetChunkValues(const std::vector<std::string>& names) const {
  if (!chunk_parser_) {
    throw AcqusitionExceptionImpl("GetChunkValues", __LINE__, ERR_ACQUSITION_RETRIEVE_OTHER,
                                  "The buffer's stream has no chunk parser");
  }
  return chunk_parser_->GetChunkValues(buffer_->GetDataPointer(), buffer_->GetPayloadSize(), names);
}

sdkadaptor::BufferFormatType Buffer::GetFileExtention(const std::string& path) const {
  std::string upper = path;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  if (upper.find(".BMP") != std::string::npos) {
    return sdkadaptor::BufferFormatType::BMP;
  }
  if (upper.find(".TIF") != std::string::npos) {
    return sdkadaptor::BufferFormatType::TIF;
  }
  if (upper.find(".RAW") != std::string::npos) {
    return sdkadaptor::BufferFormatType::RAW;
  }
  Log().error("<{}> Unsupported file  extension({})", "GetFileExtention", path);
  throw CoreExceptionImpl("GetFileExtention", RESULT_DEVICE, ERR_UNSUPPORTED_FILE_EXTENSION,
                          CoreExceptionImpl::ERRMSG_UNSUPPORT_FILE_EXTENSION);
}

void Buffer::Store(const std::string& path) {
  const sdkadaptor::BufferFormatType format = GetFileExtention(path);
  sdkadaptor::BufferWriter writer;
  try {
    writer.Store(buffer_, path, format);
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    Log().error("<{}> ({}) {}", "Store", path, SdkAdaptorMessage(e));
    throw CoreExceptionImpl("Store", RESULT_FILE_TRANSFER, ERR_FAILED,
                            fmt::format("<{}> failed to store({})", "Store", path));
  }
}

}  // namespace quarx::core
