// Streams over Aravis streams: our own queue book-keeping around Aravis's input and output
// queues, so that aborted buffers come back to the caller and no buffer is lost.
#include "camerasdk/PvStream.h"

#include <arv.h>

#include <algorithm>
#include <vector>

#include "camerasdk/arv_support.h"

using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

namespace {

constexpr guint64 kMicrosecondsPerMillisecond = 1000;

// A stream has no GenICam document of its own in Aravis; its node map is an empty one of ours.
constexpr char kStreamXml[] = R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Stream" VendorName="camerasdk" StandardNameSpace="None"
    SchemaMajorVersion="1" SchemaMinorVersion="0" SchemaSubMinorVersion="1"
    MajorVersion="1" MinorVersion="0" SubMinorVersion="0" ProductGuid="0" VersionGuid="0"
    xmlns="http://www.genicam.org/GenApi/Version_1_0">
  <Category Name="Root" NameSpace="Standard"/>
</RegisterDescription>
)";

// Runs on the receiver thread when it starts; the priority cannot change while it runs.
void OnStreamEvent(void* priority, ArvStreamCallbackType type, ArvBuffer* /*buffer*/) {
  const uint32_t value = *static_cast<const uint32_t*>(priority);
  if (type == ARV_STREAM_CALLBACK_TYPE_INIT && value != 0) {
    // Without the right to real-time scheduling the thread keeps its default priority.
    arv_make_thread_realtime(static_cast<int>(value));
  }
}

const PvResult& NotOpen() {
  static const PvResult result = Failure(PvResult::Code::STATE_ERROR, "Stream is not open");
  return result;
}

}  // namespace

PvStream::PvStream() {
  parameters_genicam_ = arv_gc_new(nullptr, kStreamXml, sizeof(kStreamXml) - 1);
  parameters_.Bind(parameters_genicam_);
}

PvStream::~PvStream() {
  if (stream_ != nullptr) {
    // The last reference stops the receiver and drops Aravis's own buffer references.
    g_object_unref(stream_);
    stream_ = nullptr;
  }
  if (device_ != nullptr) {
    g_object_unref(device_);
    device_ = nullptr;
  }
  std::vector<PvBuffer*> inside(queue_order_.begin(), queue_order_.end());
  inside.insert(inside.end(), aborted_.begin(), aborted_.end());
  queued_.clear();
  queue_order_.clear();
  aborted_.clear();
  for (PvBuffer* buffer : inside) {
    buffer->stream_ = nullptr;
    buffer->queued_ = false;
    delete buffer;
  }
  for (PvBuffer* buffer : handed_out_) {
    buffer->stream_ = nullptr;
  }
  handed_out_.clear();
  parameters_.Unbind();
  g_object_unref(parameters_genicam_);
}

PvResult PvStream::Start(ArvDevice* device, uint32_t channel, uint32_t queueMaximum) {
  GError* error = nullptr;
  ArvStream* stream = arv_device_create_stream(device, &OnStreamEvent, &receiver_priority_, &error);
  if (stream == nullptr) {
    return error == nullptr ? Failure(PvResult::Code::GENERIC_ERROR, "Cannot create the stream")
                            : ResultFromError(error);
  }
  if (error != nullptr) {
    g_error_free(error);
  }
  stream_ = stream;
  device_ = ARV_DEVICE(g_object_ref(device));
  channel_ = channel;
  queue_maximum_ = queueMaximum;
  return PvResult();
}

PvResult PvStream::Close() {
  if (!IsOpen()) {
    return NotOpen();
  }
  // The last reference stops the receiver and drops Aravis's own buffer references; ours
  // come back through RetrieveBuffer as aborted.
  g_object_unref(stream_);
  stream_ = nullptr;
  MoveQueuedToAborted();
  g_object_unref(device_);
  device_ = nullptr;
  return PvResult();
}

