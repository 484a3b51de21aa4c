#pragma once
// A string GenICam node.

#include <cstdint>
#include <string>

#include "sdkadaptor/src/gen_parameter.h"

namespace quarx::sdkadaptor {

class GenString : public GenParameter {
 public:
  explicit GenString(PvGenParameter* parameter);

  int64_t GetMaxLength();
  std::string GetValue();
  void SetValue(const std::string& value);
};

}  // namespace quarx::sdkadaptor
