#pragma once
// A register GenICam node: a block of raw bytes.

#include <cstdint>

#include "camerasdk/PvGenParameter.h"

class PvGenRegister : public PvGenParameter {
 public:
  PvGenRegister(PvGenParameterArray* owner, ArvGcFeatureNode* node);

  // Copies the first `length` bytes of the register (at most its length) into `buffer`.
  PvResult Get(uint8_t* buffer, int64_t length) const;
  // Writes `length` bytes (at most the register's length) from the register's start.
  PvResult Set(const uint8_t* buffer, int64_t length);
  PvResult GetLength(int64_t& length) const;
};
