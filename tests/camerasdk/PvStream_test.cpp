// The stand-in's streams and buffers without a camera: what a closed stream refuses.
#include "camerasdk/PvStream.h"

#include <gtest/gtest.h>

#include "camerasdk/PvBuffer.h"
#include "camerasdk/PvStreamGEV.h"

namespace {

TEST(PvStream, ClosedStreamRefusesQueueOperationsButAbortsQuietly) {
  PvStreamGEV stream;
  EXPECT_EQ(stream.Open(PvString("127.0.0.99")).GetCode(), PvResult::Code::NOT_CONNECTED);
  PvBuffer buffer;
  EXPECT_EQ(buffer.Alloc(0).GetCode(), PvResult::Code::INVALID_PARAMETER);
  ASSERT_TRUE(buffer.Alloc(16).IsOK());
  EXPECT_EQ(stream.QueueBuffer(&buffer).GetCode(), PvResult::Code::STATE_ERROR);
  PvBuffer* retrieved = &buffer;
  PvResult operation;
  EXPECT_EQ(stream.RetrieveBuffer(&retrieved, &operation, 10).GetCode(), PvResult::Code::STATE_ERROR);
  EXPECT_EQ(retrieved, nullptr);
  // Closing aborted the queue already, so that dropping a closed stream logs no error.
  EXPECT_TRUE(stream.AbortQueuedBuffers().IsOK());
  EXPECT_EQ(stream.Close().GetCode(), PvResult::Code::STATE_ERROR);
}

}  // namespace
