// Command nodes: execute, and poll for completion.
#include "sdkadaptor/src/gen_command.h"

#include <string>

#include "camerasdk/PvGenCommand.h"
#include "sdkadaptor/src/result_rule.h"
#include "sdkadaptor/src/sdk_node_cast.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

PvGenCommand& Sdk(PvGenParameter& node) { return SdkNodeAs<PvGenCommand>(node, "command"); }

}  // namespace

GenCommand::GenCommand(PvGenParameter* parameter) : GenParameter(parameter) {}

std::string GenCommand::ToString() const { return GetName(); }

void GenCommand::Execute() {
  const PvResult result = Sdk(Node()).Execute();
  ApplyResultRule(result, "Execute", __FILE__, __LINE__);
}

bool GenCommand::IsDone() {
  bool done = false;
  const PvResult result = Sdk(Node()).IsDone(done);
  util::Log::GetInstance("").logger_->debug("IsDone({})", done ? "true" : "false");
  ApplyResultRule(result, "IsDone", __FILE__, __LINE__);
  return done;
}

}  // namespace quarx::sdkadaptor
