#pragma once
// A command feature: execute it, then poll until the camera has finished.

#include <memory>

#include "core/feature.h"
#include "sdkadaptor/src/gen_command.h"

namespace quarx::core {

class FeatureCommand : public Feature {
 public:
  explicit FeatureCommand(const std::shared_ptr<sdkadaptor::GenCommand>& node);

  void Execute();
  // True once the camera has finished the command.
  bool IsDone();

 private:
  std::shared_ptr<sdkadaptor::GenCommand> node_;
};

}  // namespace quarx::core