PvResult PvStream::QueueBuffer(PvBuffer* buffer) {
  if (buffer == nullptr) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "No buffer to queue");
  }
  if (!IsOpen()) {
    return NotOpen();
  }
  if (buffer->buffer_ == nullptr) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "The buffer holds no memory");
  }
  if (buffer->queued_) {
    return Failure(PvResult::Code::STATE_ERROR, "The buffer is queued already");
  }
  if (buffer->stream_ != nullptr && buffer->stream_ != this) {
    return Failure(PvResult::Code::STATE_ERROR, "The buffer belongs to another stream");
  }
  if (GetQueuedBufferCount() >= queue_maximum_) {
    return Failure(PvResult::Code::STATE_ERROR, "The queue is full (" + std::to_string(queue_maximum_) + " buffers)");
  }
  handed_out_.erase(buffer);
  buffer->stream_ = this;
  buffer->queued_ = true;
  queued_[buffer->buffer_] = buffer;
  queue_order_.push_back(buffer);
  // Aravis takes over one reference; the buffer keeps its own.
  arv_stream_push_buffer(stream_, ARV_BUFFER(g_object_ref(buffer->buffer_)));
  return PvResult();
}

PvResult PvStream::RetrieveBuffer(PvBuffer** buffer, PvResult* operationResult, uint32_t timeoutMs) {
  if (buffer == nullptr) {
    return Failure(PvResult::Code::INVALID_PARAMETER, "No place for the buffer");
  }
  *buffer = nullptr;
  PvBuffer* taken = nullptr;
  if (!aborted_.empty()) {
    taken = aborted_.front();
    aborted_.pop_front();
  } else {
    if (!IsOpen()) {
      return NotOpen();
    }
    if (queued_.empty()) {
      return Failure(PvResult::Code::STATE_ERROR, "No buffer is queued");
    }
    const gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(timeoutMs) * kMicrosecondsPerMillisecond;
    while (taken == nullptr) {
      const gint64 left = std::max<gint64>(deadline - g_get_monotonic_time(), 0);
      ArvBuffer* completed = arv_stream_timeout_pop_buffer(stream_, static_cast<guint64>(left));
      if (completed == nullptr) {
        return Failure(PvResult::Code::TIMEOUT, "No buffer was completed within " + std::to_string(timeoutMs) + " ms");
      }
      const auto it = queued_.find(completed);
      // Stream's reference: the buffer keeps its own. A buffer deleted while queued has no entry.
      g_object_unref(completed);
      if (it == queued_.end()) {
        continue;
      }
      taken = it->second;
      queued_.erase(it);
      queue_order_.erase(std::find(queue_order_.begin(), queue_order_.end(), taken));
      taken->TakeAcquisition();
    }
  }
  taken->queued_ = false;
  handed_out_.insert(taken);
  if (operationResult != nullptr) {
    *operationResult = taken->GetOperationResult();
  }
  *buffer = taken;
  return PvResult();
}

PvResult PvStream::AbortQueuedBuffers() {
  if (!IsOpen()) {
    // Closing aborted whatever was queued; the buffers wait for RetrieveBuffer.
    return PvResult();
  }
  // Aravis drops every buffer of its queues; ours hold their own references and come back
  // through RetrieveBuffer.
  arv_stream_stop_thread(stream_, TRUE);
  MoveQueuedToAborted();
  arv_stream_start_thread(stream_);
  return PvResult();
}

uint32_t PvStream::GetQueuedBufferCount() const { return static_cast<uint32_t>(queued_.size() + aborted_.size()); }

void PvStream::ForgetBuffer(PvBuffer* buffer) {
  for (auto it = queued_.begin(); it != queued_.end(); ++it) {
    if (it->second == buffer) {
      queued_.erase(it);
      break;
    }
  }
  queue_order_.erase(std::remove(queue_order_.begin(), queue_order_.end(), buffer), queue_order_.end());
  aborted_.erase(std::remove(aborted_.begin(), aborted_.end(), buffer), aborted_.end());
  handed_out_.erase(buffer);
  buffer->stream_ = nullptr;
  buffer->queued_ = false;
}

void PvStream::MoveQueuedToAborted() {
  static const PvResult aborted = Failure(PvResult::Code::ABORTED, "The acquisition was aborted");
  for (PvBuffer* buffer : queue_order_) {
    buffer->operation_result_ = aborted;
    if (buffer->image_) {
      buffer->image_->Clear();
    }
    aborted_.push_back(buffer);
  }
  queued_.clear();
  queue_order_.clear();
}
