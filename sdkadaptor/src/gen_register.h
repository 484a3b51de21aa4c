#pragma once
// A register GenICam node: a block of raw bytes.

#include <cstdint>

#include "sdkadaptor/src/gen_parameter.h"

namespace quarx::sdkadaptor {

class GenRegister : public GenParameter {
 public:
  explicit GenRegister(PvGenParameter* parameter);

  // Copies the register's bytes into the caller's buffer of `length` bytes.
  void Get(uint8_t* buffer, int64_t length) const;
  int64_t GetLength() const;
};

}  // namespace quarx::sdkadaptor
