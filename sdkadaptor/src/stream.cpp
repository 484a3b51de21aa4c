// Streams: the SDK stream's queue filled with buffers, drained, and read one buffer at a time.
#include "sdkadaptor/src/stream.h"

#include <algorithm>

#include "camerasdk/PvBuffer.h"
#include "camerasdk/PvStream.h"
#include "sdkadaptor/src/result_rule.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

constexpr unsigned int kDrainTimeoutMs = 1000;

spdlog::logger& Log() { return *util::Log::GetInstance("").logger_; }

}  // namespace

Stream::Stream(const std::string& connectionId, PvStream* stream)
    : stream_(stream), connection_id_(connectionId), parameters_(new GenParameters(stream_->GetParameters())) {}

Stream::~Stream() = default;

void Stream::AbortQueueBuffers() {
  const PvResult result = stream_->AbortQueuedBuffers();
  ApplyResultRule(result, "AbortQueueBuffers", __FILE__, __LINE__);
}

void Stream::Close() {
  const PvResult result = stream_->Close();
  ApplyResultRule(result, "Close", __FILE__, __LINE__);
}

unsigned int Stream::GetChannel() const { return stream_->GetChannel(); }

std::unique_ptr<InterfaceGenParameters>& Stream::GetParameters() { return parameters_; }

unsigned int Stream::GetQueuedBufferCount() const { return stream_->GetQueuedBufferCount(); }

unsigned int Stream::GetQueuedBufferMaximum() const { return stream_->GetQueuedBufferMaximum(); }

bool Stream::IsOpen() const { return stream_->IsOpen(); }

void Stream::AllocBuffers(unsigned int size, unsigned int count) {
  const unsigned int number = std::min(GetQueuedBufferMaximum(), count);
  Log().debug("<{}> allocate buffer number({})", "AllocBuffers", number);
  for (unsigned int i = 0; i < number; ++i) {
    auto buffer = std::make_unique<PvBuffer>(PvPayloadTypeImage);
    PvResult result = buffer->Alloc(size);
    ApplyResultRule(result, "AllocBuffers", __FILE__, __LINE__);
    result = stream_->QueueBuffer(buffer.get());
    ApplyResultRule(result, "AllocBuffers", __FILE__, __LINE__);
    // The stream's queue holds it now; the drain frees it.
    buffer.release();
  }
}

void Stream::ReleaseBuffers() noexcept {
  try {
    Result::LoggingPvResult(stream_->AbortQueuedBuffers(), "ReleaseBuffers");
    // Every round takes one buffer out or ends, so the drain ends even when retrievals keep
    // failing while buffers stay queued.
    while (stream_->GetQueuedBufferCount() > 0) {
      Log().debug("GetQueuedBufferCount({})", stream_->GetQueuedBufferCount());
      PvBuffer* buffer = nullptr;
      PvResult operationResult;
      const PvResult result = stream_->RetrieveBuffer(&buffer, &operationResult, kDrainTimeoutMs);
      Result::LoggingPvResult(result, "ReleaseBuffers");
      if (result.IsOK() && buffer != nullptr) {
        delete buffer;
        continue;
      }
      // A time-out ends the drain as designed; so does any other failed retrieval, which
      // would otherwise repeat for ever while buffers stay queued.
      break;
    }
  } catch (const std::exception& e) {
    Log().error("<{}> {}", "ReleaseBuffers", e.what());
  }
}

InterfaceBuffer* Stream::RetrieveBuffer(Result& operationResult, unsigned int timeoutMs) {
  PvBuffer* buffer = nullptr;
  PvResult acquisition;
  const PvResult result = stream_->RetrieveBuffer(&buffer, &acquisition, timeoutMs);
  Result::ThrowExceptionWhenError(result, __FILE__, __LINE__);
  operationResult = Result(acquisition);
  if (acquisition.IsOK()) {
    auto* retrieved = new Buffer(buffer, stream_.get());
    Log().debug("<{}> BlockID({})", "RetrieveBuffer", retrieved->GetBlockID());
    return retrieved;
  }
  Log().error("<{}> OperationResult({})({})", "RetrieveBuffer", acquisition.GetCodeString().GetAscii(),
              acquisition.GetDescription().GetAscii());
  if (stream_->QueueBuffer(buffer).IsFailure()) {
    // Nothing else holds it: a buffer that cannot go back is freed rather than lost.
    delete buffer;
  }
  return nullptr;
}

}  // namespace quarx::sdkadaptor
