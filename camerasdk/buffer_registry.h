#pragma once
// The Aravis buffers behind the stand-in's live buffers, found by their data pointer: chunk
// nodes read from an Aravis buffer, while callers hand over only the bytes. Never included
// outside camerasdk/.

#include <arv.h>

#include <cstdint>

namespace camerasdk_detail {

void RegisterBufferData(const uint8_t* data, ArvBuffer* buffer);
void ForgetBufferData(const uint8_t* data);
// A new reference to the Aravis buffer whose data starts at `data`, or null.
ArvBuffer* FindBufferByData(const uint8_t* data);

}  // namespace camerasdk_detail
