#pragma once
// A floating-point GenICam node.

#include <string>
#include <utility>

#include "sdkadaptor/src/gen_parameter.h"

namespace quarx::sdkadaptor {

class GenFloat : public GenParameter {
 public:
  explicit GenFloat(PvGenParameter* parameter);

  // (minimum, maximum)
  std::pair<double, double> GetRange() const;
  double GetValue() const;
  void SetValue(double value);
  quarx::RepresentationTypeEnum GetRepresentationType() const;
  std::string GetUnit() const;
};

}  // namespace quarx::sdkadaptor
