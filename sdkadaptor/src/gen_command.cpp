// Command nodes: execute, and poll for completion.
#include "sdkadaptor/src/gen_command.h"

#include <string>

#include "camerasdk/PvGenCommand.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "sdkadaptor/src/result_rule.h"
#include "util/quarxlog.h"

namespace quarx::sdkadaptor {
namespace {

constexpr CodeEnum kInvalidParameterType = 0x1000003;

// The node map builds every node as the class of its SDK type, so this fails only for a node
// made by hand over a node of another kind.
PvGenCommand& Sdk(PvGenParameter& node) {
  auto* typed = dynamic_cast<PvGenCommand*>(&node);
  if (typed == nullptr) {
    throw ExceptionSdkAdaptor(kInvalidParameterType, std::string(node.GetName().GetAscii()) + " is not command.");
  }
  return *typed;
}

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
