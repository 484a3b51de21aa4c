// Streams: retrieval with its error mapping, and the account of buffers handed out.
#include "core/stream.h"

#include <fmt/format.h>

#include <exception>
#include <utility>

#include "core/exception_acqusition_impl.h"
#include "core/exception_core_impl.h"
#include "core/exception_stream_impl.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result.h"
#include "util/quarxlog.h"

namespace quarx::core {
namespace {

spdlog::logger& Log() { return *util::Log::GetInstance("").logger_; }

// SDK codes of a failed acquisition and of a failed wait, as the adaptor passes them on.
constexpr sdkadaptor::CodeEnum kCodeGeneric = 1;
constexpr sdkadaptor::CodeEnum kCodeTimeout = 30;
constexpr sdkadaptor::CodeEnum kCode39 = 39;
constexpr sdkadaptor::CodeEnum kCode2816 = 2816;
constexpr sdkadaptor::CodeEnum kCode2817 = 2817;
constexpr sdkadaptor::CodeEnum kCode2819 = 2819;

ErrCodeDetail AcquisitionResultDetail(sdkadaptor::CodeEnum code) {
  if (code == kCodeGeneric) {
    return ERR_ACQUSITION_RETRIEVE;
  }
  if (code == kCode2816 || code == kCode2819) {
    return ERR_ACQUSITION_1006;
  }
  return ERR_ACQUSITION_RETRIEVE_OTHER;
}

ErrCodeDetail WaitFailureDetail(sdkadaptor::CodeEnum code) {
  switch (code) {
    case kCodeTimeout:
      return ERR_ACQUSITION_1005;
    case kCode2817:
      return ERR_ACQUSITION_1004;
    case kCode39:
      return ERR_ACQUSITION_1007;
    case kCode2816:
    case kCode2819:
      return ERR_ACQUSITION_1006;
    default:
      return ERR_ACQUSITION_RETRIEVE_OTHER;
  }
}

std::shared_ptr<sdkadaptor::InterfaceStream> Checked(std::shared_ptr<sdkadaptor::InterfaceStream> stream) {
  if (!stream) {
    throw StreamExceptionImpl("Stream", __LINE__, ERR_STREAM_CREATE, "No adaptor stream to wrap");
  }
  return stream;
}

}  // namespace

Stream::Stream(std::shared_ptr<sdkadaptor::InterfaceStream> stream, const std::shared_ptr<ChunkParser>& chunkParser)
    : stream_(Checked(std::move(stream))),
      chunk_parser_(chunkParser),
      parameters_(std::make_shared<Parameters>(std::move(stream_->GetParameters()))) {}

Stream::~Stream() {
  try {
    stream_->ReleaseBuffers();
  } catch (const std::exception& e) {
    Log().warn("<{}> Failed to release the buffers ({})", "~Stream", e.what());
  } catch (...) {
    Log().warn("<{}> Failed to release the buffers", "~Stream");
  }
  try {
    if (stream_->IsOpen()) {
      stream_->Close();
    }
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    Log().warn("<{}> Failed to close ({})", "~Stream", SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    Log().warn("<{}> Failed to close ({})", "~Stream", e.what());
  } catch (...) {
    Log().warn("<{}> Failed to close", "~Stream");
  }
  stream_.reset();
  for (auto& handedOut : buffers_) {
    handedOut.second->SetStreamIsInvalid();
  }
  buffers_.clear();
}

void Stream::Close() { stream_->Close(); }

unsigned int Stream::GetChannel() const { return stream_->GetChannel(); }

unsigned int Stream::GetQueuedBufferCount() const { return stream_->GetQueuedBufferCount(); }

unsigned int Stream::GetQueuedBufferMaximum() const { return stream_->GetQueuedBufferMaximum(); }

bool Stream::IsOpen() const { return stream_->IsOpen(); }

void Stream::AllocBuffers(uint32_t payloadSize, uint32_t bufferCount) {
  Log().info("In<{}> payload_size({}) buffer_counts({})", "AllocBuffers", payloadSize, bufferCount);
  stream_->AllocBuffers(payloadSize, bufferCount);
}

std::unique_ptr<Buffer> Stream::RetrieveBuffer(uint32_t timeoutMs) {
  try {
    sdkadaptor::Result result;
    std::unique_ptr<sdkadaptor::InterfaceBuffer> retrieved(stream_->RetrieveBuffer(result, timeoutMs));
    if (result.GetCode() != 0) {
      throw AcqusitionExceptionImpl("RetrieveBuffer", __LINE__, AcquisitionResultDetail(result.GetCode()),
                                    fmt::format("{} : {}", result.GetCodeString(), result.GetDescription()));
    }
    if (!retrieved) {
      throw AcqusitionExceptionImpl("RetrieveBuffer", __LINE__, ERR_ACQUSITION_RETRIEVE_OTHER,
                                    "The stream returned no buffer");
    }
    auto buffer = std::make_unique<Buffer>(retrieved.get(), this, chunk_parser_);
    const sdkadaptor::InterfaceBuffer* key = retrieved.release();
    buffers_.emplace(key, buffer.get());
    return buffer;
  } catch (const AcqusitionException&) {
    throw;
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw AcqusitionExceptionImpl("RetrieveBuffer", __LINE__, WaitFailureDetail(e.GetCode()),
                                  fmt::format("{} : {}", e.GetCodeString(), e.GetDescription()));
  } catch (const std::exception& e) {
    throw AcqusitionExceptionImpl("RetrieveBuffer", __LINE__, ERR_ACQUSITION_RETRIEVE_OTHER, e.what());
  }
}

void Stream::QueuedBuffer(sdkadaptor::InterfaceBuffer* buffer) {
  const auto it = buffers_.find(buffer);
  if (it == buffers_.end()) {
    return;
  }
  buffers_.erase(it);
  buffer->Release();
}

void Stream::ReleaseBuffer() {
  try {
    stream_->ReleaseBuffers();
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    throw StreamExceptionImpl("ReleaseBuffer", __LINE__, ERR_STREAM_RELEASE_BUFFERS, SdkAdaptorMessage(e));
  } catch (const std::exception& e) {
    throw StreamExceptionImpl("ReleaseBuffer", __LINE__, ERR_STREAM_RELEASE_BUFFERS, e.what());
  }
}

}  // namespace quarx::core
