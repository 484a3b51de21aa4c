#pragma once
// An integer GenICam node.

#include <cstdint>
#include <string>
#include <utility>

#include "sdkadaptor/src/gen_parameter.h"

namespace quarx::sdkadaptor {

class GenInteger : public GenParameter {
 public:
  explicit GenInteger(PvGenParameter* parameter);

  int64_t GetIncrement() const;
  // (minimum, maximum)
  std::pair<int64_t, int64_t> GetRange() const;
  int64_t GetValue() const;
  void SetValue(int64_t value);
  quarx::RepresentationTypeEnum GetRepresentationType() const;
  std::string GetUnit() const;
};

}  // namespace quarx::sdkadaptor
