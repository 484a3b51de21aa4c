#pragma once
// A command GenICam node: execute it, then poll until the camera has finished.

#include <string>

#include "sdkadaptor/src/gen_parameter.h"

namespace quarx::sdkadaptor {

class GenCommand : public GenParameter {
 public:
  explicit GenCommand(PvGenParameter* parameter);

  // A command has no value to show; its text is its name.
  std::string ToString() const override;

  void Execute();
  bool IsDone();
};

}  // namespace quarx::sdkadaptor
