// The stand-in's streams and buffers without a camera: what a closed stream refuses, and how
// buffers, images and the chunk-data registry behave on their own.
#include "camerasdk/PvStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "camerasdk/PvBuffer.h"
#include "camerasdk/PvStreamGEV.h"
#include "camerasdk/PvStreamU3V.h"

namespace {

TEST(PvStream, StreamOfNoConnectedDeviceDoesNotOpen) {
  PvStreamGEV gev;
  EXPECT_EQ(gev.Open(PvString("127.0.0.99")).GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_EQ(gev.Open(PvString("127.0.0.99"), 5000).GetCode(), PvResult::Code::NOT_SUPPORTED);
  EXPECT_FALSE(gev.IsOpen());
  PvStreamU3V u3v;
  EXPECT_EQ(u3v.Open(PvString("Vendor-Model-1")).GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_STREQ(u3v.GetDeviceGUID().GetAscii(), "");
}

TEST(PvStream, ClosedStreamRefusesQueueOperationsAndHasANodeMapWithoutFeatures) {
  PvStreamGEV stream;
  PvBuffer buffer;
  ASSERT_TRUE(buffer.Alloc(16).IsOK());
  EXPECT_EQ(stream.QueueBuffer(&buffer).GetCode(), PvResult::Code::STATE_ERROR);
  PvBuffer* retrieved = &buffer;
  PvResult operation;
  EXPECT_EQ(stream.RetrieveBuffer(&retrieved, &operation, 10).GetCode(), PvResult::Code::STATE_ERROR);
  EXPECT_EQ(retrieved, nullptr);
  EXPECT_TRUE(stream.AbortQueuedBuffers().IsOK());  // nothing queued to abort
  EXPECT_EQ(stream.Close().GetCode(), PvResult::Code::STATE_ERROR);
  EXPECT_EQ(stream.GetQueuedBufferCount(), 0u);
  EXPECT_EQ(stream.GetQueuedBufferMaximum(), 0u);
  EXPECT_EQ(stream.GetParameters()->GetCount(), 1u);  // its root category alone
  EXPECT_EQ(buffer.GetStream(), nullptr);
}

TEST(PvBuffer, FreshBufferReadsZeroAndAllocatesOnlyAPositiveSize) {
  PvBuffer buffer;
  EXPECT_EQ(buffer.GetPayloadType(), PvPayloadTypeImage);
  EXPECT_EQ(buffer.GetDataPointer(), nullptr);
  EXPECT_EQ(buffer.GetAcquiredSize(), 0u);
  EXPECT_EQ(buffer.GetBlockID(), 0u);
  EXPECT_EQ(buffer.Alloc(0).GetCode(), PvResult::Code::INVALID_PARAMETER);
  ASSERT_TRUE(buffer.Alloc(100).IsOK());
  EXPECT_EQ(buffer.GetSize(), 100u);
  EXPECT_NE(buffer.GetDataPointer(), nullptr);
}

TEST(PvImage, AllocatedImageLivesInItsBufferAndAttachedOneInTheCallersBytes) {
  PvBuffer buffer;
  PvImage* image = buffer.GetImage();
  ASSERT_NE(image, nullptr);
  ASSERT_TRUE(image->Alloc(10, 4, PvPixelMono8, 2, 0, 16).IsOK());
  EXPECT_EQ(buffer.GetSize(), (10u + 2u) * 4u + 16u);
  EXPECT_EQ(image->GetDataPointer(), buffer.GetDataPointer());
  EXPECT_EQ(image->GetImageSize(), 48u);
  std::vector<uint8_t> bytes(6);
  ASSERT_TRUE(image->Attach(bytes.data(), 1, 2, PvPixelRGB8).IsOK());
  EXPECT_EQ(image->GetDataPointer(), bytes.data());
  EXPECT_EQ(image->GetBitsPerPixel(), 24u);
  image->Detach();
  EXPECT_EQ(image->GetWidth(), 0u);
  EXPECT_EQ(image->Attach(nullptr, 1, 1, PvPixelMono8).GetCode(), PvResult::Code::INVALID_PARAMETER);
  EXPECT_EQ(image->Attach(bytes.data(), 0, 1, PvPixelMono8).GetCode(), PvResult::Code::INVALID_PARAMETER);
  EXPECT_EQ(image->Alloc(1, 1, 0).GetCode(), PvResult::Code::INVALID_PARAMETER);
}

}  // namespace
