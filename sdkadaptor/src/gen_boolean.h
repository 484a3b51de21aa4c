#pragma once
// A boolean GenICam node.

#include <string>

#include "sdkadaptor/src/gen_parameter.h"

namespace quarx::sdkadaptor {

class GenBoolean : public GenParameter {
 public:
  explicit GenBoolean(PvGenParameter* parameter);

  // The SDK reads only lower-case words, so "TRUE" and "True" are lowered first.
  void FromString(const std::string& value) override;

  bool GetValue() const;
  void SetValue(bool value);
};

}  // namespace quarx::sdkadaptor
