#pragma once
// A stream of acquired buffers: the abstract stream the core holds, and its implementation
// over the SDK stream, whose queue it fills with buffers and drains again.

#include <memory>
#include <string>

#include "sdkadaptor/src/buffer.h"
#include "sdkadaptor/src/gen_parameters.h"
#include "sdkadaptor/src/result.h"

class PvStream;

namespace quarx::sdkadaptor {

class InterfaceStream {
 public:
  virtual void AbortQueueBuffers() = 0;
  virtual void Close() = 0;
  virtual unsigned int GetChannel() const = 0;
  // The holder itself: the core takes the node map over and leaves it empty.
  virtual std::unique_ptr<InterfaceGenParameters>& GetParameters() = 0;
  virtual unsigned int GetQueuedBufferCount() const = 0;
  virtual unsigned int GetQueuedBufferMaximum() const = 0;
  virtual bool IsOpen() const = 0;
  // Queues at most the queue's maximum of new buffers of `size` bytes.
  virtual void AllocBuffers(unsigned int size, unsigned int count) = 0;
  // Aborts and drains the queue, freeing its buffers; never throws.
  virtual void ReleaseBuffers() = 0;
  // A new buffer owned by the caller, or null with the failed acquisition's result in
  // `operationResult` (that buffer is queued again). A failed wait throws.
  virtual InterfaceBuffer* RetrieveBuffer(Result& operationResult, unsigned int timeoutMs) = 0;

 protected:
  // Streams are owned through shared pointers made from their concrete class.
  ~InterfaceStream() = default;
};

class Stream : public virtual InterfaceStream {
 public:
  // Takes ownership of the SDK stream; the destructor deletes it without closing it.
  Stream(const std::string& connectionId, PvStream* stream);
  virtual ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  void AbortQueueBuffers() override;
  void Close() override;
  unsigned int GetChannel() const override;
  std::unique_ptr<InterfaceGenParameters>& GetParameters() override;
  unsigned int GetQueuedBufferCount() const override;
  unsigned int GetQueuedBufferMaximum() const override;
  bool IsOpen() const override;
  void AllocBuffers(unsigned int size, unsigned int count) override;
  void ReleaseBuffers() noexcept override;
  InterfaceBuffer* RetrieveBuffer(Result& operationResult, unsigned int timeoutMs) override;

 protected:
  // Declared first so that the node map, which borrows from it, goes before it.
  std::unique_ptr<PvStream> stream_;
  std::string connection_id_;
  std::unique_ptr<InterfaceGenParameters> parameters_;
};

}  // namespace quarx::sdkadaptor
