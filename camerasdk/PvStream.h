#pragma once
// A stream of acquired buffers from a connected camera: buffers are queued into it, filled by
// its receiver thread and retrieved in the order they were completed.

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "camerasdk/PvBuffer.h"
#include "camerasdk/PvGenParameterArray.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/PvString.h"

typedef struct _ArvStream ArvStream;
typedef struct _ArvBuffer ArvBuffer;
typedef struct _ArvGc ArvGc;
typedef struct _ArvDevice ArvDevice;

class PvStream {
 public:
  // Buffers still queued when the stream goes are deleted with it (nobody else can reach
  // them); buffers retrieved and not given back stay valid and belong to their holders.
  virtual ~PvStream();
  PvStream(const PvStream&) = delete;
  PvStream& operator=(const PvStream&) = delete;

  bool IsOpen() const { return stream_ != nullptr; }
  // Stops the receiver; queued buffers stay with the stream until it goes.
  PvResult Close();
  uint32_t GetChannel() const { return channel_; }

  // Takes the buffer into the queue; it must hold memory and not be queued already.
  PvResult QueueBuffer(PvBuffer* buffer);
  // The next completed buffer, waiting at most `timeoutMs`; the call's result says whether a
  // buffer came back, `operationResult` whether its acquisition succeeded.
  PvResult RetrieveBuffer(PvBuffer** buffer, PvResult* operationResult, uint32_t timeoutMs = 0xFFFFFFFF);
  // Every queued buffer comes back from RetrieveBuffer at once, with an aborted result (as
  // they do once the stream is closed).
  PvResult AbortQueuedBuffers();
  uint32_t GetQueuedBufferCount() const;
  uint32_t GetQueuedBufferMaximum() const { return queue_maximum_; }

  // The stream's own node map.
  PvGenParameterArray* GetParameters() { return &parameters_; }

 protected:
  PvStream();

  // Starts receiving from the connected Aravis device; `channel` and `queueMaximum` are
  // kept for the getters.
  PvResult Start(ArvDevice* device, uint32_t channel, uint32_t queueMaximum);
  // The receiver's priority, applied when its thread starts; 0 leaves it as it is.
  void SetReceiverPriority(uint32_t priority) { receiver_priority_ = priority; }
  uint32_t GetReceiverPriority() const { return receiver_priority_; }
  ArvStream* Arv() const { return stream_; }

 private:
  friend class PvBuffer;

  // A buffer being deleted leaves every list of the stream.
  void ForgetBuffer(PvBuffer* buffer);
  // Puts the Aravis buffers back into our hands after Aravis dropped its queues.
  void MoveQueuedToAborted();

  ArvStream* stream_ = nullptr;
  // A reference of our own while open: the receiver needs the device's control channel.
  ArvDevice* device_ = nullptr;
  ArvGc* parameters_genicam_ = nullptr;
  PvGenParameterArray parameters_;
  uint32_t channel_ = 0;
  uint32_t queue_maximum_ = 0;
  uint32_t receiver_priority_ = 0;
  // Queued buffers by their Aravis buffer, in queueing order through `queue_order_`.
  std::unordered_map<ArvBuffer*, PvBuffer*> queued_;
  std::deque<PvBuffer*> queue_order_;
  // Aborted buffers waiting to be retrieved, oldest first.
  std::deque<PvBuffer*> aborted_;
  // Retrieved and not queued again.
  std::unordered_set<PvBuffer*> handed_out_;
};
