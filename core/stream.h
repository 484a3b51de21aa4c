#pragma once
// One acquisition channel of a connected camera: the stream's node map, its buffer queue, and
// the buffers handed out to callers until they give them back.

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "core/buffer.h"
#include "core/chunk_parser.h"
#include "core/parameters.h"
#include "sdkadaptor/src/buffer.h"
#include "sdkadaptor/src/stream.h"

namespace quarx::core {

class Stream {
 public:
  // Takes the adaptor stream's node map over. A null adaptor stream throws StreamException
  // (detail 6000).
  Stream(std::shared_ptr<sdkadaptor::InterfaceStream> stream, const std::shared_ptr<ChunkParser>& chunkParser);
  // Drains and closes the adaptor stream; buffers still held stay usable and no longer come
  // back here. Never throws.
  virtual ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  // Forwarded to the adaptor stream; its exceptions pass unchanged.
  void Close();
  unsigned int GetChannel() const;
  unsigned int GetQueuedBufferCount() const;
  unsigned int GetQueuedBufferMaximum() const;
  bool IsOpen() const;
  std::shared_ptr<Parameters>& GetParameters() { return parameters_; }

  void AllocBuffers(uint32_t payloadSize, uint32_t bufferCount);
  // The next acquired buffer, owned by the caller. Throws AcqusitionException: detail 1005
  // when none arrives within the time-out, 1000, 1001, 1004, 1006 or 1007 by the SDK's code.
  std::unique_ptr<Buffer> RetrieveBuffer(uint32_t timeoutMs);
  // Gives a buffer back to the queue; one this stream did not hand out is left alone.
  void QueuedBuffer(sdkadaptor::InterfaceBuffer* buffer);
  // Drops every buffer of the queue; throws StreamException (detail 6001).
  void ReleaseBuffer();

 protected:
  sdkadaptor::InterfaceStream& Adaptor() const { return *stream_; }

 private:
  std::shared_ptr<sdkadaptor::InterfaceStream> stream_;
  std::shared_ptr<ChunkParser> chunk_parser_;
  std::shared_ptr<Parameters> parameters_;
  // Buffers handed out and not given back, by the adaptor buffer's identity: block ids
  // repeat, and a repeated key would lose a buffer that then outlives its stream unwarned.
  std::unordered_map<const sdkadaptor::InterfaceBuffer*, Buffer*> buffers_;
};

}  // namespace quarx::core
