// A command feature.
#include "core/feature_command.h"

namespace quarx::core {

FeatureCommand::FeatureCommand(const std::shared_ptr<sdkadaptor::GenCommand>& node) : Feature(node.get()), node_(node) {}

void FeatureCommand::Execute() {
  try {
    node_->Execute();
  } catch (...) {
    RethrowAsFeatureException("Execute", __LINE__);
  }
}

bool FeatureCommand::IsDone() {
  try {
    return node_->IsDone();
  } catch (...) {
    RethrowAsFeatureException("IsDone", __LINE__);
  }
}

}  // namespace quarx::core
